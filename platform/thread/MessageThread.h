// A worker thread with its own message queue, addressed by a 32-bit thread id, as the wave
// input's thread notifications expect.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <thread>

namespace platform {

struct ThreadMessage {
    uint32_t message;
    uintptr_t wParam;
    intptr_t lParam;
};

constexpr uint32_t WM_QUIT = 0x0012;

class MessageThread {
public:
    MessageThread() = default;
    virtual ~MessageThread();
    MessageThread(const MessageThread&) = delete;
    MessageThread& operator=(const MessageThread&) = delete;

    // Starts the thread and returns once InitInstance has run on it.
    bool CreateThread();
    // Asks the loop to end after the messages already queued, and joins it. Derived classes call
    // this in their destructor, before their own members go away. Must not run on the thread itself.
    void QuitAndJoin();

    uint32_t GetThreadId() const { return m_ThreadIdForPosting; }
    bool PostThreadMessage(uint32_t message, uintptr_t wParam, intptr_t lParam);

protected:
    // Runs on the new thread before the first message; false ends the thread at once.
    virtual bool InitInstance() { return true; }
    // Called on the thread for every message but WM_QUIT.
    virtual void OnThreadMessage(const ThreadMessage& msg) = 0;

private:
    void Run();

    std::thread m_Thread;
    std::mutex m_Lock;
    std::condition_variable m_Wake;
    std::deque<ThreadMessage> m_Queue;
    uint32_t m_ThreadIdForPosting = 0;
};

// Posts to the message queue of the thread with the given id; false when no such thread runs.
bool PostThreadMessage(uint32_t threadId, uint32_t message, uintptr_t wParam, intptr_t lParam);

} // namespace platform
