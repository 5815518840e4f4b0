// The mixer* functions over a scripted backend: lookups, record filling, detail checks, handle
// rules and notifications, whatever backend sits below.
#include "platform/mixer/Mixer.h"
#include "platform/mixer/ScriptedMixerBackend.h"
#include "tests/platform/mixer/MixerListener.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

using platform::ScriptedMixerBackend;

namespace {

HMIXEROBJ Obj(HMIXER h) {
    return reinterpret_cast<HMIXEROBJ>(h);
}
constexpr uint32_t H = MIXER_OBJECTF_HMIXER;

// Device 0: a speakers destination with two sources; device 1: a capture destination with a MUX,
// a volume and a mute, over three sources.
struct TwoDevices : ::testing::Test {
    ScriptedMixerBackend mixer;
    void SetUp() override {
        using S = ScriptedMixerBackend;
        ScriptedMixerBackend::Device out;
        out.model.productName = u"Realtek HD Audio output";
        platform::MixerDestinationModel speakers;
        speakers.line =
            S::Line(0xFFFF0000, MIXERLINE_COMPONENTTYPE_DST_SPEAKERS, u"Master",
                    {S::Control(1, MIXERCONTROL_CONTROLTYPE_VOLUME, u"Volume", 0, 65535, {100, 200}),
                     S::Control(2, MIXERCONTROL_CONTROLTYPE_MUTE, u"Mute", 0, 1, {0})});
        speakers.line.channels = 2;
        speakers.sources = {S::Line(0x1000, MIXERLINE_COMPONENTTYPE_SRC_WAVEOUT, u"Wave"),
                            S::Line(0x1001, MIXERLINE_COMPONENTTYPE_SRC_COMPACTDISC, u"CD")};
        out.model.destinations.push_back(speakers);

        ScriptedMixerBackend::Device in;
        in.model.productName = u"Realtek HD Audio Input";
        platform::MixerDestinationModel capture;
        capture.sources = {
            S::Line(0x2000, MIXERLINE_COMPONENTTYPE_SRC_MICROPHONE, u"Microphone",
                    {S::Control(20, MIXERCONTROL_CONTROLTYPE_VOLUME, u"Volume", 0, 65535, {5000})}),
            S::Line(0x2001, MIXERLINE_COMPONENTTYPE_SRC_ANALOG, u"Stereo Mix",
                    {S::Control(21, MIXERCONTROL_CONTROLTYPE_MUTE, u"Mute", 0, 1, {1})}),
            S::Line(0x2002, MIXERLINE_COMPONENTTYPE_SRC_LINE, u"Line In")};
        capture.line = S::Line(0xFFFF0001, MIXERLINE_COMPONENTTYPE_DST_WAVEIN, u"Recording",
                               {S::Mux(10, capture.sources, 0),
                                S::Control(11, MIXERCONTROL_CONTROLTYPE_VOLUME, u"Volume", 0, 65535, {30000}),
                                S::Control(12, MIXERCONTROL_CONTROLTYPE_MUTE, u"Mute", 0, 1, {0})});
        in.model.destinations.push_back(capture);
        mixer.devices = {out, in};
        mixer.waveInMixer = 1;
    }
    HMIXER Open(uint32_t id, uint32_t flags = MIXER_OBJECTF_MIXER) {
        HMIXER h = nullptr;
        EXPECT_EQ(mixerOpen(&h, id, 0, 0, flags), MMSYSERR_NOERROR);
        return h;
    }
    MMRESULT Get(HMIXER h, uint32_t id, std::vector<uint32_t>& values, uint32_t channels, uint32_t items) {
        MIXERCONTROLDETAILS d{sizeof d, id, channels, items, sizeof(uint32_t), values.data()};
        return mixerGetControlDetails(Obj(h), &d, H | MIXER_GETCONTROLDETAILSF_VALUE);
    }
    MMRESULT Set(HMIXER h, uint32_t id, std::vector<uint32_t> values, uint32_t channels, uint32_t items) {
        MIXERCONTROLDETAILS d{sizeof d, id, channels, items, sizeof(uint32_t), values.data()};
        return mixerSetControlDetails(Obj(h), &d, H | MIXER_SETCONTROLDETAILSF_VALUE);
    }
};

} // namespace

