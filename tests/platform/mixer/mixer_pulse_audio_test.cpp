// The mixer over a private PulseAudio server with a null sink "speakers" and a silent source
// "mic" that is the server's default, as on a desktop: the two devices, the stereo-mix line,
// volumes and mutes read back with pactl, the MUX choosing this process's capture source only,
// and change notifications.
#include "platform/mixer/Mixer.h"
#include "platform/mixer/MixerBackend.h"
#include "platform/mixer/PulseMixerModel.h"
#include "platform/wavein/CaptureSource.h"
#include "tests/platform/mixer/MixerListener.h"
#include "tests/support/pulse/PulseServer.h"
#include "tests/support/pulse/SignalPlayer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

using namespace platform::pulsemixer;

namespace {

HMIXEROBJ Obj(HMIXER h) {
    return reinterpret_cast<HMIXEROBJ>(h);
}
constexpr uint32_t H = MIXER_OBJECTF_HMIXER;

struct Line {
    MIXERLINE line{};
    std::u16string name;
};

struct PulseMixer : ::testing::Test {
    quortest::PulseServer& server = quortest::SharedPulseServer();
    HMIXER input = nullptr;

    void SetUp() override {
        if (server.Pactl("list short sources").find("\tmic\t") == std::string::npos) {
            ASSERT_TRUE(server.AddMicrophone("mic"));
        }
        server.Pactl("set-default-source mic");
        platform::SelectCaptureSource({});
        ASSERT_EQ(mixerOpen(&input, 0, 0, 0, MIXER_OBJECTF_WAVEIN), MMSYSERR_NOERROR);
    }
    void TearDown() override {
        mixerClose(input);
        platform::SelectCaptureSource({});
    }
    std::vector<Line> Sources(HMIXER h) {
        MIXERLINE destination{};
        destination.cbStruct = sizeof destination;
        EXPECT_EQ(mixerGetLineInfo(Obj(h), &destination, H | MIXER_GETLINEINFOF_DESTINATION),
                  MMSYSERR_NOERROR);
        std::vector<Line> lines;
        for (uint32_t j = 0; j < destination.cConnections; ++j) {
            Line l;
            l.line.cbStruct = sizeof l.line;
            l.line.dwSource = j;
            EXPECT_EQ(mixerGetLineInfo(Obj(h), &l.line, H | MIXER_GETLINEINFOF_SOURCE), MMSYSERR_NOERROR);
            l.name = l.line.szName;
            lines.push_back(l);
        }
        return lines;
    }
    uint32_t SourceIndex(const std::string& name) {
        // "index<TAB>name<TAB>..." lines
        std::string list = server.Pactl("list short sources");
        size_t at = list.find("\t" + name + "\t");
        size_t start = list.rfind('\n', at);
        start = start == std::string::npos ? 0 : start + 1;
        return static_cast<uint32_t>(std::stoul(list.substr(start, at - start)));
    }
    MMRESULT Get(uint32_t id, std::vector<uint32_t>& values, uint32_t items = 0) {
        MIXERCONTROLDETAILS d{sizeof d, id, 1, items, sizeof(uint32_t), values.data()};
        return mixerGetControlDetails(Obj(input), &d, H | MIXER_GETCONTROLDETAILSF_VALUE);
    }
    MMRESULT Set(uint32_t id, std::vector<uint32_t> values, uint32_t items = 0) {
        MIXERCONTROLDETAILS d{sizeof d, id, 1, items, sizeof(uint32_t), values.data()};
        return mixerSetControlDetails(Obj(input), &d, H | MIXER_SETCONTROLDETAILSF_VALUE);
    }
};

} // namespace

