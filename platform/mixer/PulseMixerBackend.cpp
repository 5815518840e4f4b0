// The sound server read into the two mixer devices (PulseMixerModel.h), writes of volumes and
// mutes, the capture selection, and change events turned into mixer notifications.
#include "platform/mixer/PulseMixerBackend.h"

#include "platform/pulse/Property.h"
#include "platform/pulse/PulseConnection.h"
#include "platform/pulse/PulseEvents.h"
#include "platform/wavein/CaptureSource.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <optional>

namespace platform {

namespace {

using namespace pulsemixer;
using std::chrono::milliseconds;

constexpr milliseconds kConnectTimeout(1500);

template <typename Info> void CopyVolume(Volume& out, const Info* info) {
    out.volume = info->volume;
    out.mute = info->mute != 0;
}

bool ReadServer(PulseConnection& pulse, ServerState& state, bool withStreams = true) {
    pa_context* c = pulse.Context();
    bool ok = pulse.WaitOperationLocked(pa_context_get_server_info(
        c,
        [](pa_context*, const pa_server_info* info, void* data) {
            auto* s = static_cast<ServerState*>(data);
            if (info) {
                s->defaultSink = info->default_sink_name ? info->default_sink_name : "";
                s->defaultSource = info->default_source_name ? info->default_source_name : "";
            }
        },
        &state));
    ok = ok && pulse.WaitOperationLocked(pa_context_get_sink_info_list(
                   c,
                   [](pa_context*, const pa_sink_info* info, int eol, void* data) {
                       if (eol || !info)
                           return;
                       SinkState sink;
                       sink.index = info->index;
                       sink.name = info->name ? info->name : "";
                       sink.description = info->description ? info->description : sink.name;
                       CopyVolume(sink, info);
                       static_cast<ServerState*>(data)->sinks.push_back(sink);
                   },
                   &state));
    ok = ok && pulse.WaitOperationLocked(pa_context_get_source_info_list(
                   c,
                   [](pa_context*, const pa_source_info* info, int eol, void* data) {
                       if (eol || !info)
                           return;
                       SourceState source;
                       source.index = info->index;
                       source.name = info->name ? info->name : "";
                       source.description = info->description ? info->description : source.name;
                       source.monitorOf = info->monitor_of_sink;
                       CopyVolume(source, info);
                       static_cast<ServerState*>(data)->sources.push_back(source);
                   },
                   &state));
    if (ok && withStreams) {
        ok = pulse.WaitOperationLocked(pa_context_get_sink_input_info_list(
            c,
            [](pa_context*, const pa_sink_input_info* info, int eol, void* data) {
                if (eol || !info)
                    return;
                StreamState stream;
                stream.index = info->index;
                stream.application = PropertyOf(info->proplist, PA_PROP_APPLICATION_NAME);
                stream.binary = PropertyOf(info->proplist, PA_PROP_APPLICATION_PROCESS_BINARY);
                stream.icon = PropertyOf(info->proplist, PA_PROP_APPLICATION_ICON_NAME);
                stream.name = !stream.application.empty() ? stream.application : info->name ? info->name : "";
                stream.hasVolume = info->has_volume != 0;
                CopyVolume(stream, info);
                static_cast<ServerState*>(data)->streams.push_back(stream);
            },
            &state));
    }
    OrderServerState(state);
    return ok;
}

void OnSuccess(pa_context*, int success, void* ok) {
    *static_cast<int*>(ok) = success;
}

class PulseMixerBackend final : public MixerBackend {
public:
    uint32_t DeviceCount() override { return 2; }

    MMRESULT Caps(uint32_t device, std::u16string& productName, uint32_t& destinations) override {
        if (device >= 2)
            return MMSYSERR_BADDEVICEID;
        productName = device == kOutputDevice ? u"PulseAudio Output" : u"PulseAudio Input";
        destinations = 1;
        return MMSYSERR_NOERROR;
    }