TEST_F(TwoDevices, CapsAndOpeningByIndexAndByWaveInId) {
    EXPECT_EQ(mixerGetNumDevs(), 2u);
    MIXERCAPS caps{};
    ASSERT_EQ(mixerGetDevCaps(1, &caps, sizeof caps), MMSYSERR_NOERROR);
    EXPECT_EQ(std::u16string(caps.szPname), u"Realtek HD Audio Input");
    EXPECT_EQ(caps.cDestinations, 1u);
    EXPECT_EQ(mixerGetDevCaps(2, &caps, sizeof caps), MMSYSERR_BADDEVICEID);

    HMIXER h = Open(0, MIXER_OBJECTF_WAVEIN);
    ASSERT_NE(h, nullptr);
    MIXERCAPS byHandle{};
    ASSERT_EQ(mixerGetDevCaps(reinterpret_cast<uintptr_t>(h), &byHandle, sizeof byHandle), MMSYSERR_NOERROR);
    EXPECT_EQ(std::u16string(byHandle.szPname), u"Realtek HD Audio Input") << "wave-in 0 belongs to mixer 1";
    EXPECT_EQ(mixer.Opens(1), 1);
    EXPECT_EQ(mixerClose(h), MMSYSERR_NOERROR);
    EXPECT_EQ(mixer.Closes(1), 1);
    EXPECT_EQ(mixerClose(h), MMSYSERR_INVALHANDLE);
    MIXERLINE line{};
    line.cbStruct = sizeof line;
    EXPECT_EQ(mixerGetLineInfo(Obj(h), &line, H | MIXER_GETLINEINFOF_DESTINATION), MMSYSERR_INVALHANDLE);

    mixer.devices[1].openResult = MMSYSERR_NODRIVER;
    HMIXER failed = reinterpret_cast<HMIXER>(1);
    EXPECT_EQ(mixerOpen(&failed, 1, 0, 0, MIXER_OBJECTF_MIXER), MMSYSERR_NODRIVER);
    EXPECT_EQ(failed, nullptr);
    EXPECT_EQ(mixerOpen(&failed, 5, 0, 0, MIXER_OBJECTF_MIXER), MMSYSERR_BADDEVICEID);
}

TEST_F(TwoDevices, LinesByDestinationSourceIdAndComponentType) {
    HMIXER h = Open(1);
    MIXERLINE line{};
    line.cbStruct = sizeof line;
    ASSERT_EQ(mixerGetLineInfo(Obj(h), &line, H | MIXER_GETLINEINFOF_DESTINATION), MMSYSERR_NOERROR);
    EXPECT_EQ(line.dwComponentType, MIXERLINE_COMPONENTTYPE_DST_WAVEIN);
    EXPECT_EQ(line.cConnections, 3u);
    EXPECT_EQ(line.cControls, 3u);
    EXPECT_TRUE(line.fdwLine & MIXERLINE_LINEF_ACTIVE);
    EXPECT_FALSE(line.fdwLine & MIXERLINE_LINEF_SOURCE);

    line.dwSource = 2;
    ASSERT_EQ(mixerGetLineInfo(Obj(h), &line, H | MIXER_GETLINEINFOF_SOURCE), MMSYSERR_NOERROR);
    EXPECT_EQ(std::u16string(line.szName), u"Line In");
    EXPECT_EQ(line.dwSource, 2u);
    EXPECT_TRUE(line.fdwLine & MIXERLINE_LINEF_SOURCE);
    line.dwSource = 3;
    EXPECT_EQ(mixerGetLineInfo(Obj(h), &line, H | MIXER_GETLINEINFOF_SOURCE), MMSYSERR_INVALPARAM);

    line.dwComponentType = MIXERLINE_COMPONENTTYPE_SRC_ANALOG;
    ASSERT_EQ(mixerGetLineInfo(Obj(h), &line, H | MIXER_GETLINEINFOF_COMPONENTTYPE), MMSYSERR_NOERROR);
    EXPECT_EQ(line.dwLineID, 0x2001u);
    EXPECT_EQ(std::u16string(line.szShortName), u"Stereo Mix");
    line.dwComponentType = MIXERLINE_COMPONENTTYPE_DST_SPEAKERS;
    EXPECT_EQ(mixerGetLineInfo(Obj(h), &line, H | MIXER_GETLINEINFOF_COMPONENTTYPE), MIXERR_INVALLINE);

    line.dwLineID = 0x2000;
    ASSERT_EQ(mixerGetLineInfo(Obj(h), &line, H | MIXER_GETLINEINFOF_LINEID), MMSYSERR_NOERROR);
    EXPECT_EQ(std::u16string(line.szName), u"Microphone");
    line.cbStruct = sizeof line - 4;
    EXPECT_EQ(mixerGetLineInfo(Obj(h), &line, H | MIXER_GETLINEINFOF_LINEID), MMSYSERR_INVALPARAM);

    // By index without opening, as the classic calls allow.
    MIXERLINE byIndex{};
    byIndex.cbStruct = sizeof byIndex;
    ASSERT_EQ(mixerGetLineInfo(reinterpret_cast<HMIXEROBJ>(uintptr_t{0}), &byIndex,
                               MIXER_OBJECTF_MIXER | MIXER_GETLINEINFOF_DESTINATION),
              MMSYSERR_NOERROR);
    EXPECT_EQ(std::u16string(byIndex.szName), u"Master");
    mixerClose(h);
}

