// Message-queue threads and the process-wide table that maps thread ids to them.
#include "platform/thread/MessageThread.h"

#include <future>
#include <unordered_map>

namespace platform {
namespace {

std::mutex g_tableLock;
std::unordered_map<uint32_t, MessageThread*> g_threads;
uint32_t g_nextId = 1000;

uint32_t Register(MessageThread* thread) {
    std::lock_guard<std::mutex> guard(g_tableLock);
    uint32_t id = g_nextId++;
    g_threads[id] = thread;
    return id;
}

void Unregister(uint32_t id) {
    std::lock_guard<std::mutex> guard(g_tableLock);
    g_threads.erase(id);
}

} // namespace

MessageThread::~MessageThread() {
    QuitAndJoin();
}

bool MessageThread::CreateThread() {
    if (m_Thread.joinable())
        return false;
    m_ThreadIdForPosting = Register(this);
    std::promise<bool> started;
    auto startedFuture = started.get_future();
    m_Thread = std::thread([this, &started] {
        bool ok = InitInstance();
        started.set_value(ok);
        if (ok)
            Run();
    });
    if (!startedFuture.get()) {
        m_Thread.join();
        Unregister(m_ThreadIdForPosting);
        m_ThreadIdForPosting = 0;
        return false;
    }
    return true;
}

void MessageThread::QuitAndJoin() {
    if (!m_Thread.joinable())
        return;
    PostThreadMessage(WM_QUIT, 0, 0);
    m_Thread.join();
    Unregister(m_ThreadIdForPosting);
    m_ThreadIdForPosting = 0;
}

bool MessageThread::PostThreadMessage(uint32_t message, uintptr_t wParam, intptr_t lParam) {
    {
        std::lock_guard<std::mutex> guard(m_Lock);
        m_Queue.push_back({message, wParam, lParam});
    }
    m_Wake.notify_one();
    return true;
}

void MessageThread::Run() {
    for (;;) {
        ThreadMessage msg;
        {
            std::unique_lock<std::mutex> guard(m_Lock);
            m_Wake.wait(guard, [this] { return !m_Queue.empty(); });
            msg = m_Queue.front();
            m_Queue.pop_front();
        }
        if (msg.message == WM_QUIT)
            return;
        OnThreadMessage(msg);
    }
}

bool PostThreadMessage(uint32_t threadId, uint32_t message, uintptr_t wParam, intptr_t lParam) {
    std::lock_guard<std::mutex> guard(g_tableLock);
    auto it = g_threads.find(threadId);
    if (it == g_threads.end())
        return false;
    return it->second->PostThreadMessage(message, wParam, lParam);
}

} // namespace platform
