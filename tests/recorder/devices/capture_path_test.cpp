// Capture-path discovery and the start-up sequence over scripted mixers: which devices count as
// input mixers, which line is the stereo mix, the MUX value written and where, the slider rule,
// the unmute rules and the failure path.
#include "platform/mixer/PulseMixerModel.h"
#include "platform/mixer/ScriptedMixerBackend.h"
#include "recorder/devices/CVolumeCtrl.h"
#include "recorder/devices/CapturePath.h"
#include "tests/recorder/devices/UiRecorders.h"

#include <gtest/gtest.h>

using platform::MixerDestinationModel;
using platform::MixerLineModel;
using S = platform::ScriptedMixerBackend;

namespace {

constexpr uint32_t kMuxId = 10, kVolumeId = 11, kMuteId = 12, kAnalogMuteId = 21;

MixerLineModel Source(uint32_t id, const std::u16string& name,
                      uint32_t type = MIXERLINE_COMPONENTTYPE_SRC_LINE,
                      std::vector<platform::MixerControlModel> controls = {}) {
    return S::Line(id, type, name, std::move(controls));
}

// A capture destination over the given source lines with a MUX, a volume and a mute.
MixerDestinationModel Capture(std::vector<MixerLineModel> sources, uint32_t volume = 16384,
                              uint32_t mute = 0) {
    MixerDestinationModel d;
    d.sources = std::move(sources);
    d.line = S::Line(0xFFFF0001, MIXERLINE_COMPONENTTYPE_DST_WAVEIN, u"Recording",
                     {S::Mux(kMuxId, d.sources, 0),
                      S::Control(kVolumeId, MIXERCONTROL_CONTROLTYPE_VOLUME, u"Volume", 0, 65535, {volume}),
                      S::Control(kMuteId, MIXERCONTROL_CONTROLTYPE_MUTE, u"Mute", 0, 1, {mute})});
    return d;
}

S::Device Device(const std::u16string& name, std::vector<MixerDestinationModel> destinations = {}) {
    S::Device device;
    device.model.productName = name;
    device.model.destinations = std::move(destinations);
    return device;
}

struct Discovery : ::testing::Test {
    S mixer;
    RecordingSlider slider;
    RecordingHost host;

    // The last MUX write: its device, control and items.
    S::WriteRecord LastMuxWrite() {
        auto writes = mixer.Writes();
        for (auto it = writes.rbegin(); it != writes.rend(); ++it)
            if (it->controlId == kMuxId)
                return *it;
        ADD_FAILURE() << "no MUX write";
        return {};
    }
    void Lines(std::vector<MixerLineModel> sources) {
        mixer.devices = {Device(u"Speakers output"), Device(u"Card Input", {Capture(std::move(sources))})};
        mixer.waveInMixer = 1;
    }
    // Line 0 a microphone, line 1 a stereo mix with a mute; the capture volume 16384.
    void MicAndStereoMix(const std::u16string& mixName, uint32_t mixMute, uint32_t destinationMute) {
        auto stereo =
            Source(0x2001, mixName, MIXERLINE_COMPONENTTYPE_SRC_ANALOG,
                   {S::Control(kAnalogMuteId, MIXERCONTROL_CONTROLTYPE_MUTE, u"Mute", 0, 2, {mixMute})});
        mixer.devices = {
            Device(u"Speakers output"),
            Device(u"Card Input", {Capture({Source(0x2000, u"Mic"), stereo}, 16384, destinationMute)})};
        mixer.waveInMixer = 1;
    }
};

} // namespace

TEST_F(Discovery, OnlyDevicesWhoseNameEndsInInputIgnoringCaseAreListed) {
    mixer.devices = {Device(u"Realtek output"), Device(u"Realtek Input"), Device(u"USB audio input"),
                     Device(u"INPUT"),          Device(u"put"),           Device(u"Input jack 2")};
    mixer.devices[2].capsResult = MMSYSERR_ERROR; // unreadable: not listed, not opened
    CapturePath path(host, slider);
    EXPECT_TRUE(path.FindInputMixers());
    ASSERT_EQ(path.InputDevices().size(), 2u);
    EXPECT_EQ(path.InputDevices()[0].name, u"Realtek Input");
    EXPECT_EQ(path.InputDevices()[0].index, 1u);
    EXPECT_EQ(path.InputDevices()[1].index, 3u);
    EXPECT_EQ(path.SelectedInputDevice(), 0);
    EXPECT_EQ(mixer.Opens(0), 1) << "every readable device is opened, input or not";
    EXPECT_EQ(mixer.Opens(2), 0);
}