TEST_F(TwoDevices, ControlsAllOneByTypeAndOneById) {
    HMIXER h = Open(1);
    MIXERCONTROL controls[3]{};
    MIXERLINECONTROLS query{sizeof query, 0xFFFF0001, {0}, 3, sizeof(MIXERCONTROL), controls};
    ASSERT_EQ(mixerGetLineControls(Obj(h), &query, H | MIXER_GETLINECONTROLSF_ALL), MMSYSERR_NOERROR);
    EXPECT_EQ(controls[0].dwControlType, MIXERCONTROL_CONTROLTYPE_MUX);
    EXPECT_EQ(controls[0].cMultipleItems, 3u);
    EXPECT_EQ(controls[1].Bounds.dwMaximum, 65535u);
    EXPECT_EQ(std::u16string(controls[2].szName), u"Mute");
    query.cControls = 2;
    EXPECT_EQ(mixerGetLineControls(Obj(h), &query, H | MIXER_GETLINECONTROLSF_ALL), MMSYSERR_INVALPARAM);

    MIXERCONTROL one{};
    MIXERLINECONTROLS byType{sizeof byType, 0xFFFF0001, {MIXERCONTROL_CONTROLTYPE_MUTE}, 1, sizeof one, &one};
    ASSERT_EQ(mixerGetLineControls(Obj(h), &byType, H | MIXER_GETLINECONTROLSF_ONEBYTYPE), MMSYSERR_NOERROR);
    EXPECT_EQ(one.dwControlID, 12u);
    byType.dwLineID = 0x2002; // a line without controls
    byType.dwControlType = MIXERCONTROL_CONTROLTYPE_MUTE;
    EXPECT_EQ(mixerGetLineControls(Obj(h), &byType, H | MIXER_GETLINECONTROLSF_ONEBYTYPE),
              MIXERR_INVALCONTROL);
    byType.dwLineID = 0x9999;
    EXPECT_EQ(mixerGetLineControls(Obj(h), &byType, H | MIXER_GETLINECONTROLSF_ONEBYTYPE), MIXERR_INVALLINE);

    MIXERLINECONTROLS byId{sizeof byId, 0, {21}, 1, sizeof one, &one};
    ASSERT_EQ(mixerGetLineControls(Obj(h), &byId, H | MIXER_GETLINECONTROLSF_ONEBYID), MMSYSERR_NOERROR);
    EXPECT_EQ(byId.dwLineID, 0x2001u) << "the control's line is reported";
    EXPECT_EQ(one.dwControlType, MIXERCONTROL_CONTROLTYPE_MUTE);
    byId.dwControlID = 99;
    EXPECT_EQ(mixerGetLineControls(Obj(h), &byId, H | MIXER_GETLINECONTROLSF_ONEBYID), MIXERR_INVALCONTROL);
    mixerClose(h);
}

TEST_F(TwoDevices, DetailsCheckTheirShapeAndRange) {
    HMIXER h = Open(0);
    std::vector<uint32_t> v(2);
    ASSERT_EQ(Get(h, 1, v, 2, 0), MMSYSERR_NOERROR);
    EXPECT_EQ(v, (std::vector<uint32_t>{100, 200}));
    ASSERT_EQ(Get(h, 1, v, 1, 0), MMSYSERR_NOERROR);
    EXPECT_EQ(v[0], 200u) << "one value for two channels: the loudest";
    EXPECT_EQ(Get(h, 1, v, 3, 0), MMSYSERR_INVALPARAM);
    EXPECT_EQ(Get(h, 2, v, 2, 0), MMSYSERR_INVALPARAM) << "a uniform control has one channel";
    EXPECT_EQ(Set(h, 1, {70000}, 1, 0), MIXERR_INVALVALUE);
    EXPECT_EQ(Set(h, 2, {2}, 1, 0), MIXERR_INVALVALUE);
    EXPECT_EQ(Set(h, 77, {1}, 1, 0), MIXERR_INVALCONTROL);
    EXPECT_TRUE(mixer.Writes().empty()) << "refused writes never reach the backend";
    ASSERT_EQ(Set(h, 1, {300, 400}, 2, 0), MMSYSERR_NOERROR);
    EXPECT_EQ(mixer.Values(0, 1), (std::vector<uint32_t>{300, 400}));

    MIXERCONTROLDETAILS bad{sizeof bad, 1, 1, 0, sizeof(uint32_t), nullptr};
    EXPECT_EQ(mixerGetControlDetails(Obj(h), &bad, H | MIXER_GETCONTROLDETAILSF_VALUE), MMSYSERR_INVALPARAM);
    mixerClose(h);
}

