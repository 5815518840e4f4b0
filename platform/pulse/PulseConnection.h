// The process's one connection to the sound server (PulseAudio, or PipeWire's PulseAudio
// service), on a threaded main loop that the capture, mixer and player layers share.
#pragma once

#include "platform/pulse/SoundClientIdentity.h"

#include <pulse/pulseaudio.h>

#include <chrono>
#include <cstdint>
#include <string>

namespace platform {

class PulseConnection {
public:
    // The shared connection; created on first use and kept for the life of the process.
    static PulseConnection& Instance();

    // How this program appears in the desktop's volume control (SetSoundClientIdentity).
    using ClientIdentity = SoundClientIdentity;
    static void SetClientIdentity(ClientIdentity identity);

    // Connects when there is no live connection. Call without holding the lock. False when no
    // server answers within the time-out (never waits longer, never spawns a server).
    bool EnsureConnected(std::chrono::milliseconds timeout = std::chrono::milliseconds(3000));

    // The main loop lock; every pa_* call on the context or its streams is made under it.
    class Lock {
    public:
        explicit Lock(PulseConnection& c) : m_Loop(c.m_Loop) { pa_threaded_mainloop_lock(m_Loop); }
        ~Lock() { pa_threaded_mainloop_unlock(m_Loop); }
        Lock(const Lock&) = delete;
        Lock& operator=(const Lock&) = delete;

    private:
        pa_threaded_mainloop* m_Loop;
    };

    pa_threaded_mainloop* Mainloop() const { return m_Loop; }
    // Valid while connected; only with the lock held.
    pa_context* Context() const { return m_Context; }
    bool IsReadyLocked() const;
    // With the lock held: counts the contexts made so far. A new context may reuse a dropped
    // one's address, so per-context set-up (the change subscription) keys on this instead.
    uint64_t GenerationLocked() const { return m_Generation; }

    // With the lock held: waits until the operation is done (its callbacks ran), or the context
    // fails, or the time-out passes. Releases the operation. False unless it completed.
    bool WaitOperationLocked(pa_operation* op,
                             std::chrono::milliseconds timeout = std::chrono::milliseconds(3000));
    // With the lock held: sleeps until a callback signals the main loop or the time-out passes.
    void WaitLocked(std::chrono::milliseconds timeout);
    void SignalLocked() { pa_threaded_mainloop_signal(m_Loop, 0); }

private:
    PulseConnection();
    void DropContextLocked();
    static void OnContextState(pa_context* c, void* self);

    pa_threaded_mainloop* m_Loop = nullptr;
    pa_context* m_Context = nullptr;
    uint64_t m_Generation = 0;
};

} // namespace platform