    bool MixerOfWaveIn(uint32_t waveInId, uint32_t& device) override {
        if (waveInId != 0 && waveInId != WAVE_MAPPER)
            return false;
        device = kInputDevice;
        if (!CaptureSourceName().empty())
            return true;
        // Following the output with no output to follow: there is no capture device to mix.
        // (An unreachable server is left to Open, which says so.)
        PulseConnection& pulse = PulseConnection::Instance();
        if (!pulse.EnsureConnected(kConnectTimeout))
            return true;
        ServerState state;
        PulseConnection::Lock lock(pulse);
        return !pulse.IsReadyLocked() || !ReadServer(pulse, state, false) || !state.defaultMonitor.empty();
    }

    MMRESULT Open(uint32_t device) override {
        if (device >= 2)
            return MMSYSERR_BADDEVICEID;
        PulseConnection& pulse = PulseConnection::Instance();
        if (!pulse.EnsureConnected(kConnectTimeout))
            return MMSYSERR_NODRIVER;
        PulseConnection::Lock lock(pulse);
        ListenToServerLocked(pulse, &OnEvent);
        return MMSYSERR_NOERROR;
    }

    void Close(uint32_t) override {}

    MMRESULT Read(uint32_t device, MixerDeviceModel& model) override {
        if (device >= 2)
            return MMSYSERR_BADDEVICEID;
        PulseConnection& pulse = PulseConnection::Instance();
        if (!pulse.EnsureConnected(kConnectTimeout))
            return MMSYSERR_NODRIVER;
        ServerState state;
        {
            PulseConnection::Lock lock(pulse);
            if (!pulse.IsReadyLocked() || !ReadServer(pulse, state))
                return MMSYSERR_NODRIVER;
            // A reconnected server is a new context: keep its changes coming.
            ListenToServerLocked(pulse, &OnEvent);
        }
        model = MixerDeviceModel{};
        if (device == kOutputDevice)
            BuildOutput(state, model);
        else
            BuildInput(state, CaptureSourceName(), model);
        return MMSYSERR_NOERROR;
    }

    MMRESULT Write(uint32_t device, const MixerLineModel& line, const MixerControlModel& control,
                   uint32_t channels, const std::vector<uint32_t>& values) override {
        if (control.type == MIXERCONTROL_CONTROLTYPE_MUX)
            return SelectItem(device, control, values);
        // A volume above 100 % reads as the full 65535: writing back what was read (a slider left
        // at its top) must keep that boost, not cut it to 100 %.
        if (control.type == MIXERCONTROL_CONTROLTYPE_VOLUME && values == ReadBack(control, channels))
            return MMSYSERR_NOERROR;
        PulseConnection& pulse = PulseConnection::Instance();
        if (!pulse.EnsureConnected(kConnectTimeout))
            return MMSYSERR_NODRIVER;
        const size_t colon = control.key.find(':');
        if (colon == std::string::npos)
            return MIXERR_INVALCONTROL;
        const std::string kind = control.key.substr(0, colon);
        const std::string name = control.key.substr(colon + 1);
        if (kind == "capture")
            return WriteCaptureLevel(device, control, channels, values);

        PulseConnection::Lock lock(pulse);
        if (!pulse.IsReadyLocked())
            return MMSYSERR_NODRIVER;
        pa_context* c = pulse.Context();
        if (kind == "app")
            return WriteApplication(pulse, name, control, channels, values);
        int ok = 0;
        pa_operation* op = nullptr;
        if (control.type == MIXERCONTROL_CONTROLTYPE_MUTE) {
            const int mute = values[0] != 0;
            if (kind == "sink")
                op = pa_context_set_sink_mute_by_name(c, name.c_str(), mute, &OnSuccess, &ok);
            else if (kind == "source")
                op = pa_context_set_source_mute_by_name(c, name.c_str(), mute, &OnSuccess, &ok);
            else
                op = pa_context_set_sink_input_mute(c, static_cast<uint32_t>(std::stoul(name)), mute,
                                                    &OnSuccess, &ok);
        } else if (control.type == MIXERCONTROL_CONTROLTYPE_VOLUME) {
            pa_cvolume volume = NewVolume(line, control, channels, values);
            if (kind == "sink")
                op = pa_context_set_sink_volume_by_name(c, name.c_str(), &volume, &OnSuccess, &ok);
            else if (kind == "source")
                op = pa_context_set_source_volume_by_name(c, name.c_str(), &volume, &OnSuccess, &ok);
            else
                op = pa_context_set_sink_input_volume(c, static_cast<uint32_t>(std::stoul(name)), &volume,
                                                      &OnSuccess, &ok);
        } else {
            return MIXERR_INVALCONTROL;
        }
        return pulse.WaitOperationLocked(op) && ok ? MMSYSERR_NOERROR : MMSYSERR_ERROR;
    }

private:
    // The application recording's own level: nothing on the server changes.
    static MMRESULT WriteCaptureLevel(uint32_t device, const MixerControlModel& control, uint32_t channels,
                                      const std::vector<uint32_t>& values) {
        CaptureLevel level = ApplicationCaptureLevel();
        if (control.type == MIXERCONTROL_CONTROLTYPE_MUTE) {
            level.mute = values[0] != 0;
        } else if (channels == level.values.size()) {
            level.values = values;
        } else {
            // One value: the loudest channel takes it, the balance stays.
            const uint32_t loudest = *std::max_element(level.values.begin(), level.values.end());
            for (uint32_t& v : level.values)
                v = loudest ? static_cast<uint32_t>(uint64_t(v) * values[0] / loudest) : values[0];
        }
        SetApplicationCaptureLevel(level);
        NotifyMixerChange(device, MM_MIXM_CONTROL_CHANGE, control.id);
        return MMSYSERR_NOERROR;
    }