TEST_F(TwoDevices, MuxTakesExactlyOneItemAndListsItsLines) {
    HMIXER h = Open(1);
    std::vector<uint32_t> v(3);
    ASSERT_EQ(Get(h, 10, v, 1, 3), MMSYSERR_NOERROR);
    EXPECT_EQ(v, (std::vector<uint32_t>{0, 0, 1})) << "item 2 of 3 is source line 0";
    EXPECT_EQ(Get(h, 10, v, 1, 2), MMSYSERR_INVALPARAM);
    EXPECT_EQ(Set(h, 10, {1, 1, 0}, 1, 3), MIXERR_INVALVALUE);
    EXPECT_EQ(Set(h, 10, {0, 0, 0}, 1, 3), MIXERR_INVALVALUE);
    ASSERT_EQ(Set(h, 10, {0, 1, 0}, 1, 3), MMSYSERR_NOERROR);

    MIXERCONTROLDETAILS_LISTTEXT texts[3]{};
    MIXERCONTROLDETAILS d{sizeof d, 10, 1, 3, sizeof(MIXERCONTROLDETAILS_LISTTEXT), texts};
    ASSERT_EQ(mixerGetControlDetails(Obj(h), &d, H | MIXER_GETCONTROLDETAILSF_LISTTEXT), MMSYSERR_NOERROR);
    EXPECT_EQ(std::u16string(texts[0].szName), u"Line In");
    EXPECT_EQ(texts[0].dwParam1, 0x2002u);
    EXPECT_EQ(std::u16string(texts[2].szName), u"Microphone");
    mixerClose(h);
}

TEST_F(TwoDevices, ChangesReachTheOpenersOfThatDeviceUntilTheyClose) {
    MixerListener input, output;
    HMIXER in = nullptr, out = nullptr;
    ASSERT_EQ(mixerOpen(&in, 1, reinterpret_cast<uintptr_t>(&input), 0, CALLBACK_WINDOW), MMSYSERR_NOERROR);
    ASSERT_EQ(mixerOpen(&out, 0, reinterpret_cast<uintptr_t>(&output), 0, CALLBACK_WINDOW), MMSYSERR_NOERROR);
    platform::NotifyMixerChange(1, MM_MIXM_CONTROL_CHANGE, 11);
    platform::NotifyMixerChange(1, MM_MIXM_LINE_CHANGE, 0xFFFF0001);
    ASSERT_TRUE(input.WaitForCount(2));
    EXPECT_EQ(input.seen[0], std::make_pair(MM_MIXM_CONTROL_CHANGE, 11u));
    EXPECT_EQ(input.seen[1], std::make_pair(MM_MIXM_LINE_CHANGE, 0xFFFF0001u));
    EXPECT_NE(input.thread, std::this_thread::get_id()) << "delivered on the notification thread";

    mixerClose(in);
    platform::NotifyMixerChange(1, MM_MIXM_CONTROL_CHANGE, 12);
    platform::NotifyMixerChange(0, MM_MIXM_CONTROL_CHANGE, 1);
    ASSERT_TRUE(output.WaitForCount(1)); // delivered in order: the device-1 change went before
    EXPECT_EQ(input.seen.size(), 2u) << "nothing after close";
    EXPECT_EQ(output.seen.size(), 1u) << "only its own device's changes";
    mixerClose(out);
}

TEST(MixerNames, CutAtCharacterBoundariesAndConvertBothWays) {
    char16_t field[4];
    platform::CopyMixerName(field, 4, u"abcdef");
    EXPECT_EQ(std::u16string(field), u"abc");
    platform::CopyMixerName(field, 4, u"ab\U0001F3B5");
    EXPECT_EQ(std::u16string(field), u"ab") << "no half surrogate pair";
    const std::string korean = "스테레오 믹스 (Speakers) \xF0\x9F\x8E\xB5";
    EXPECT_EQ(platform::Utf16ToUtf8(platform::Utf8ToUtf16(korean)), korean);
    EXPECT_EQ(platform::Utf8ToUtf16("a\xC3"), u"a\uFFFD") << "a cut sequence is replaced, not read past";
}
