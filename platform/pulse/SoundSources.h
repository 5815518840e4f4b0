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

// The source whose name equals `wanted`, else the one whose description does (ignoring case);
// null when none does.
const SoundSource* FindSoundSource(const std::vector<SoundSource>& sources, const std::string& wanted);

} // namespace platform