TEST_F(Discovery, NoStereoMixNameSelectsTheFirstLineAsTheLastMuxItem) {
    // "Stereo Mix" with a capital S is not one of the names.
    Lines({Source(0x2000, u"CD Volume"), Source(0x2001, u"Microphone"), Source(0x2002, u"Stereo Mix")});
    CapturePath path(host, slider);
    path.FindInputMixers();
    EXPECT_EQ(path.SourceLines(), (std::vector<std::u16string>{u"CD Volume", u"Microphone", u"Stereo Mix"}));
    EXPECT_EQ(path.StereoMixPosition(), 0u);
    auto write = LastMuxWrite();
    EXPECT_EQ(write.device, 1u);
    EXPECT_EQ(write.values, (std::vector<uint32_t>{0, 0, 1})) << "line 0 is MUX item 2 of 3";
}

TEST_F(Discovery, StereoMixerNameSelectsItsItem) {
    Lines({Source(0x2000, u"Microphone"), Source(0x2001, u"stereo mixer")});
    CapturePath path(host, slider);
    path.FindInputMixers();
    EXPECT_EQ(path.StereoMixPosition(), 1u);
    EXPECT_EQ(LastMuxWrite().values, (std::vector<uint32_t>{1, 0})) << "line 1 is MUX item 0 of 2";
    EXPECT_EQ(mixer.Values(1, kMuxId), (std::vector<uint32_t>{1, 0}));
}

TEST_F(Discovery, NameRulesAreCaseSensitivePrefixesAndTheLaterMatchWins) {
    Lines({Source(0x2000, u"summe"), Source(0x2001, u"Sum"), Source(0x2002, u"스테레오 믹스 (Speakers)"),
           Source(0x2003, u"Mic"), Source(0x2004, u"my sum")});
    CapturePath path(host, slider);
    path.FindInputMixers();
    EXPECT_EQ(path.StereoMixPosition(), 2u);
    EXPECT_EQ(LastMuxWrite().values, (std::vector<uint32_t>{0, 0, 1, 0, 0}));
    EXPECT_TRUE(CapturePath::IsStereoMixName(u"sum"));
    EXPECT_FALSE(CapturePath::IsStereoMixName(u"Stereo mixer"));
    EXPECT_FALSE(CapturePath::IsStereoMixName(u" 스테레오 믹스"));
}

TEST_F(Discovery, OnlyTheDefaultOutputsMonitorIsNamedAndSelectedAsTheStereoMix) {
    using platform::pulsemixer::SourceLineName;
    // As the sound server's mixer names its lines: the default output's monitor first, then a
    // card's own input described like a stereo mix, another output's monitor described "sum…" and
    // a microphone.
    const std::vector<std::u16string> names = {
        SourceLineName("Monitor of Speakers", true, "Speakers"),
        SourceLineName("스테레오 믹스 (USB)", false, ""), SourceLineName("sum bus", false, ""),
        SourceLineName("stereo mixer", false, ""), SourceLineName("Microphone", false, "")};
    EXPECT_EQ(names, (std::vector<std::u16string>{u"스테레오 믹스 (Speakers)", u"장치: 스테레오 믹스 (USB)",
                                                  u"장치: sum bus", u"장치: stereo mixer", u"Microphone"}));
    std::vector<MixerLineModel> lines;
    for (uint32_t k = 0; k < names.size(); ++k)
        lines.push_back(Source(0x2000 + k, names[k]));
    Lines(lines);
    CapturePath path(host, slider);
    path.FindInputMixers();
    EXPECT_EQ(path.StereoMixPosition(), 0u) << "no later line wins";
    EXPECT_EQ(LastMuxWrite().values, (std::vector<uint32_t>{0, 0, 0, 0, 1}));
}

TEST_F(Discovery, SelectionGoesToTheCaptureDestinationsMuxFromTheControlList) {
    // A source line that carries a MUX of its own comes after the destination's in the list.
    auto line = Source(0x2001, u"stereo mixer", MIXERLINE_COMPONENTTYPE_SRC_ANALOG,
                       {S::Control(77, MIXERCONTROL_CONTROLTYPE_MUX, u"mux", 0, 0, {0})});
    Lines({Source(0x2000, u"Microphone"), line});
    CapturePath path(host, slider);
    path.FindInputMixers();
    ASSERT_EQ(path.CaptureControls().size(), 2u);
    EXPECT_EQ(path.CaptureControls()[0].text, u"Recording-Mux");
    EXPECT_EQ(path.CaptureControls()[0].controlId, kMuxId);
    EXPECT_EQ(path.CaptureControls()[1].text, u"stereo mixer-mux");
    auto write = LastMuxWrite();
    EXPECT_EQ(write.controlId, kMuxId) << "never control 0, never a source line's MUX";
}

