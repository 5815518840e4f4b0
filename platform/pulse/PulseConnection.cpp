// Connection set-up with a bounded wait; a lost server is reconnected on the next use.
#include "PulseConnection.h"

#include <sys/resource.h>

#include <utility>

namespace platform {

PulseConnection& PulseConnection::Instance() {
    // Never destroyed: captures and players may still run while static objects are torn down.
    static PulseConnection* instance = new PulseConnection();
    return *instance;
}

void PulseConnection::SetClientIdentity(ClientIdentity identity) {
    SetSoundClientIdentity(std::move(identity));
}

PulseConnection::PulseConnection() {
    m_Loop = pa_threaded_mainloop_new();
    pa_threaded_mainloop_set_name(m_Loop, "quor-pulse");
    pa_threaded_mainloop_start(m_Loop);
}

bool PulseConnection::IsReadyLocked() const {
    return m_Context && pa_context_get_state(m_Context) == PA_CONTEXT_READY;
}

void PulseConnection::OnContextState(pa_context*, void* self) {
    static_cast<PulseConnection*>(self)->SignalLocked();
}

void PulseConnection::DropContextLocked() {
    if (!m_Context)
        return;
    pa_context_set_state_callback(m_Context, nullptr, nullptr);
    pa_context_disconnect(m_Context);
    pa_context_unref(m_Context);
    m_Context = nullptr;
}

bool PulseConnection::EnsureConnected(std::chrono::milliseconds timeout) {
    Lock lock(*this);
    if (IsReadyLocked())
        return true;
    DropContextLocked();

    // The server takes application.name from the name argument, whatever the proplist says.
    const ClientIdentity identity = CurrentSoundClientIdentity();
    pa_proplist* props = pa_proplist_new();
    if (!identity.id.empty())
        pa_proplist_sets(props, PA_PROP_APPLICATION_ID, identity.id.c_str());
    if (!identity.icon.empty())
        pa_proplist_sets(props, PA_PROP_APPLICATION_ICON_NAME, identity.icon.c_str());
    // Under a file-size limit (ulimit -f) the library cannot size its shared-memory pool: it would
    // print "ftruncate() failed" and fall back to a private pool. Ask for the private one outright.
    if (rlimit limit{}; getrlimit(RLIMIT_FSIZE, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY)
        pa_proplist_sets(props, PA_PROP_CONTEXT_FORCE_DISABLE_SHM, "1");
    m_Context =
        pa_context_new_with_proplist(pa_threaded_mainloop_get_api(m_Loop), identity.name.c_str(), props);
    pa_proplist_free(props);
    if (!m_Context)
        return false;
    ++m_Generation;
    pa_context_set_state_callback(m_Context, &OnContextState, this);
    if (pa_context_connect(m_Context, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0) {
        DropContextLocked();
        return false;
    }
    auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        pa_context_state_t state = pa_context_get_state(m_Context);
        if (state == PA_CONTEXT_READY)
            return true;
        if (!PA_CONTEXT_IS_GOOD(state))
            break;
        auto left = deadline - std::chrono::steady_clock::now();
        if (left <= std::chrono::milliseconds(0))
            break;
        WaitLocked(std::chrono::duration_cast<std::chrono::milliseconds>(left));
    }
    DropContextLocked();
    return false;
}

namespace {
struct TimerState {
    pa_threaded_mainloop* loop;
};
void OnTimer(pa_mainloop_api*, pa_time_event*, const struct timeval*, void* data) {
    pa_threaded_mainloop_signal(static_cast<TimerState*>(data)->loop, 0);
}
} // namespace

void PulseConnection::WaitLocked(std::chrono::milliseconds timeout) {
    // A timer event on the loop itself bounds the wait: pa_threaded_mainloop_wait has none.
    pa_mainloop_api* api = pa_threaded_mainloop_get_api(m_Loop);
    TimerState state{m_Loop};
    struct timeval when;
    pa_gettimeofday(&when);
    pa_timeval_add(&when, static_cast<pa_usec_t>(timeout.count()) * PA_USEC_PER_MSEC);
    pa_time_event* timer = api->time_new(api, &when, &OnTimer, &state);
    pa_threaded_mainloop_wait(m_Loop);
    api->time_free(timer);
}

bool PulseConnection::WaitOperationLocked(pa_operation* op, std::chrono::milliseconds timeout) {
    if (!op)
        return false;
    pa_operation_set_state_callback(
        op, [](pa_operation*, void* self) { static_cast<PulseConnection*>(self)->SignalLocked(); }, this);
    auto deadline = std::chrono::steady_clock::now() + timeout;
    bool done = false;
    for (;;) {
        pa_operation_state_t state = pa_operation_get_state(op);
        if (state == PA_OPERATION_DONE) {
            done = true;
            break;
        }
        if (state == PA_OPERATION_CANCELLED || !IsReadyLocked())
            break;
        auto left = deadline - std::chrono::steady_clock::now();
        if (left <= std::chrono::milliseconds(0)) {
            pa_operation_cancel(op);
            break;
        }
        WaitLocked(std::chrono::duration_cast<std::chrono::milliseconds>(left));
    }
    pa_operation_set_state_callback(op, nullptr, nullptr);
    pa_operation_unref(op);
    return done;
}

} // namespace platform