TEST_F(PulseMixer, InputDeviceListsEverySourceAndNamesTheMonitorStereoMix) {
    EXPECT_EQ(mixerGetNumDevs(), 2u);
    MIXERCAPS caps{};
    ASSERT_EQ(mixerGetDevCaps(reinterpret_cast<uintptr_t>(input), &caps, sizeof caps), MMSYSERR_NOERROR);
    EXPECT_EQ(std::u16string(caps.szPname), u"PulseAudio Input");
    ASSERT_EQ(mixerGetDevCaps(0, &caps, sizeof caps), MMSYSERR_NOERROR);
    EXPECT_EQ(std::u16string(caps.szPname), u"PulseAudio Output");

    MIXERLINE destination{};
    destination.cbStruct = sizeof destination;
    ASSERT_EQ(mixerGetLineInfo(Obj(input), &destination, H | MIXER_GETLINEINFOF_DESTINATION),
              MMSYSERR_NOERROR);
    EXPECT_EQ(destination.dwComponentType, MIXERLINE_COMPONENTTYPE_DST_WAVEIN);
    EXPECT_TRUE(destination.fdwLine & MIXERLINE_LINEF_ACTIVE);
    EXPECT_EQ(destination.cControls, 3u) << "MUX, volume, mute";

    auto lines = Sources(input);
    ASSERT_EQ(lines.size(), 2u);
    auto monitor = std::find_if(lines.begin(), lines.end(),
                                [](const Line& l) { return l.name == u"스테레오 믹스 (Speakers)"; });
    ASSERT_NE(monitor, lines.end());
    EXPECT_EQ(monitor->line.dwComponentType, MIXERLINE_COMPONENTTYPE_SRC_ANALOG);
    EXPECT_EQ(monitor->line.dwLineID, SourceLineId(SourceIndex("speakers.monitor")));
    auto mic = std::find_if(lines.begin(), lines.end(), [&](const Line& l) {
        return l.line.dwLineID == SourceLineId(SourceIndex("mic"));
    });
    ASSERT_NE(mic, lines.end());
    EXPECT_EQ(mic->line.dwComponentType, MIXERLINE_COMPONENTTYPE_SRC_MICROPHONE);
    EXPECT_EQ(mic->line.cControls, 2u);

    // The MUX lists the lines in reverse order and shows the stereo mix selected, never the
    // server's default source (the microphone).
    MIXERCONTROLDETAILS_LISTTEXT texts[2]{};
    MIXERCONTROLDETAILS d{sizeof d, DestinationControlId(kMux),           1,
                          2,        sizeof(MIXERCONTROLDETAILS_LISTTEXT), texts};
    ASSERT_EQ(mixerGetControlDetails(Obj(input), &d, H | MIXER_GETCONTROLDETAILSF_LISTTEXT),
              MMSYSERR_NOERROR);
    EXPECT_EQ(texts[0].dwParam1, lines[1].line.dwLineID);
    EXPECT_EQ(texts[1].dwParam1, lines[0].line.dwLineID);
    std::vector<uint32_t> mux(2);
    ASSERT_EQ(Get(DestinationControlId(kMux), mux, 2), MMSYSERR_NOERROR);
    size_t micItem = 1 - static_cast<size_t>(mic - lines.begin());
    EXPECT_EQ(mux[micItem], 0u);
    EXPECT_EQ(mux[1 - micItem], 1u);
}