TEST_F(Discovery, OnlyLinesFromTheCaptureDestinationOnAndActiveDestinationsCount) {
    MixerDestinationModel speakers;
    speakers.line = S::Line(0xFFFF0000, MIXERLINE_COMPONENTTYPE_DST_SPEAKERS, u"Master");
    speakers.sources = {Source(0x1000, u"sum before the capture destination")};
    MixerDestinationModel inactive;
    inactive.line = S::Line(0xFFFF0002, MIXERLINE_COMPONENTTYPE_DST_LINE, u"Off");
    inactive.line.flags = 0;
    inactive.sources = {Source(0x3000, u"never listed")};
    MixerDestinationModel after;
    after.line = S::Line(0xFFFF0003, MIXERLINE_COMPONENTTYPE_DST_LINE, u"After");
    after.sources = {Source(0x4000, u"listed: the mark stays set")};
    mixer.devices = {
        Device(u"Mixer Input", {speakers, Capture({Source(0x2000, u"Microphone")}), inactive, after})};
    mixer.waveInMixer = 0;
    CapturePath path(host, slider);
    path.FindInputMixers();
    EXPECT_EQ(path.SourceLines(),
              (std::vector<std::u16string>{u"Microphone", u"listed: the mark stays set"}));
}

TEST_F(Discovery, SecondRunReusesTheTablesAndRelistsWithoutRepeating) {
    Lines({Source(0x2000, u"Microphone"), Source(0x2001, u"sum")});
    CapturePath path(host, slider);
    path.FindInputMixers();
    mixer.devices.push_back(Device(u"Late Input")); // appears later: the tables are not rebuilt
    path.FindInputMixers();
    EXPECT_EQ(mixer.Opens(0), 1);
    EXPECT_EQ(mixer.Opens(1), 1);
    EXPECT_EQ(path.MixerCount(), 2u);
    EXPECT_EQ(path.InputDevices().size(), 1u);
    EXPECT_EQ(path.SourceLines().size(), 2u);
    EXPECT_EQ(path.CaptureControls().size(), 1u);
    EXPECT_EQ(path.StereoMixPosition(), 1u);
}

TEST_F(Discovery, NoInputMixerMeansNoSelection) {
    mixer.devices = {Device(u"Speakers output")};
    CapturePath path(host, slider);
    path.FindInputMixers();
    EXPECT_TRUE(path.SourceLines().empty());
    EXPECT_TRUE(mixer.Writes().empty());
}

TEST_F(Discovery, ClosesTheMixersItOpened) {
    Lines({Source(0x2000, u"Microphone")});
    {
        CapturePath path(host, slider);
        path.FindInputMixers();
    }
    EXPECT_EQ(mixer.Closes(0), 1);
    EXPECT_EQ(mixer.Closes(1), 1);
}

TEST_F(Discovery, StartUpUnmutesAndConnectsTheSlider) {
    // Analog-source mute reads 2: cleared. Capture destination mute reads 2: left.
    MicAndStereoMix(u"stereo mixer", 2, 2);
    CapturePath path(host, slider);
    path.PrepareCapturePath();
    EXPECT_EQ(mixer.Value(1, kAnalogMuteId), 0);
    EXPECT_EQ(mixer.Value(1, kMuteId), 2);
    ASSERT_TRUE(slider.range.has_value());
    EXPECT_EQ(*slider.range, std::make_pair(0, 65535));
    EXPECT_EQ(slider.position, 49151) << "maximum - 16384";
    path.OnVolumeSliderMoved(0);
    EXPECT_EQ(mixer.Value(1, kVolumeId), 65535) << "the top of the slider is the maximum";
    path.OnVolumeSliderMoved(65535);
    EXPECT_EQ(mixer.Value(1, kVolumeId), 0);
    EXPECT_TRUE(host.boxes.empty());
    EXPECT_EQ(path.StereoMixPosition(), 1u);
}

TEST_F(Discovery, CaptureDestinationMuteReadingOneIsCleared) {
    mixer.devices = {Device(u"Card Input", {Capture({Source(0x2000, u"Mic")}, 100, 1)})};
    mixer.waveInMixer = 0;
    CapturePath path(host, slider);
    path.PrepareCapturePath();
    EXPECT_EQ(mixer.Value(0, kMuteId), 0);
}

