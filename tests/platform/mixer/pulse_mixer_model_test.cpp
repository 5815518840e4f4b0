// The mixer devices made from a server's state, with no server: which source is the stereo mix,
// the order and names of the lines (playing applications after the sources), the MUX and the
// controls of the chosen source.
#include "platform/mixer/PulseMixerModel.h"
#include "platform/wavein/CaptureSource.h"

#include <gtest/gtest.h>

using namespace platform;
using namespace platform::pulsemixer;

namespace {

SourceState Source(uint32_t index, const char* name, const char* description,
                   uint32_t monitorOf = PA_INVALID_INDEX) {
    SourceState source;
    source.index = index, source.name = name, source.description = description, source.monitorOf = monitorOf;
    source.volume.channels = 2;
    source.volume.values[0] = PA_VOLUME_NORM, source.volume.values[1] = PA_VOLUME_NORM / 2;
    return source;
}

// Two outputs, the default one's monitor listed last, and a card input described like a stereo mix.
ServerState TwoOutputs(const char* defaultSink = "speakers") {
    ServerState state;
    state.defaultSink = defaultSink;
    state.sinks.resize(2);
    state.sinks[0].index = 4, state.sinks[0].name = defaultSink, state.sinks[0].description = "Speakers";
    state.sinks[1].index = 2, state.sinks[1].name = "hdmi", state.sinks[1].description = "HDMI";
    state.sources = {Source(9, "speakers.monitor", "Monitor of Speakers", 4), Source(3, "mic", "Microphone"),
                     Source(5, "hdmi.monitor", "Monitor of HDMI", 2),
                     Source(7, "usb", "스테레오 믹스 (USB)")};
    OrderServerState(state);
    return state;
}

MixerDestinationModel Capture(const ServerState& state, const std::string& chosen) {
    MixerDeviceModel input;
    BuildInput(state, chosen, input);
    return input.destinations.at(0);
}

} // namespace

TEST(PulseMixerModel, TheDefaultOutputsMonitorAloneIsTheStereoMixAndLeadsTheLines) {
    const MixerDestinationModel capture = Capture(TwoOutputs(), "");
    std::vector<std::u16string> names;
    for (const MixerLineModel& line : capture.sources)
        names.push_back(line.name);
    EXPECT_EQ(names, (std::vector<std::u16string>{u"스테레오 믹스 (Speakers)", u"Microphone",
                                                  u"Monitor of HDMI", u"장치: 스테레오 믹스 (USB)"}));
    EXPECT_EQ(capture.sources[0].componentType, MIXERLINE_COMPONENTTYPE_SRC_ANALOG);
    EXPECT_EQ(capture.sources[1].componentType, MIXERLINE_COMPONENTTYPE_SRC_MICROPHONE);
    // The MUX lists the lines backwards; choosing the stereo mix follows the output (no key).
    const MixerControlModel& mux = capture.line.controls.at(0);
    ASSERT_EQ(mux.items.size(), 4u);
    EXPECT_EQ(mux.items[0].key, "usb");
    EXPECT_EQ(mux.items[3].key, "");
    EXPECT_EQ(mux.values, (std::vector<uint32_t>{0, 0, 0, 1}));
    ASSERT_EQ(capture.line.controls.size(), 3u) << "the MUX, and the selected source's volume and mute";
    EXPECT_EQ(capture.line.controls[1].values,
              (std::vector<uint32_t>{65535, FromServerVolume(PA_VOLUME_NORM / 2)}));
    // The server's stand-in sink is no output: nothing is the stereo mix.
    EXPECT_EQ(TwoOutputs("auto_null").defaultMonitor, "");
}

TEST(PulseMixerModel, AChosenSourceIsSelectedAndOneThatIsGoneLeavesNothingSelected) {
    const ServerState state = TwoOutputs();
    const MixerDestinationModel chosen = Capture(state, "mic");
    EXPECT_EQ(chosen.line.controls[0].values, (std::vector<uint32_t>{0, 0, 1, 0}));
    EXPECT_EQ(chosen.line.controls[1].key, "source:mic");
    const MixerDestinationModel gone = Capture(state, "unplugged");
    EXPECT_EQ(gone.line.controls[0].values, (std::vector<uint32_t>{0, 0, 0, 0}));
    EXPECT_EQ(gone.line.controls.size(), 1u) << "no volume or mute of a source not there";
    EXPECT_EQ(FromServerVolume(PA_VOLUME_NORM * 2), 65535u) << "a boost above 100 % reads as the top";
    EXPECT_EQ(ToServerVolume(65535), PA_VOLUME_NORM);
}

TEST(PulseMixerModel, PlayingApplicationsFollowTheSourcesOnceEachAndOneChosenIsRecordedAtOurLevel) {
    ServerState state = TwoOutputs();
    auto stream = [](uint32_t index, const char* binary, const char* name, const char* icon,
                     pa_volume_t volume) {
        StreamState s;
        s.index = index, s.binary = binary, s.application = name, s.name = name, s.icon = icon;
        pa_cvolume_set(&s.volume, 2, volume);
        return s;
    };
    // Two tabs of one browser, and a program that names itself only by its icon.
    state.streams = {stream(20, "firefox-esr", "Firefox", "firefox", PA_VOLUME_NORM / 2),
                     stream(21, "chat", "", "chat-icon", PA_VOLUME_NORM),
                     stream(22, "firefox-esr", "Firefox", "firefox", PA_VOLUME_NORM)};
    const ApplicationId firefox{"firefox-esr", "Firefox"};
    const std::string firefoxKey = ApplicationSourceName(firefox);
    ASSERT_EQ(ApplicationOfSourceName(firefoxKey), firefox);
    EXPECT_EQ(ApplicationOfSourceName("alsa_input.usb"), std::nullopt) << "a server source is no application";

    const MixerDestinationModel capture = Capture(state, firefoxKey);
    ASSERT_EQ(capture.sources.size(), 6u);
    EXPECT_EQ(capture.sources[4].name, u"프로그램: Firefox");
    EXPECT_EQ(capture.sources[5].name, u"프로그램: chat-icon");
    EXPECT_EQ(capture.sources[4].controls.at(0).values, (std::vector<uint32_t>{65535, 65535}))
        << "the loudest tab's volume";
    EXPECT_EQ(capture.sources[4].controls.at(0).key, "app:" + firefoxKey);
    const MixerControlModel& mux = capture.line.controls.at(0);
    ASSERT_EQ(mux.items.size(), 6u);
    EXPECT_EQ(mux.items[1].key, firefoxKey);
    EXPECT_EQ(mux.values, (std::vector<uint32_t>{0, 1, 0, 0, 0, 0}));
    ASSERT_EQ(capture.line.controls.size(), 3u);
    EXPECT_EQ(capture.line.controls[1].key, "capture:") << "our own level, not the server's";

    // It stops playing: it keeps its line on the selector, selected, with nothing to set.
    state.streams.clear();
    const MixerDestinationModel quiet = Capture(state, firefoxKey);
    ASSERT_EQ(quiet.sources.size(), 5u);
    EXPECT_EQ(quiet.sources[4].name, u"프로그램: Firefox");
    EXPECT_TRUE(quiet.sources[4].controls.empty());
    EXPECT_EQ(quiet.line.controls[0].values, (std::vector<uint32_t>{1, 0, 0, 0, 0}));
}
