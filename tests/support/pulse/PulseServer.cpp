// Starting and stopping the private test server, PulseAudio or PipeWire.
#include "tests/support/pulse/PulseServer.h"

#include "platform/pulse/PulseConnection.h"
#include "platform/wavein/OutputFollower.h"
#include "tests/support/Eventually.h"

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <stdexcept>
#include <sys/wait.h>

namespace quortest {
namespace {

std::string ReadFile(const std::string& path) {
    std::ifstream in(path);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

} // namespace

SoundServerKind SoundServerKindFromEnvironment() {
    const char* kind = std::getenv("QUOR_SOUND_SERVER");
    return kind && std::string(kind) == "pipewire" ? SoundServerKind::PipeWire : SoundServerKind::PulseAudio;
}

PulseServer::PulseServer(SoundServerKind kind) : m_Kind(kind) {
    char pattern[] = "/tmp/paXXXXXX"; // short: socket paths over 107 bytes are cut silently
    if (!mkdtemp(pattern))
        throw std::runtime_error("mkdtemp failed");
    m_Dir = pattern;
    for (const char* sub : {"/runtime", "/state", "/home", "/config", "/data"})
        std::filesystem::create_directory(m_Dir + sub);
    std::filesystem::permissions(m_Dir + "/runtime", std::filesystem::perms::owner_all);
    std::ofstream(m_Dir + "/client.conf") << "autospawn = no\n";
    m_Environment = {{"XDG_RUNTIME_DIR", m_Dir + "/runtime"}, {"HOME", m_Dir + "/home"}};
    try {
        if (kind == SoundServerKind::PipeWire)
            StartPipeWire();
        else
            StartPulseAudio();
    } catch (...) {
        for (auto it = m_Processes.rbegin(); it != m_Processes.rend(); ++it)
            StopDaemon(it->pid);
        std::error_code ec;
        std::filesystem::remove_all(m_Dir, ec);
        throw;
    }
    setenv("PULSE_CLIENTCONFIG", (m_Dir + "/client.conf").c_str(), 1);
}

PulseServer::~PulseServer() {
    for (auto it = m_Processes.rbegin(); it != m_Processes.rend(); ++it)
        StopDaemon(it->pid);
    std::error_code ec;
    std::filesystem::remove_all(m_Dir, ec);
}

void PulseServer::Launch(const std::string& name, const std::vector<std::string>& args) {
    m_Processes.push_back(
        {name, SpawnDaemon(args, m_Environment, {"PULSE_SERVER", "DBUS_SESSION_BUS_ADDRESS"},
                           m_Dir + "/" + name + ".log")});
}

void PulseServer::WaitForSocket(const std::string& socket, const std::string& what) {
    const bool connected = Eventually([&] {
        for (const Process& process : m_Processes)
            if (!DaemonAlive(process.pid))
                throw std::runtime_error(process.name + " exited: " + Log());
        return CanConnect(socket);
    });
    if (!connected)
        throw std::runtime_error(what + " did not start: " + Log());
}

void PulseServer::StartPulseAudio() {
    m_Environment.push_back({"PULSE_RUNTIME_PATH", m_Dir + "/runtime"});
    m_Environment.push_back({"PULSE_STATE_PATH", m_Dir + "/state"});
    LaunchService();
}

void PulseServer::LaunchService() {
    if (IsPipeWire()) {
        Launch("pipewire-pulse", {"pipewire-pulse"});
        const std::string socket = m_Dir + "/runtime/pulse/native";
        WaitForSocket(socket, "pipewire-pulse");
        setenv("PULSE_SERVER", ("unix:" + socket).c_str(), 1);
        return;
    }
    // The microphones come back muted as they were, as a desktop's device-restore brings them back,
    // before the socket opens: no client sees them otherwise.
    const std::string socket = m_Dir + "/native";
    std::ofstream script(m_Dir + "/start.pa");
    script << "load-module module-null-sink sink_name=speakers sink_properties=device.description=Speakers\n";
    for (const Microphone& microphone : m_Microphones) {
        script << "load-module module-null-source source_name=" << microphone.name << " description=\""
               << microphone.description << "\"\n";
        if (microphone.muted)
            script << "set-source-mute " << microphone.name << " 1\n";
    }
    script << "load-module module-native-protocol-unix socket=" << socket << " auth-anonymous=1\n";
    script.close();
    Launch("pulseaudio",
           {"pulseaudio", "-n", "-F", m_Dir + "/start.pa", "--daemonize=no", "--use-pid-file=no",
            "--exit-idle-time=-1", "--disallow-exit", "--log-target=stderr"});
    WaitForSocket(socket, "pulseaudio");
    setenv("PULSE_SERVER", ("unix:" + socket).c_str(), 1);
}

bool PulseServer::ServiceRunning() const {
    const std::string service = IsPipeWire() ? "pipewire-pulse" : "pulseaudio";
    return std::any_of(m_Processes.begin(), m_Processes.end(),
                       [&](const Process& process) { return process.name == service; });
}

void PulseServer::Kill() {
    const std::string service = IsPipeWire() ? "pipewire-pulse" : "pulseaudio";
    auto it = std::find_if(m_Processes.begin(), m_Processes.end(),
                           [&](const Process& process) { return process.name == service; });
    if (it == m_Processes.end())
        return;
    if (!IsPipeWire()) {
        // What a restart brings back (on PipeWire the lingering nodes themselves stay).
        const std::string sources = Pactl("list short sources");
        std::erase_if(m_Microphones, [&](const Microphone& microphone) {
            return sources.find("\t" + microphone.name + "\t") == std::string::npos;
        });
        for (Microphone& microphone : m_Microphones)
            microphone.muted = Pactl("get-source-mute " + microphone.name).find("yes") != std::string::npos;
    }
    ::kill(it->pid, SIGKILL);
    ::waitpid(it->pid, nullptr, 0);
    m_Processes.erase(it);
}

void PulseServer::Restart() {
    Kill();
    LaunchService();
}

void PulseServer::StartPipeWire() {
    // WirePlumber keeps its choices under the state folder and wants a session bus: both private.
    m_Environment.push_back({"XDG_CONFIG_HOME", m_Dir + "/config"});
    m_Environment.push_back({"XDG_STATE_HOME", m_Dir + "/state"});
    m_Environment.push_back({"XDG_DATA_HOME", m_Dir + "/data"});
    // The tests play and record 44.1 kHz: run the graph at that rate, so nothing is resampled.
    std::filesystem::create_directories(m_Dir + "/config/pipewire/pipewire.conf.d");
    std::ofstream(m_Dir + "/config/pipewire/pipewire.conf.d/rate.conf")
        << "context.properties = { default.clock.rate = 44100 default.clock.allowed-rates = [ 44100 ] }\n";
    const std::string bus = m_Dir + "/bus";
    Launch("dbus-daemon",
           {"dbus-daemon", "--session", "--nofork", "--nopidfile", "--address=unix:path=" + bus});
    WaitForSocket(bus, "dbus-daemon");
    m_Environment.push_back({"DBUS_SESSION_BUS_ADDRESS", "unix:path=" + bus});
    Launch("pipewire", {"pipewire"});
    WaitForSocket(m_Dir + "/runtime/pipewire-0", "pipewire");
    Launch("wireplumber", {"wireplumber"});
    LaunchService();
    if (!AddOutput("speakers", "Speakers"))
        throw std::runtime_error("no speakers output: " + Log());
    Pactl("set-default-sink speakers");
    // WirePlumber's fallback "Dummy Output" goes once a real output exists.
    WaitListed("sinks", "auto_null", false);
}

std::string PulseServer::Run(const std::string& command, bool* ok) const {
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen((command + " 2>&1").c_str(), "r"), pclose);
    std::string out;
    if (!pipe) {
        if (ok)
            *ok = false;
        return out;
    }
    char buf[4096];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, pipe.get())) > 0)
        out.append(buf, n);
    const int status = pclose(pipe.release());
    if (ok)
        *ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    return out;
}