    // Every stream of the application, as the desktop's volume control would set them.
    static MMRESULT WriteApplication(PulseConnection& pulse, const std::string& key,
                                     const MixerControlModel& control, uint32_t channels,
                                     const std::vector<uint32_t>& values) {
        ServerState state;
        if (!ReadServer(pulse, state))
            return MMSYSERR_NODRIVER;
        const std::optional<ApplicationId> application = ApplicationOfSourceName(key);
        const uint32_t value = channels == 1 ? values[0] : *std::max_element(values.begin(), values.end());
        bool all = true;
        for (const StreamState& stream : state.streams) {
            if (!application || ApplicationId{stream.binary, stream.application} != *application)
                continue;
            int ok = 0;
            pa_operation* op;
            if (control.type == MIXERCONTROL_CONTROLTYPE_MUTE) {
                op = pa_context_set_sink_input_mute(pulse.Context(), stream.index, values[0] != 0, &OnSuccess,
                                                    &ok);
            } else {
                pa_cvolume volume = stream.volume;
                pa_cvolume_set(&volume, std::max<uint8_t>(volume.channels, 1), ToServerVolume(value));
                op =
                    pa_context_set_sink_input_volume(pulse.Context(), stream.index, &volume, &OnSuccess, &ok);
            }
            all = pulse.WaitOperationLocked(op) && ok && all;
        }
        return all ? MMSYSERR_NOERROR : MMSYSERR_ERROR;
    }

    // The values a read of `channels` channels gives now (one value: the loudest channel).
    static std::vector<uint32_t> ReadBack(const MixerControlModel& control, uint32_t channels) {
        if (channels == 1 && !control.values.empty())
            return {*std::max_element(control.values.begin(), control.values.end())};
        return control.values;
    }

    static pa_cvolume NewVolume(const MixerLineModel& line, const MixerControlModel& control,
                                uint32_t channels, const std::vector<uint32_t>& values) {
        pa_cvolume volume{};
        volume.channels = static_cast<uint8_t>(std::clamp<uint32_t>(line.channels, 1, PA_CHANNELS_MAX));
        if (channels == volume.channels) {
            for (unsigned c = 0; c < volume.channels; ++c)
                volume.values[c] = ToServerVolume(values[c]);
            return volume;
        }
        // One value for every channel: keep the balance, set the loudest channel to the value.
        for (unsigned c = 0; c < volume.channels; ++c)
            volume.values[c] = ToServerVolume(c < control.values.size() ? control.values[c] : 0);
        pa_cvolume_scale(&volume, ToServerVolume(values[0]));
        return volume;
    }

