// The two mixer devices from the server's state: the stereo mix, the order of the lines, the
// lines and their controls.
#include "platform/mixer/PulseMixerModel.h"

#include "platform/mixer/StereoMixName.h"
#include "platform/pulse/PulseEvents.h"
#include "platform/wavein/CaptureSource.h"

#include <algorithm>
#include <functional>

namespace platform::pulsemixer {

uint32_t ToServerVolume(uint32_t value) {
    uint64_t v = std::min<uint32_t>(value, 65535);
    return static_cast<uint32_t>((v * PA_VOLUME_NORM + 32767) / 65535);
}

uint32_t FromServerVolume(uint32_t volume) {
    uint64_t v = std::min<uint32_t>(volume, PA_VOLUME_NORM);
    return static_cast<uint32_t>((v * 65535 + PA_VOLUME_NORM / 2) / PA_VOLUME_NORM);
}

std::u16string SourceLineName(const std::string& description, bool isStereoMix,
                              const std::string& outputDescription) {
    if (isStereoMix)
        return u"스테레오 믹스 (" + Utf8ToUtf16(outputDescription) + u")";
    std::u16string name = Utf8ToUtf16(description);
    return IsStereoMixName(name) ? kOtherSourcePrefix + name : name;
}

std::u16string ApplicationLineName(const std::string& name, const std::string& icon,
                                   const std::string& binary) {
    const std::string& shown = !name.empty() ? name : !icon.empty() ? icon : binary;
    return kApplicationPrefix + Utf8ToUtf16(shown);
}

void OrderServerState(ServerState& state) {
    auto byIndex = [](const auto& a, const auto& b) { return a.index < b.index; };
    std::sort(state.sources.begin(), state.sources.end(), byIndex);
    std::sort(state.streams.begin(), state.streams.end(), byIndex);
    auto sink = std::find_if(state.sinks.begin(), state.sinks.end(),
                             [&](const SinkState& s) { return s.name == state.defaultSink; });
    if (sink != state.sinks.end() && IsRealOutput(sink->name.c_str())) {
        auto monitor = std::find_if(state.sources.begin(), state.sources.end(),
                                    [&](const SourceState& s) { return s.monitorOf == sink->index; });
        if (monitor != state.sources.end())
            state.defaultMonitor = monitor->name;
    }
    // The stereo mix leads, so that a search by line type (the start-up unmute) lands on it.
    std::stable_partition(state.sources.begin(), state.sources.end(),
                          [&](const SourceState& s) { return s.name == state.defaultMonitor; });
}

namespace {

std::vector<uint32_t> ChannelValues(const pa_cvolume& volume) {
    std::vector<uint32_t> values;
    for (unsigned c = 0; c < volume.channels; ++c)
        values.push_back(FromServerVolume(volume.values[c]));
    if (values.empty())
        values.push_back(0);
    return values;
}

MixerControlModel VolumeControl(uint32_t id, const Volume& state, const std::string& key) {
    MixerControlModel control;
    control.id = id;
    control.type = MIXERCONTROL_CONTROLTYPE_VOLUME;
    control.name = u"Volume";
    control.minimum = 0;
    control.maximum = 65535;
    control.steps = 65536;
    control.values = ChannelValues(state.volume);
    control.key = key;
    return control;
}

MixerControlModel MuteControl(uint32_t id, const Volume& state, const std::string& key) {
    MixerControlModel control;
    control.id = id;
    control.type = MIXERCONTROL_CONTROLTYPE_MUTE;
    control.flags = MIXERCONTROL_CONTROLF_UNIFORM;
    control.name = u"Mute";
    control.minimum = 0;
    control.maximum = 1;
    control.values = {state.mute ? 1u : 0u};
    control.key = key;
    return control;
}

uint32_t Channels(const Volume& state) {
    return std::max<uint32_t>(state.volume.channels, 1);
}

MixerLineModel SourceLine(uint32_t index, uint32_t componentType, const std::u16string& name,
                          const Volume& state, const std::string& key) {
    MixerLineModel line;
    line.id = SourceLineId(index);
    line.componentType = componentType;
    line.channels = Channels(state);
    line.name = name;
    if (state.hasVolume)
        line.controls.push_back(VolumeControl(SourceControlId(index, kVolume), state, key));
    line.controls.push_back(MuteControl(SourceControlId(index, kMute), state, key));
    return line;
}

} // namespace

void BuildOutput(const ServerState& state, MixerDeviceModel& model) {
    model.productName = u"PulseAudio Output";
    MixerDestinationModel destination;
    destination.line.id = kDestinationLine;
    destination.line.componentType = MIXERLINE_COMPONENTTYPE_DST_SPEAKERS;
    destination.line.name = u"Speakers";
    destination.line.flags = 0;
    auto sink = std::find_if(state.sinks.begin(), state.sinks.end(),
                             [&](const SinkState& s) { return s.name == state.defaultSink; });
    if (sink != state.sinks.end()) {
        const std::string key = "sink:" + sink->name;
        destination.line.flags = MIXERLINE_LINEF_ACTIVE;
        destination.line.name = Utf8ToUtf16(sink->description);
        destination.line.channels = Channels(*sink);
        destination.line.controls.push_back(VolumeControl(DestinationControlId(kVolume), *sink, key));
        destination.line.controls.push_back(MuteControl(DestinationControlId(kMute), *sink, key));
    }
    for (const StreamState& stream : state.streams)
        destination.sources.push_back(SourceLine(stream.index, MIXERLINE_COMPONENTTYPE_SRC_WAVEOUT,
                                                 Utf8ToUtf16(stream.name), stream,
                                                 "input:" + std::to_string(stream.index)));
    model.destinations.push_back(std::move(destination));
}

namespace {

std::u16string SourceName(const ServerState& state, const SourceState& source) {
    const bool isStereoMix = !source.name.empty() && source.name == state.defaultMonitor;
    auto sink = std::find_if(state.sinks.begin(), state.sinks.end(),
                             [&](const SinkState& s) { return s.index == source.monitorOf; });
    const std::string& of = sink != state.sinks.end() ? sink->description : source.description;
    return SourceLineName(source.description, isStereoMix, of);
}

} // namespace

namespace {

// One line per application, in the order its first stream came.
struct ApplicationLine {
    ApplicationId id;
    std::u16string name;
    uint32_t index; // the line's own number: from the application, so it outlives its streams
    Volume volume;  // its loudest stream's volume; muted while every stream is
    bool playing = true;
};

// A line number of its own for the application, away from every server index.
uint32_t ApplicationLineIndex(const ApplicationId& id) {
    return 0x10000000u |
           static_cast<uint32_t>(std::hash<std::string>{}(ApplicationSourceName(id)) & 0x0FFFFFFFu);
}

std::vector<ApplicationLine> ApplicationLines(const ServerState& state, const std::string& captureSource) {
    std::vector<ApplicationLine> lines;
    for (const StreamState& stream : state.streams) {
        const ApplicationId id{stream.binary, stream.application};
        auto line =
            std::find_if(lines.begin(), lines.end(), [&](const ApplicationLine& l) { return l.id == id; });
        if (line == lines.end()) {
            lines.push_back({id, ApplicationLineName(stream.application, stream.icon, stream.binary),
                             ApplicationLineIndex(id), stream});
            continue;
        }
        for (unsigned c = 0; c < std::min(line->volume.volume.channels, stream.volume.channels); ++c)
            line->volume.volume.values[c] = std::max(line->volume.volume.values[c], stream.volume.values[c]);
        line->volume.mute = line->volume.mute && stream.mute;
    }
    if (auto chosen = ApplicationOfSourceName(captureSource)) {
        if (std::none_of(lines.begin(), lines.end(),
                         [&](const ApplicationLine& l) { return l.id == *chosen; })) {
            ApplicationLine quiet{*chosen,
                                  ApplicationLineName(chosen->name, "", chosen->binary),
                                  ApplicationLineIndex(*chosen),
                                  {},
                                  false};
            pa_cvolume_set(&quiet.volume.volume, 2, PA_VOLUME_NORM);
            lines.push_back(quiet);
        }
    }
    return lines;
}

// The destination's volume and mute while an application is recorded: our own capture level.
void CaptureLevelControls(MixerDestinationModel& destination) {
    const CaptureLevel level = ApplicationCaptureLevel();
    Volume volume;
    volume.volume.channels = static_cast<uint8_t>(level.values.size());
    for (size_t c = 0; c < level.values.size(); ++c)
        volume.volume.values[c] = ToServerVolume(level.values[c]);
    volume.mute = level.mute;
    destination.line.channels = Channels(volume);
    destination.line.controls.push_back(VolumeControl(DestinationControlId(kVolume), volume, "capture:"));
    destination.line.controls.push_back(MuteControl(DestinationControlId(kMute), volume, "capture:"));
}

} // namespace

void BuildInput(const ServerState& state, const std::string& captureSource, MixerDeviceModel& model) {
    model.productName = u"PulseAudio Input";
    MixerDestinationModel destination;
    destination.line.id = kDestinationLine;
    destination.line.componentType = MIXERLINE_COMPONENTTYPE_DST_WAVEIN;
    destination.line.name = u"녹음";
    destination.line.flags = state.sources.empty() ? 0 : MIXERLINE_LINEF_ACTIVE;

    // The capture source of this process; the stereo mix until one is chosen. Never the
    // server's default source: the microphone is not ours to touch. A chosen source that is not
    // on the server leaves no item selected (and no destination volume or mute): its owner can
    // tell that it has gone rather than take the stereo mix for the user's choice.
    std::string selected = captureSource;
    if (selected.empty())
        selected = state.defaultMonitor;

    // Every line's key in the MUX, in line order.
    std::vector<std::string> keys;
    for (const SourceState& source : state.sources) {
        const uint32_t type = source.monitorOf == PA_INVALID_INDEX ? MIXERLINE_COMPONENTTYPE_SRC_MICROPHONE
                                                                   : MIXERLINE_COMPONENTTYPE_SRC_ANALOG;
        destination.sources.push_back(
            SourceLine(source.index, type, SourceName(state, source), source, "source:" + source.name));
        // Choosing the stereo mix follows the default output wherever it goes: an empty key.
        keys.push_back(source.name == state.defaultMonitor ? std::string() : source.name);
    }
    if (!state.sources.empty()) {
        // The playing applications follow the sources (with no source there is nothing to record).
        for (const ApplicationLine& application : ApplicationLines(state, captureSource)) {
            const std::string key = ApplicationSourceName(application.id);
            destination.sources.push_back(SourceLine(application.index, MIXERLINE_COMPONENTTYPE_SRC_WAVEOUT,
                                                     application.name, application.volume, "app:" + key));
            if (!application.playing) // nothing to set while it plays nothing
                destination.sources.back().controls.clear();
            keys.push_back(key);
        }
        MixerControlModel mux;
        mux.id = DestinationControlId(kMux);
        mux.type = MIXERCONTROL_CONTROLTYPE_MUX;
        mux.flags = MIXERCONTROL_CONTROLF_UNIFORM | MIXERCONTROL_CONTROLF_MULTIPLE;
        mux.name = u"MUX";
        mux.minimum = 0;
        mux.maximum = static_cast<uint32_t>(keys.size() - 1);
        mux.steps = static_cast<uint32_t>(keys.size());
        // Items run in the reverse order of the source lines, as the classic capture MUX does.
        for (size_t k = keys.size(); k-- > 0;) {
            const bool chosen = keys[k].empty() ? selected == state.defaultMonitor : keys[k] == selected;
            mux.items.push_back({destination.sources[k].id, destination.sources[k].name, keys[k]});
            mux.values.push_back(!selected.empty() && chosen ? 1u : 0u);
        }
        destination.line.controls.push_back(mux);
        if (ApplicationOfSourceName(selected)) {
            CaptureLevelControls(destination);
            model.destinations.push_back(std::move(destination));
            return;
        }
        auto current = std::find_if(state.sources.begin(), state.sources.end(),
                                    [&](const SourceState& s) { return s.name == selected; });
        if (current != state.sources.end()) {
            const std::string key = "source:" + current->name;
            destination.line.channels = Channels(*current);
            destination.line.controls.push_back(VolumeControl(DestinationControlId(kVolume), *current, key));
            destination.line.controls.push_back(MuteControl(DestinationControlId(kMute), *current, key));
        }
    }
    model.destinations.push_back(std::move(destination));
}

} // namespace platform::pulsemixer