TEST_F(PulseMixer, VolumesAndMutesReachTheServer) {
    const uint32_t mic = SourceIndex("mic");
    ASSERT_EQ(Set(SourceControlId(mic, kVolume), {16384}), MMSYSERR_NOERROR);
    EXPECT_NE(server.Pactl("get-source-volume mic").find("16384 /  25%"), std::string::npos)
        << server.Pactl("get-source-volume mic");
    ASSERT_EQ(Set(SourceControlId(mic, kVolume), {65535}), MMSYSERR_NOERROR);
    EXPECT_NE(server.Pactl("get-source-volume mic").find("65536 / 100%"), std::string::npos);

    ASSERT_TRUE(server.SetSourceVolume("mic", 32768));
    std::vector<uint32_t> value(1);
    ASSERT_EQ(Get(SourceControlId(mic, kVolume), value), MMSYSERR_NOERROR);
    EXPECT_EQ(value[0], 32768u);
    ASSERT_TRUE(server.SetSourceVolume("mic", 98304)); // 150 %: reads as the top of the range
    ASSERT_EQ(Get(SourceControlId(mic, kVolume), value), MMSYSERR_NOERROR);
    EXPECT_EQ(value[0], 65535u);
    ASSERT_TRUE(server.SetSourceVolume("speakers.monitor", 16384));
    ASSERT_EQ(Get(DestinationControlId(kVolume), value), MMSYSERR_NOERROR);
    EXPECT_EQ(value[0], 16384u) << "the destination's volume is the selected source's (the stereo mix)";
    ASSERT_TRUE(server.SetSourceVolume("speakers.monitor", 65536));

    ASSERT_EQ(Set(SourceControlId(mic, kMute), {1}), MMSYSERR_NOERROR);
    EXPECT_NE(server.Pactl("get-source-mute mic").find("yes"), std::string::npos);
    ASSERT_EQ(Get(DestinationControlId(kMute), value), MMSYSERR_NOERROR);
    EXPECT_EQ(value[0], 0u) << "the muted microphone is not the capture";
    // The destination's mute lands on the stereo mix; the microphone stays muted.
    ASSERT_EQ(Set(DestinationControlId(kMute), {1}), MMSYSERR_NOERROR);
    EXPECT_NE(server.Pactl("get-source-mute speakers.monitor").find("yes"), std::string::npos);
    ASSERT_EQ(Set(DestinationControlId(kMute), {0}), MMSYSERR_NOERROR);
    EXPECT_NE(server.Pactl("get-source-mute speakers.monitor").find("no"), std::string::npos);
    EXPECT_NE(server.Pactl("get-source-mute mic").find("yes"), std::string::npos);
    ASSERT_TRUE(server.SetSourceMute("mic", false));
}

TEST_F(PulseMixer, MuxSelectsThisProcessCaptureSourceAndNeverTheDefault) {
    auto lines = Sources(input);
    ASSERT_EQ(lines.size(), 2u);
    size_t monitorLine = lines[0].line.dwComponentType == MIXERLINE_COMPONENTTYPE_SRC_ANALOG ? 0 : 1;
    // Items run in reverse: item 1 - k is line k. Choosing the microphone makes it this process's
    // source; the server's default source stays where the user put it.
    server.Pactl("set-default-source speakers.monitor");
    std::vector<uint32_t> items(2, 0);
    items[monitorLine] = 1;
    ASSERT_EQ(Set(DestinationControlId(kMux), items, 2), MMSYSERR_NOERROR);
    EXPECT_EQ(platform::CaptureSourceName(), "mic");
    EXPECT_NE(server.Pactl("get-default-source").find("speakers.monitor"), std::string::npos);

    std::vector<uint32_t> read(2);
    ASSERT_EQ(Get(DestinationControlId(kMux), read, 2), MMSYSERR_NOERROR);
    EXPECT_EQ(read, items);
    ASSERT_TRUE(server.SetSourceVolume("mic", 16384));
    std::vector<uint32_t> volume(1);
    ASSERT_EQ(Get(DestinationControlId(kVolume), volume), MMSYSERR_NOERROR);
    EXPECT_EQ(volume[0], 16384u) << "the destination's controls follow the selection";
    ASSERT_TRUE(server.SetSourceVolume("mic", 65536));

    // Choosing the stereo mix again follows the default output: no source is held.
    std::vector<uint32_t> mix(2, 0);
    mix[1 - monitorLine] = 1;
    ASSERT_EQ(Set(DestinationControlId(kMux), mix, 2), MMSYSERR_NOERROR);
    EXPECT_TRUE(platform::CaptureSourceName().empty());
    ASSERT_EQ(Get(DestinationControlId(kMux), read, 2), MMSYSERR_NOERROR);
    EXPECT_EQ(read, mix);
}

