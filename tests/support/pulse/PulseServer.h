// A private PulseAudio server for one test program: own runtime folder and socket, a null sink
// "speakers" whose monitor is the default capture source, no autospawn. Stopped at the end, and
// by the kernel if the test process dies.
#pragma once

#include <string>
#include <sys/types.h>

namespace quortest {

class PulseServer {
public:
    // Starts the server and points this process's clients at it (PULSE_SERVER, client config).
    PulseServer();
    ~PulseServer();
    PulseServer(const PulseServer&) = delete;
    PulseServer& operator=(const PulseServer&) = delete;

    bool Running() const { return m_Pid > 0; }
    const std::string& Folder() const { return m_Dir; }
    // Runs pactl against this server; returns its standard output, or nullopt-like empty with
    // ok=false on a non-zero exit.
    std::string Pactl(const std::string& args, bool* ok = nullptr) const;
    // Suspends and resumes the sink so the next capture starts at once (an idle null sink
    // renders in 2 s blocks).
    void WakeSink() const;
    // The server's log, for failure messages.
    std::string Log() const;

    // Kills the server at once (as a crash or a user's restart would), then starts a fresh one
    // on the same socket, with the same "speakers" output.
    void Kill();
    void Restart();

private:
    void Launch();

    std::string m_Dir;
    pid_t m_Pid = -1;
};

// The one server of the running test program (started by the audio test main).
PulseServer& SharedPulseServer();

} // namespace quortest
