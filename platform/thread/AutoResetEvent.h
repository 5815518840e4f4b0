// An auto-reset event: Set wakes one waiter, or the next one to wait; the signal then clears.
#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>

namespace platform {

class AutoResetEvent {
public:
    void Set() {
        {
            std::lock_guard<std::mutex> guard(m_Lock);
            m_Signalled = true;
        }
        m_Wake.notify_one();
    }
    void Wait() {
        std::unique_lock<std::mutex> guard(m_Lock);
        m_Wake.wait(guard, [this] { return m_Signalled; });
        m_Signalled = false;
    }
    // False on time-out.
    bool WaitUntil(std::chrono::steady_clock::time_point deadline) {
        std::unique_lock<std::mutex> guard(m_Lock);
        if (!m_Wake.wait_until(guard, deadline, [this] { return m_Signalled; }))
            return false;
        m_Signalled = false;
        return true;
    }

private:
    std::mutex m_Lock;
    std::condition_variable m_Wake;
    bool m_Signalled = false;
};

} // namespace platform