    MMRESULT SelectItem(uint32_t device, const MixerControlModel& control,
                        const std::vector<uint32_t>& values) {
        auto chosen = std::find_if(values.begin(), values.end(), [](uint32_t v) { return v != 0; });
        const auto& item = control.items[static_cast<size_t>(chosen - values.begin())];
        const std::string name = item.key;
        // Moves this process's open captures at once; the server's default source stays.
        bool moved = SelectCaptureSource(name);
        NotifyMixerChange(device, MM_MIXM_CONTROL_CHANGE, DestinationControlId(kMux));
        NotifyMixerChange(device, MM_MIXM_CONTROL_CHANGE, DestinationControlId(kVolume));
        NotifyMixerChange(device, MM_MIXM_CONTROL_CHANGE, DestinationControlId(kMute));
        return moved ? MMSYSERR_NOERROR : MMSYSERR_ERROR;
    }

    // Main loop thread: only posts notifications.
    static void OnEvent(pa_subscription_event_type_t type, uint32_t index) {
        const auto facility = type & PA_SUBSCRIPTION_EVENT_FACILITY_MASK;
        const auto what = type & PA_SUBSCRIPTION_EVENT_TYPE_MASK;
        const bool lines = what != PA_SUBSCRIPTION_EVENT_CHANGE;
        auto destinationControls = [](uint32_t device) {
            NotifyMixerChange(device, MM_MIXM_CONTROL_CHANGE, DestinationControlId(kVolume));
            NotifyMixerChange(device, MM_MIXM_CONTROL_CHANGE, DestinationControlId(kMute));
        };
        switch (facility) {
        case PA_SUBSCRIPTION_EVENT_SERVER:
            NotifyMixerChange(kOutputDevice, MM_MIXM_LINE_CHANGE, kDestinationLine);
            NotifyMixerChange(kInputDevice, MM_MIXM_LINE_CHANGE, kDestinationLine);
            NotifyMixerChange(kInputDevice, MM_MIXM_CONTROL_CHANGE, DestinationControlId(kMux));
            destinationControls(kOutputDevice);
            destinationControls(kInputDevice);
            break;
        case PA_SUBSCRIPTION_EVENT_SINK:
            destinationControls(kOutputDevice);
            if (lines) {
                NotifyMixerChange(kOutputDevice, MM_MIXM_LINE_CHANGE, kDestinationLine);
                NotifyMixerChange(kInputDevice, MM_MIXM_LINE_CHANGE, kDestinationLine);
            }
            break;
        case PA_SUBSCRIPTION_EVENT_SOURCE:
            if (lines) {
                NotifyMixerChange(kInputDevice, MM_MIXM_LINE_CHANGE, kDestinationLine);
                NotifyMixerChange(kInputDevice, MM_MIXM_CONTROL_CHANGE, DestinationControlId(kMux));
            } else {
                NotifyMixerChange(kInputDevice, MM_MIXM_CONTROL_CHANGE, SourceControlId(index, kVolume));
                NotifyMixerChange(kInputDevice, MM_MIXM_CONTROL_CHANGE, SourceControlId(index, kMute));
            }
            destinationControls(kInputDevice);
            break;
        case PA_SUBSCRIPTION_EVENT_SINK_INPUT:
            if (lines) {
                // An application's first stream or its last one: the capture lines change too.
                NotifyMixerChange(kOutputDevice, MM_MIXM_LINE_CHANGE, kDestinationLine);
                NotifyMixerChange(kInputDevice, MM_MIXM_LINE_CHANGE, kDestinationLine);
                NotifyMixerChange(kInputDevice, MM_MIXM_CONTROL_CHANGE, DestinationControlId(kMux));
            } else {
                NotifyMixerChange(kOutputDevice, MM_MIXM_CONTROL_CHANGE, SourceControlId(index, kVolume));
                NotifyMixerChange(kOutputDevice, MM_MIXM_CONTROL_CHANGE, SourceControlId(index, kMute));
            }
            break;
        default:
            break;
        }
    }
};

} // namespace

MixerBackend& PulseMixer() {
    static PulseMixerBackend backend;
    return backend;
}

} // namespace platform