std::string PulseServer::Pactl(const std::string& args, bool* ok) const {
    return Run("pactl " + args, ok);
}

std::string PulseServer::PwCli(const std::string& args, bool* ok) const {
    std::string command = "env";
    for (const auto& [variable, value] : m_Environment)
        command += " " + variable + "='" + value + "'";
    return Run(command + " pw-cli " + args, ok);
}

bool PulseServer::CreateNode(const std::string& name, const std::string& description,
                             const std::string& mediaClass) const {
    // A node that lingers after pw-cli exits, as a card's device would stay.
    bool ok = false;
    PwCli("create-node adapter '{ factory.name=support.null-audio-sink node.name=" + name +
              " node.description=\"" + description + "\" media.class=" + mediaClass +
              " object.linger=true audio.position=[FL FR] }'",
          &ok);
    return ok;
}

bool PulseServer::AddOutput(const std::string& name, const std::string& description) const {
    bool ok = false;
    if (IsPipeWire())
        ok = CreateNode(name, description, "Audio/Sink");
    else
        Pactl("load-module module-null-sink sink_name=" + name +
                  " \"sink_properties=\\\"device.description='" + description + "'\\\"\"",
              &ok);
    return ok && WaitListed("sinks", name);
}

void PulseServer::RemoveOutputs() const {
    if (!IsPipeWire()) {
        Pactl("unload-module module-null-sink");
        return;
    }
    const std::string list = Pactl("list short sinks");
    size_t at = 0;
    while ((at = list.find('\t', at)) != std::string::npos) {
        const size_t end = list.find('\t', at + 1);
        const std::string name = list.substr(at + 1, end - at - 1);
        if (name != "auto_null")
            PwCli("destroy " + name, nullptr);
        at = list.find('\n', at);
        if (at == std::string::npos)
            break;
    }
    for (const char* gone : {"speakers"})
        WaitListed("sinks", gone, false);
}