TEST_F(Discovery, WithoutAnyMixerTheSliderIsZeroToZeroAndNothingIsShown) {
    CapturePath path(host, slider);
    path.PrepareCapturePath();
    ASSERT_TRUE(slider.range.has_value());
    EXPECT_EQ(*slider.range, std::make_pair(0, 0));
    EXPECT_FALSE(slider.position.has_value());
    EXPECT_TRUE(host.boxes.empty());
    EXPECT_EQ(host.panels, 0);
}

TEST_F(Discovery, UnopenableCaptureMixerShowsTheStereoDeviceNoticeAndThePanelThenStillDiscovers) {
    Lines({Source(0x2000, u"Mic"), Source(0x2001, u"sum")});
    mixer.waveInMixer = -1; // wave input 0 has no mixer
    CapturePath path(host, slider);
    path.PrepareCapturePath();
    ASSERT_EQ(host.boxes.size(), 1u);
    EXPECT_EQ(host.boxes[0].title, "알림");
    EXPECT_EQ(host.boxes[0].message,
              "녹음을 위해서 스테레오 장치가 필요합니다.\r\n스테레오 믹스를 사용 및 기본 장치로 설정해 "
              "주세요.\r\n사운드 설정탭을 오픈합니다.");
    EXPECT_EQ(host.boxes[0].layout, 1);
    EXPECT_EQ(host.boxes[0].width, 350);
    EXPECT_EQ(host.boxes[0].height, 180);
    EXPECT_EQ(host.panels, 1);
    EXPECT_FALSE(slider.range.has_value());
    EXPECT_EQ(path.StereoMixPosition(), 1u) << "the discovery still runs";
}

TEST_F(Discovery, RecoveryWaitsForAChosenLineThatIsMissingThenTellsAndSelectsTheStereoMix) {
    // Line 0 a microphone, line 1 the stereo mix (muted: start-up clears it); no MUX item is
    // selected, the mixer's way of saying that the chosen line has gone.
    MicAndStereoMix(u"스테레오 믹스 (Speakers)", 1, 0);
    CapturePath path(host, slider);
    path.FindInputMixers();
    mixer.SetValues(1, kMuxId, {0, 0});
    const size_t writes = mixer.Writes().size();
    EXPECT_EQ(path.RecoverCapturePath(true), CapturePath::Recovery::Waiting);
    EXPECT_EQ(mixer.Writes().size(), writes) << "nothing changes while the line may still come";
    EXPECT_TRUE(host.boxes.empty());

    EXPECT_EQ(path.RecoverCapturePath(false), CapturePath::Recovery::Done);
    ASSERT_EQ(host.boxes.size(), 1u);
    EXPECT_EQ(host.boxes[0].message, CapturePath::kChosenSourceGoneMessage);
    EXPECT_EQ(host.boxes[0].width, 300);
    EXPECT_EQ(host.boxes[0].height, 150);
    EXPECT_EQ(mixer.Values(1, kMuxId), (std::vector<uint32_t>{1, 0}));
    EXPECT_EQ(mixer.Value(1, kAnalogMuteId), 0) << "as at start-up";
    EXPECT_EQ(slider.position, 65535 - 16384);
}

TEST(VolumeCtrl, FailedSearchKeepsNamesButClearsIdentifiers) {
    S mixer;
    mixer.devices = {Device(u"Card Input", {Capture({Source(0x2000, u"Mic")}, 1234)})};
    CVolumeCtrl ctrl;
    ASSERT_EQ(ctrl.Init(MIXER_OBJECTF_WAVEIN), 1);
    ASSERT_EQ(ctrl.FindControl(MIXERLINE_COMPONENTTYPE_DST_WAVEIN, MIXERCONTROL_CONTROLTYPE_VOLUME), 1);
    EXPECT_EQ(ctrl.ControlId(), kVolumeId);
    EXPECT_EQ(ctrl.LineName(), u"Recording");
    uint32_t value = 0;
    ASSERT_EQ(ctrl.GetValue(value), 1);
    EXPECT_EQ(value, 1234u);
    EXPECT_EQ(ctrl.FindControl(MIXERLINE_COMPONENTTYPE_SRC_ANALOG, MIXERCONTROL_CONTROLTYPE_VOLUME), 0);
    EXPECT_EQ(ctrl.LineName(), u"Recording");
    EXPECT_EQ(ctrl.ControlId(), 0u);
    EXPECT_EQ(ctrl.Maximum(), 0u);
    value = 77;
    EXPECT_EQ(ctrl.GetValue(value), 0) << "control 0 does not exist here";
    EXPECT_EQ(value, 77u) << "left untouched on failure";

    CVolumeCtrl none;
    EXPECT_EQ(none.SetValue(1), 0) << "no handle: fails without calling the mixer";
    EXPECT_EQ(none.FindAnalogMute(), 0);
}
