// The current capture source of this process: what the "wave mapper" records from.
// Until something selects a source, captures record the monitor of the default output and move
// with it when the default output changes; never the server's default source (the microphone).
// A source may also be one application: every playback stream it has, alone and mixed.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace platform {

// The selected source's server name, or an application's source name (ApplicationSourceName);
// empty means following the default output's monitor.
std::string CaptureSourceName();

// Selects a source (empty: follow the default output again) for every later capture and moves
// every open capture of this process to it at once, as a hardware input selector would. Never
// changes the server's default source.
// False when some open capture could not be moved (the selection is kept).
bool SelectCaptureSource(const std::string& sourceName);

// An application as the sound server knows it: the file name of its program and the name it
// gives itself. Its streams come and go (every track, every page); the application stays.
struct ApplicationId {
    std::string binary; // application.process.binary, e.g. "firefox-esr"; may be empty
    std::string name;   // application.name, e.g. "Firefox"
    bool operator==(const ApplicationId&) const = default;
};

// The capture-source name that stands for every stream of the application. Server source names
// never hold a line break, so the two kinds cannot be taken for each other.
std::string ApplicationSourceName(const ApplicationId& application);
std::optional<ApplicationId> ApplicationOfSourceName(const std::string& sourceName);

// The level at which an application is recorded, 0..65535 per channel, and its mute: a capture
// volume of our own, applied as the streams are mixed, so that what the user hears stays as it
// is. Full and unmuted until set; kept for the life of the process.
struct CaptureLevel {
    std::vector<uint32_t> values{65535, 65535};
    bool mute = false;
};
CaptureLevel ApplicationCaptureLevel();
void SetApplicationCaptureLevel(const CaptureLevel& level);

// What became of the chosen application since it was chosen: how many times its program left
// the sound server (quit) while captures followed it, and how many of its streams the server
// refused to let us record alone. Both start again at 0 when another source is selected.
struct ApplicationCaptureEvents {
    uint64_t quits = 0;
    uint64_t refusals = 0;
};
ApplicationCaptureEvents ChosenApplicationEvents();

} // namespace platform
