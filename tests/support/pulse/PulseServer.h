// A private sound server for one test program: own runtime folder and socket, an output
// "speakers" (description "Speakers") that is the default, no autospawn. Either PulseAudio, or
// PipeWire with WirePlumber and its PulseAudio service on a private D-Bus session bus; the
// environment variable QUOR_SOUND_SERVER=pipewire picks PipeWire. Clients talk to both the same
// way. Stopped at the end, and by the kernel if the test process dies.
#pragma once

#include "tests/support/pulse/ChildProcess.h"

#include <string>
#include <sys/types.h>
#include <vector>

namespace quortest {

enum class SoundServerKind { PulseAudio, PipeWire };

// PipeWire when QUOR_SOUND_SERVER is "pipewire", else PulseAudio.
SoundServerKind SoundServerKindFromEnvironment();

class PulseServer {
public:
    // Starts the server and points this process's clients at it (PULSE_SERVER, client config).
    explicit PulseServer(SoundServerKind kind = SoundServerKindFromEnvironment());
    ~PulseServer();
    PulseServer(const PulseServer&) = delete;
    PulseServer& operator=(const PulseServer&) = delete;

    SoundServerKind Kind() const { return m_Kind; }
    bool IsPipeWire() const { return m_Kind == SoundServerKind::PipeWire; }
    bool Running() const { return !m_Processes.empty(); }
    const std::string& Folder() const { return m_Dir; }
    // Runs pactl against this server; returns its output (standard error included), ok=false on
    // a non-zero exit.
    std::string Pactl(const std::string& args, bool* ok = nullptr) const;
    // Adds an output as a sound card's would be (on PipeWire one that outlives its creator and a
    // restart of the PulseAudio service); returns once the server lists it.
    bool AddOutput(const std::string& name, const std::string& description) const;
    // Makes `name` the default output; returns once the server reports it as the default (on
    // PipeWire WirePlumber applies the choice a moment after pactl returns), also to this
    // process's own connection where one is open.
    bool SetDefaultOutput(const std::string& name) const;
    // Set a source's volume (raw, 65536 = 100 %) or mute; each returns once the server reads the
    // new value back (on PipeWire another client may see the old one a moment after pactl returns).
    bool SetSourceVolume(const std::string& source, unsigned volume) const;
    bool SetSourceMute(const std::string& source, bool mute) const;
    // Removes every output (on PipeWire WirePlumber then puts its "Dummy Output" in their place).
    void RemoveOutputs() const;
    // Adds a silent microphone (a source that is no output's monitor); returns once listed. It
    // outlives a restart, muted or not as it was (the device-restore of a desktop does the same).
    bool AddMicrophone(const std::string& name, const std::string& description = "Microphone");
    // Removes it; returns once it is no longer listed.
    bool RemoveMicrophone(const std::string& name);
    // Waits until `pactl list short <what>` does (or, with present=false, does not) show a line
    // holding `name`; false after ten seconds.
    bool WaitListed(const std::string& what, const std::string& name, bool present = true) const;
    // Suspends and resumes the sink so the next capture starts at once (an idle null sink
    // renders in 2 s blocks).
    void WakeSink(const std::string& sink = "speakers") const;
    // The servers' logs, for failure messages.
    std::string Log() const;

    // The process that speaks to clients (pulseaudio, or PipeWire's pipewire-pulse) killed at
    // once, as a crash or a user's restart would; Restart kills it when running and starts it
    // again on the same socket (PipeWire's lingering output survives, and the microphones).
    void Kill();
    void Restart();
    bool ServiceRunning() const;

private:
    struct Process {
        std::string name;
        pid_t pid;
    };
    struct Microphone {
        std::string name, description;
        bool muted;
    };
    void StartPulseAudio();
    void StartPipeWire();
    void LaunchService();
    void Launch(const std::string& name, const std::vector<std::string>& args);
    void WaitForSocket(const std::string& socket, const std::string& what);
    std::string Run(const std::string& command, bool* ok) const;
    std::string PwCli(const std::string& args, bool* ok) const; // with the daemons' environment
    // Repeats the pactl `query` until its answer holds `expected`; false after ten seconds.
    bool WaitReadsBack(const std::string& query, const std::string& expected) const;
    bool CreateNode(const std::string& name, const std::string& description,
                    const std::string& mediaClass) const;

    SoundServerKind m_Kind;
    std::string m_Dir;
    Environment m_Environment;             // what the daemons and their tools get
    std::vector<Process> m_Processes;      // in start order
    std::vector<Microphone> m_Microphones; // PulseAudio's, for a restart
};

// The one server of the running test program (started by the audio test main).
PulseServer& SharedPulseServer();

} // namespace quortest