bool PulseServer::AddMicrophone(const std::string& name, const std::string& description) {
    bool ok = false;
    if (IsPipeWire())
        ok = CreateNode(name, description, "Audio/Source/Virtual");
    else
        Pactl("load-module module-null-source source_name=" + name + " \"description=\\\"" + description +
                  "\\\"\"",
              &ok);
    if (ok && !IsPipeWire())
        m_Microphones.push_back({name, description, false});
    return ok && WaitListed("sources", name);
}

bool PulseServer::RemoveMicrophone(const std::string& name) {
    if (IsPipeWire()) {
        PwCli("destroy " + name, nullptr);
    } else {
        // "index<TAB>module-null-source<TAB>source_name=<name> …"
        const std::string modules = Pactl("list short modules");
        const size_t at = modules.find("\tsource_name=" + name + " ");
        const size_t start = at == std::string::npos ? at : modules.rfind('\n', at) + 1;
        if (at != std::string::npos)
            Pactl("unload-module " + modules.substr(start, modules.find('\t', start) - start));
        std::erase_if(m_Microphones, [&](const Microphone& microphone) { return microphone.name == name; });
    }
    return WaitListed("sources", name, false);
}

bool PulseServer::WaitReadsBack(const std::string& query, const std::string& expected) const {
    return Eventually([&] { return Pactl(query).find(expected) != std::string::npos; });
}

bool PulseServer::SetDefaultOutput(const std::string& name) const {
    Pactl("set-default-sink " + name);
    if (!WaitReadsBack("get-default-sink", name + "\n"))
        return false;
    // pipewire-pulse keeps a view of the default per client, and a long-lived client's follows a
    // moment after a new one's: where the programs' own connection is open, wait until it agrees.
    return Eventually([&] {
        platform::PulseConnection& pulse = platform::PulseConnection::Instance();
        platform::PulseConnection::Lock lock(pulse);
        return !pulse.IsReadyLocked() || platform::DefaultOutputMonitorLocked(pulse) == name + ".monitor";
    });
}

bool PulseServer::SetSourceVolume(const std::string& source, unsigned volume) const {
    Pactl("set-source-volume " + source + " " + std::to_string(volume));
    // A volume above 100 % reads back as set; "N /" so that 1638 does not match 16384.
    return WaitReadsBack("get-source-volume " + source, ": " + std::to_string(volume) + " /");
}

bool PulseServer::SetSourceMute(const std::string& source, bool mute) const {
    Pactl("set-source-mute " + source + (mute ? " 1" : " 0"));
    return WaitReadsBack("get-source-mute " + source, mute ? "yes" : "no");
}

bool PulseServer::WaitListed(const std::string& what, const std::string& name, bool present) const {
    return Eventually([&] {
        const std::string list = Pactl("list short " + what);
        bool listed = false;
        size_t at = 0;
        // Whole names only: "speakers" must not match "speakers.monitor".
        while ((at = list.find(name, at)) != std::string::npos) {
            const bool startsField = at > 0 && list[at - 1] == '\t';
            const size_t end = at + name.size();
            if (startsField && (end == list.size() || list[end] == '\t'))
                listed = true;
            at = end;
        }
        return listed == present;
    });
}

void PulseServer::WakeSink(const std::string& sink) const {
    Pactl("suspend-sink " + sink + " 1");
    Pactl("suspend-sink " + sink + " 0");
}

std::string PulseServer::Log() const {
    std::string log;
    for (const Process& process : m_Processes)
        log += "--- " + process.name + "\n" + ReadFile(m_Dir + "/" + process.name + ".log");
    return log;
}

} // namespace quortest
