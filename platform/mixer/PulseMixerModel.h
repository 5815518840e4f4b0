// The sound server's state as the mixer reads it, and the two mixer devices made from it, with
// no server involved. Device 0 "PulseAudio Output": one speakers destination (volume and mute of
// the default sink) whose source lines are the playing application streams. Device 1
// "PulseAudio Input": one capture destination (MUX over its source lines, volume and mute of this
// process's capture source) whose source lines are every server source, then every application
// that plays ("프로그램: <name>", see ApplicationLineName). The default output's
// monitor is the first line, "스테레오 믹스 (output)"; other sources keep their own names (see
// SourceLineName); all monitors are SRC_ANALOG, the other sources microphones. Volumes 0..65535
// map linearly onto 0..PA_VOLUME_NORM.
#pragma once

#include "platform/mixer/MixerBackend.h"

#include <pulse/def.h>
#include <pulse/volume.h>

#include <cstdint>
#include <string>
#include <vector>

namespace platform::pulsemixer {

// Identifiers: stable for a server object as long as it lives.
constexpr uint32_t kOutputDevice = 0;
constexpr uint32_t kInputDevice = 1;
constexpr uint32_t kDestinationLine = 0xFFFF0000u;
constexpr uint32_t kVolume = 0, kMute = 1, kMux = 2;
// Source line of the server object with this index.
constexpr uint32_t SourceLineId(uint32_t index) {
    return 0x10000000u | (index & 0x0FFFFFFFu);
}
constexpr uint32_t DestinationControlId(uint32_t kind) {
    return 0x80000000u | kind;
}
constexpr uint32_t SourceControlId(uint32_t index, uint32_t kind) {
    return ((index & 0x1FFFFFFFu) << 2) | kind;
}
// Volume conversions, rounded; server volumes above normal read as 65535.
uint32_t ToServerVolume(uint32_t value);
uint32_t FromServerVolume(uint32_t volume);
// The line name of a server source: the default output's monitor is the stereo mix,
// "스테레오 믹스 (<output's description>)"; every other source is named by its description, with
// kOtherSourcePrefix before one that begins like a stereo-mix name, so that the discovery can
// find only the default output's monitor.
inline constexpr char16_t kOtherSourcePrefix[] = u"장치: ";
std::u16string SourceLineName(const std::string& description, bool isStereoMix,
                              const std::string& outputDescription);

// What the mixer reads of the server.
struct Volume {
    pa_cvolume volume{};
    bool mute = false;
    bool hasVolume = true;
};
struct SinkState : Volume {
    uint32_t index = PA_INVALID_INDEX;
    std::string name, description;
};
struct SourceState : Volume {
    uint32_t index = PA_INVALID_INDEX;
    std::string name, description;
    uint32_t monitorOf = PA_INVALID_INDEX;
};
struct StreamState : Volume {
    uint32_t index = PA_INVALID_INDEX;
    std::string name;        // application.name, else the stream's own name
    std::string binary;      // application.process.binary
    std::string application; // application.name as given (may be empty)
    std::string icon;        // application.icon_name
};
struct ServerState {
    std::string defaultSink, defaultSource;
    // The monitor of the default output: the stereo mix. Empty when there is no real output
    // (OrderServerState finds it).
    std::string defaultMonitor;
    std::vector<SinkState> sinks;
    std::vector<SourceState> sources;
    std::vector<StreamState> streams;
};

// The line name of an application: "프로그램: " and its name, else its icon name, else its program.
inline constexpr char16_t kApplicationPrefix[] = u"프로그램: ";
std::u16string ApplicationLineName(const std::string& name, const std::string& icon,
                                   const std::string& binary);

// Sources and streams in the order of their server indexes, the stereo mix (found here) first.
void OrderServerState(ServerState& state);

void BuildOutput(const ServerState& state, MixerDeviceModel& model);
// captureSource: the capture source of this process, empty while none is chosen (the stereo mix).
// The chosen application keeps its line while it plays nothing, so that the choice stays shown.
void BuildInput(const ServerState& state, const std::string& captureSource, MixerDeviceModel& model);

} // namespace platform::pulsemixer