TEST_F(PulseMixer, ServerChangesArriveAsNotifications) {
    MixerListener in, out;
    HMIXER watchIn = nullptr, watchOut = nullptr;
    ASSERT_EQ(mixerOpen(&watchIn, 1, reinterpret_cast<uintptr_t>(&in), 0, CALLBACK_WINDOW), MMSYSERR_NOERROR);
    ASSERT_EQ(mixerOpen(&watchOut, 0, reinterpret_cast<uintptr_t>(&out), 0, CALLBACK_WINDOW),
              MMSYSERR_NOERROR);
    server.Pactl("set-source-volume mic 40000");
    EXPECT_TRUE(in.WaitFor({MM_MIXM_CONTROL_CHANGE, SourceControlId(SourceIndex("mic"), kVolume)}));
    server.Pactl("set-sink-mute speakers 1");
    EXPECT_TRUE(out.WaitFor({MM_MIXM_CONTROL_CHANGE, DestinationControlId(kMute)}));
    server.Pactl("set-sink-mute speakers 0");
    {
        quortest::SignalPlayer sine(440.0);
        ASSERT_TRUE(sine.Playing());
        EXPECT_TRUE(out.WaitFor({MM_MIXM_LINE_CHANGE, kDestinationLine})) << "a stream started";
        MIXERLINE destination{};
        destination.cbStruct = sizeof destination;
        ASSERT_EQ(mixerGetLineInfo(Obj(watchOut), &destination, H | MIXER_GETLINEINFOF_DESTINATION),
                  MMSYSERR_NOERROR);
        EXPECT_EQ(destination.dwComponentType, MIXERLINE_COMPONENTTYPE_DST_SPEAKERS);
        EXPECT_EQ(std::u16string(destination.szName), u"Speakers");
        ASSERT_GE(destination.cConnections, 1u);
        MIXERLINE stream{};
        stream.cbStruct = sizeof stream;
        ASSERT_EQ(mixerGetLineInfo(Obj(watchOut), &stream, H | MIXER_GETLINEINFOF_SOURCE), MMSYSERR_NOERROR);
        EXPECT_EQ(stream.dwComponentType, MIXERLINE_COMPONENTTYPE_SRC_WAVEOUT);
        EXPECT_EQ(std::u16string(stream.szName), u"quor-test-signal");
    }

    // A restarted server is a new connection (its context may even reuse the old address): the
    // next read subscribes it again and changes keep coming.
    server.Restart();
    ASSERT_TRUE(server.WaitListed("sinks", "speakers"));
    MIXERLINE again{};
    again.cbStruct = sizeof again;
    ASSERT_EQ(mixerGetLineInfo(Obj(watchOut), &again, H | MIXER_GETLINEINFOF_DESTINATION), MMSYSERR_NOERROR);
    {
        std::lock_guard<std::mutex> guard(out.lock);
        out.seen.clear();
    }
    server.Pactl("set-sink-mute speakers 1");
    EXPECT_TRUE(out.WaitFor({MM_MIXM_CONTROL_CHANGE, DestinationControlId(kMute)})) << "after a restart";
    server.Pactl("set-sink-mute speakers 0");
    mixerClose(watchIn);
    mixerClose(watchOut);
}

TEST_F(PulseMixer, SinkVolumeThroughTheOutputDevice) {
    HMIXER out = nullptr;
    ASSERT_EQ(mixerOpen(&out, 0, 0, 0, MIXER_OBJECTF_MIXER), MMSYSERR_NOERROR);
    std::vector<uint32_t> channels{65535, 32768};
    MIXERCONTROLDETAILS d{sizeof d, DestinationControlId(kVolume), 2, 0, sizeof(uint32_t), channels.data()};
    ASSERT_EQ(mixerSetControlDetails(Obj(out), &d, H | MIXER_SETCONTROLDETAILSF_VALUE), MMSYSERR_NOERROR);
    // 0..65535 spans 0..65536 linearly: 32768 lands on 32768.5, rounded up.
    std::string volume = server.Pactl("get-sink-volume speakers");
    EXPECT_NE(volume.find("front-left: 65536"), std::string::npos) << volume;
    EXPECT_NE(volume.find("front-right: 32769"), std::string::npos) << volume;
    // One value for both channels keeps the balance.
    std::vector<uint32_t> one{32768};
    d.cChannels = 1;
    d.paDetails = one.data();
    ASSERT_EQ(mixerSetControlDetails(Obj(out), &d, H | MIXER_SETCONTROLDETAILSF_VALUE), MMSYSERR_NOERROR);
    volume = server.Pactl("get-sink-volume speakers");
    EXPECT_NE(volume.find("front-left: 32769"), std::string::npos) << volume;
    EXPECT_NE(volume.find("front-right: 16385"), std::string::npos) << volume;
    server.Pactl("set-sink-volume speakers 65536");
    mixerClose(out);
}
