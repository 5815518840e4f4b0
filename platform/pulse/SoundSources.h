// The sound server's capture sources as a program outside the mixer sees them: server name,
// description, and which one is the monitor of the default output (what "the computer plays").
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace platform {

struct SoundSource {
    std::string name;        // the server's name, e.g. "alsa_output.pci-0000_00_1f.3.analog-stereo.monitor"
    std::string description; // the name people see, e.g. "Monitor of Built-in Audio"
    bool monitor = false;    // the monitor of an output
    bool monitorOfDefaultOutput = false;
};

// Every source, in the server's order. nullopt when the sound server cannot be reached. Call
// without holding the connection's lock.
std::optional<std::vector<SoundSource>> ListSoundSources();

// An application that plays now, once however many streams it has.
struct PlayingApplication {
    std::string binary; // application.process.binary
    std::string name;   // application.name
    std::string icon;   // application.icon_name
};

// The applications with a playback stream, in the order of their first stream. nullopt when the
// sound server cannot be reached. Call without holding the connection's lock.
std::optional<std::vector<PlayingApplication>> ListPlayingApplications();

// The application whose name equals `wanted` ignoring case, else the one whose program does;
// null when none does.
const PlayingApplication* FindPlayingApplication(const std::vector<PlayingApplication>& applications,
                                                 const std::string& wanted);

// The source whose name equals `wanted`, else the one whose description does (ignoring case);
// null when none does.
const SoundSource* FindSoundSource(const std::vector<SoundSource>& sources, const std::string& wanted);

} // namespace platform
