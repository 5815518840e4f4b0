// The volume page over scripted mixers: device and line lists, which controls a line shows,
// what moving them writes, the source selector, change notifications and closing the handles.
#include "platform/mixer/ScriptedMixerBackend.h"
#include "recorder/devices/dialog/CSettingDlg_Volume.h"
#include "recorder/devices/dialog/MulDiv.h"
#include "tests/support/Eventually.h"
#include "tests/support/gui/GuiHelpers.h"

#include <QCheckBox>
#include <QComboBox>
#include <QListWidget>
#include <QSlider>
#include <QTest>

#include <gtest/gtest.h>

#include <chrono>
#include <memory>

using namespace quortest::gui;
using platform::ScriptedMixerBackend;
using quortest::Eventually;
using S = ScriptedMixerBackend;

namespace {

constexpr uint32_t kMux = 10, kRecordingVolume = 11, kMicVolume = 12, kMicMute = 13, kMixVolume = 14,
                   kMixMute = 15, kMasterVolume = 1, kMasterMute = 2, kWaveVolume = 3, kWaveMute = 4;

// Device 0 plays (speakers: Master, Wave, and CD without controls); device 1 records (a MUX over
// Microphone and Stereo Mix); device 2 starts with a destination of another kind.
class VolumePage : public ::testing::Test {
protected:
    void SetUp() override {
        S::Device out;
        out.model.productName = u"Realtek Output";
        platform::MixerDestinationModel speakers;
        speakers.line =
            S::Line(100, MIXERLINE_COMPONENTTYPE_DST_SPEAKERS, u"Master",
                    {S::Control(kMasterVolume, MIXERCONTROL_CONTROLTYPE_VOLUME, u"Volume", 0, 65535, {40000}),
                     S::Control(kMasterMute, MIXERCONTROL_CONTROLTYPE_MUTE, u"Mute", 0, 1, {0})});
        speakers.sources = {
            S::Line(101, MIXERLINE_COMPONENTTYPE_SRC_WAVEOUT, u"Wave",
                    {S::Control(kWaveVolume, MIXERCONTROL_CONTROLTYPE_VOLUME, u"Volume", 0, 65535, {65535}),
                     S::Control(kWaveMute, MIXERCONTROL_CONTROLTYPE_MUTE, u"Mute", 0, 1, {1})}),
            S::Line(102, MIXERLINE_COMPONENTTYPE_SRC_COMPACTDISC, u"CD")};
        out.model.destinations.push_back(speakers);

        S::Device in;
        in.model.productName = u"Realtek Input";
        platform::MixerDestinationModel capture;
        capture.sources = {
            S::Line(201, MIXERLINE_COMPONENTTYPE_SRC_MICROPHONE, u"Microphone",
                    {S::Control(kMicVolume, MIXERCONTROL_CONTROLTYPE_VOLUME, u"Volume", 0, 100, {50}),
                     S::Control(kMicMute, MIXERCONTROL_CONTROLTYPE_MUTE, u"Mute", 0, 1, {0})}),
            S::Line(202, MIXERLINE_COMPONENTTYPE_SRC_ANALOG, u"Stereo Mix",
                    {S::Control(kMixVolume, MIXERCONTROL_CONTROLTYPE_VOLUME, u"Volume", 0, 65535, {16384}),
                     S::Control(kMixMute, MIXERCONTROL_CONTROLTYPE_MUTE, u"Mute", 0, 1, {1})})};
        // The MUX lists its items in the reverse order of the lines: Stereo Mix, Microphone.
        capture.line = S::Line(
            200, MIXERLINE_COMPONENTTYPE_DST_WAVEIN, u"Recording",
            {S::Mux(kMux, capture.sources, 0),
             S::Control(kRecordingVolume, MIXERCONTROL_CONTROLTYPE_VOLUME, u"Volume", 0, 65535, {30000})});
        in.model.destinations.push_back(capture);

        S::Device other;
        other.model.productName = u"Digital Link";
        platform::MixerDestinationModel line;
        line.line = S::Line(300, MIXERLINE_COMPONENTTYPE_DST_DIGITAL, u"S/PDIF",
                            {S::Control(30, MIXERCONTROL_CONTROLTYPE_VOLUME, u"Volume", 0, 65535, {1})});
        other.model.destinations.push_back(line);
        other.model.destinations.push_back(speakers);

        mixer.devices = {out, in, other};
    }

    void Open() {
        page = std::make_unique<CSettingDlg_Volume>();
        page->resize(333, 304);
        page->show();
    }
    template <typename T> T* Control(const char* id) { return FindControlAs<T>(page.get(), id); }
    void ChooseDevice(uint32_t device) {
        auto* devices = Control<QComboBox>("IDC_COMBO_DEVICE");
        devices->setCurrentIndex(devices->findData(device));
    }
    void ChooseLine(const char* listId, const QString& name) {
        auto* list = Control<QListWidget>(listId);
        const auto found = list->findItems(name, Qt::MatchExactly);
        ASSERT_EQ(found.size(), 1) << name.toStdString();
        list->setCurrentItem(found.front());
    }
    static QStringList Texts(QListWidget* list) {
        QStringList texts;
        for (int i = 0; i < list->count(); ++i)
            texts << list->item(i)->text();
        return texts;
    }
    static QStringList Texts(QComboBox* box) {
        QStringList texts;
        for (int i = 0; i < box->count(); ++i)
            texts << box->itemText(i);
        return texts;
    }
    // A drag of the thumb to `position`, released there.
    static void Drag(QSlider* slider, int position) {
        slider->setSliderDown(true);
        slider->setValue(position);
        slider->setSliderDown(false);
    }
    bool Shown(const char* id) { return !FindControl(page.get(), id)->isHidden(); }

    ScriptedMixerBackend mixer;
    std::unique_ptr<CSettingDlg_Volume> page;
};

TEST(VolumeScale, MulDivRoundsWithAWideIntermediate) {
    EXPECT_EQ(MulDiv(50, 65535, 100), 32768);
    EXPECT_EQ(MulDiv(32768, 65535, 65535), 32768);
    EXPECT_EQ(MulDiv(65535, 65535, 65535), 65535);
    EXPECT_EQ(MulDiv(16384, 100, 65535), 25);
    EXPECT_EQ(MulDiv(1, 1, 2), 1); // halves round up
    EXPECT_EQ(MulDiv(7, 0, 65535), 0);
    EXPECT_EQ(MulDiv(7, 65535, 0), 0) << "a slider of range 0 … 0";
}

TEST_F(VolumePage, ListsDevicesSortedAndTheFirstOnesRecordingLines) {
    mixer.devices[0].model.destinations[0].sources[0].name = u"aux"; // sorted as "AUX" would be
    Open();
    auto* devices = Control<QComboBox>("IDC_COMBO_DEVICE");
    EXPECT_EQ(Texts(devices), QStringList({"Digital Link", "Realtek Input", "Realtek Output"}));
    EXPECT_EQ(devices->itemData(1).toUInt(), 1u);
    EXPECT_EQ(devices->itemData(2).toUInt(), 0u);
    // "Digital Link" comes first and starts with a destination of another kind: no lines.
    EXPECT_EQ(devices->currentIndex(), 0);
    EXPECT_EQ(Control<QListWidget>("IDC_LIST_RECORD_LINES")->count(), 0);
    EXPECT_EQ(Control<QListWidget>("IDC_LIST_PLAYBACK_LINES")->count(), 0);

    ChooseDevice(1);
    EXPECT_TRUE(Shown("IDC_LIST_RECORD_LINES"));
    EXPECT_FALSE(Shown("IDC_LIST_PLAYBACK_LINES"));
    EXPECT_EQ(Texts(Control<QListWidget>("IDC_LIST_RECORD_LINES")),
              QStringList({"Microphone", "Recording", "Stereo Mix"}));
    // Entry k is MUX item k, named as the MUX names it.
    EXPECT_EQ(Texts(Control<QComboBox>("IDC_COMBO_SOURCE")), QStringList({"Stereo Mix", "Microphone"}));
    for (const char* id : {"IDC_COMBO_SOURCE", "IDC_SLIDER_PLAYBACK", "IDC_CHK_PLAYBACK_SWITCH",
                           "IDC_SLIDER_RECORD", "IDC_CHK_RECORD_SWITCH"})
        EXPECT_FALSE(Shown(id)) << id;
    EXPECT_EQ(Control<QCheckBox>("IDC_CHK_RECORD_SWITCH")->text(), "Check2");

    ChooseDevice(0);
    EXPECT_TRUE(Shown("IDC_LIST_PLAYBACK_LINES"));
    EXPECT_FALSE(Shown("IDC_LIST_RECORD_LINES"));
    EXPECT_EQ(Texts(Control<QListWidget>("IDC_LIST_PLAYBACK_LINES")), QStringList({"aux", "Master"}))
        << "a line without controls is not listed";
    EXPECT_EQ(Control<QComboBox>("IDC_COMBO_SOURCE")->count(), 0);
}

TEST_F(VolumePage, ARecordingLineShowsItsVolumeAndSwitchAndWritesThem) {
    Open();
    ChooseDevice(1);
    ChooseLine("IDC_LIST_RECORD_LINES", "Stereo Mix");
    auto* slider = Control<QSlider>("IDC_SLIDER_RECORD");
    auto* check = Control<QCheckBox>("IDC_CHK_RECORD_SWITCH");
    EXPECT_TRUE(Shown("IDC_SLIDER_RECORD"));
    EXPECT_TRUE(Shown("IDC_CHK_RECORD_SWITCH"));
    EXPECT_FALSE(Shown("IDC_COMBO_SOURCE"));
    EXPECT_EQ(check->text(), "Stereo Mix");
    EXPECT_TRUE(check->isChecked());
    EXPECT_EQ(slider->maximum(), 65535);
    EXPECT_EQ(slider->value(), 16384);

    Drag(slider, 32768);
    EXPECT_EQ(mixer.Value(1, kMixVolume), 32768);
    ClickAt(check, QPoint(8, check->height() / 2));
    EXPECT_EQ(mixer.Value(1, kMixMute), 0);
    ClickAt(check, QPoint(8, check->height() / 2));
    EXPECT_EQ(mixer.Value(1, kMixMute), 1);
    // Keys move the slider without a drag; the mixer follows them too.
    slider->setFocus();
    QTest::keyClick(slider, Qt::Key_End);
    EXPECT_EQ(mixer.Value(1, kMixVolume), 65535);

    // A control of range 0 … 100 gets a slider of that range (its position 50 stands for 32768
    // on the mixer's full scale, see MulDiv above).
    ChooseLine("IDC_LIST_RECORD_LINES", "Microphone");
    EXPECT_EQ(slider->maximum(), 100);
    EXPECT_EQ(check->text(), "Microphone");
    EXPECT_FALSE(check->isChecked());
    EXPECT_EQ(mixer.Value(1, kMixVolume), 65535) << "choosing another line writes nothing";
}

TEST_F(VolumePage, TheDestinationShowsTheSourceSelectorWhoseEntryKIsMuxItemK) {
    Open();
    ChooseDevice(1);
    ChooseLine("IDC_LIST_RECORD_LINES", "Recording");
    auto* source = Control<QComboBox>("IDC_COMBO_SOURCE");
    EXPECT_TRUE(Shown("IDC_COMBO_SOURCE"));
    EXPECT_TRUE(Shown("IDC_SLIDER_RECORD"));
    EXPECT_FALSE(Shown("IDC_CHK_RECORD_SWITCH"));
    EXPECT_EQ(source->currentText(), "Microphone") << "the item the MUX has selected";
    EXPECT_EQ(source->geometry(), QRect(333 - 140, 170, 130, source->height()));

    source->setCurrentIndex(0);
    EXPECT_EQ(mixer.Values(1, kMux), std::vector<uint32_t>({1, 0}));
    source->setCurrentIndex(1);
    EXPECT_EQ(mixer.Values(1, kMux), std::vector<uint32_t>({0, 1}));
    EXPECT_EQ(mixer.Value(1, kRecordingVolume), 30000) << "choosing a source writes only the MUX";
}

TEST_F(VolumePage, APlaybackLineShowsItsVolumeAndSwitch) {
    Open();
    ChooseDevice(0);
    ChooseLine("IDC_LIST_PLAYBACK_LINES", "Wave");
    auto* slider = Control<QSlider>("IDC_SLIDER_PLAYBACK");
    auto* check = Control<QCheckBox>("IDC_CHK_PLAYBACK_SWITCH");
    EXPECT_TRUE(Shown("IDC_SLIDER_PLAYBACK"));
    EXPECT_EQ(slider->value(), 65535);
    EXPECT_EQ(check->text(), "Wave");
    EXPECT_TRUE(check->isChecked());
    EXPECT_FALSE(Shown("IDC_SLIDER_RECORD"));
    Drag(slider, 20000);
    EXPECT_EQ(mixer.Value(0, kWaveVolume), 20000);
    ClickAt(check, QPoint(8, check->height() / 2));
    EXPECT_EQ(mixer.Value(0, kWaveMute), 0);
    EXPECT_EQ(mixer.Value(0, kMasterVolume), 40000);
}

TEST_F(VolumePage, ChangesReportedByTheChosenDeviceAreShown) {
    Open();
    ChooseDevice(1);
    ChooseLine("IDC_LIST_RECORD_LINES", "Stereo Mix");
    auto* slider = Control<QSlider>("IDC_SLIDER_RECORD");
    auto* check = Control<QCheckBox>("IDC_CHK_RECORD_SWITCH");
    const size_t writes = mixer.Writes().size();

    mixer.SetValues(1, kMixVolume, {50000});
    mixer.SetValues(1, kMixMute, {0});
    platform::NotifyMixerChange(1, MM_MIXM_CONTROL_CHANGE, kMixVolume);
    platform::NotifyMixerChange(1, MM_MIXM_CONTROL_CHANGE, kMixMute);
    EXPECT_TRUE(Eventually([&] { return slider->value() == 50000; }));
    EXPECT_TRUE(Eventually([&] { return !check->isChecked(); }));
    EXPECT_EQ(mixer.Writes().size(), writes) << "showing a change writes nothing back";

    // Another device's control with the same identifier is not the one on show.
    mixer.SetValues(0, kMixVolume, {1});
    mixer.SetValues(1, kMixVolume, {2});
    platform::NotifyMixerChange(0, MM_MIXM_CONTROL_CHANGE, kMixVolume);
    Settle(100); // a pause on purpose: time for the wrong notification to show, which it must not
    EXPECT_EQ(slider->value(), 50000);

    ChooseLine("IDC_LIST_RECORD_LINES", "Recording");
    mixer.SetValues(1, kMux, {1, 0});
    platform::NotifyMixerChange(1, MM_MIXM_CONTROL_CHANGE, kMux);
    EXPECT_TRUE(Eventually(
        [&] { return Control<QComboBox>("IDC_COMBO_SOURCE")->currentText() == QString("Stereo Mix"); }));
}

TEST_F(VolumePage, AnEntryChosenFromStaleListsSelectsTheSourceItNames) {
    Open();
    ChooseDevice(1);
    ChooseLine("IDC_LIST_RECORD_LINES", "Recording");
    auto* lines = Control<QListWidget>("IDC_LIST_RECORD_LINES");
    auto* source = Control<QComboBox>("IDC_COMBO_SOURCE");
    // A line appears that the page has not heard of yet (and is selected): "Stereo Mix", entry 0
    // of the two shown, is MUX item 1 of three now.
    auto& capture = mixer.devices[1].model.destinations[0];
    capture.sources.push_back(
        S::Line(203, MIXERLINE_COMPONENTTYPE_SRC_LINE, u"Line In",
                {S::Control(16, MIXERCONTROL_CONTROLTYPE_VOLUME, u"Volume", 0, 65535, {1})}));
    capture.line.controls[0] = S::Mux(kMux, capture.sources, 2);
    source->setCurrentIndex(source->findText("Stereo Mix"));
    EXPECT_EQ(mixer.Values(1, kMux), std::vector<uint32_t>({0, 1, 0})) << "the source whose name was chosen";
    EXPECT_EQ(Texts(source), QStringList({"Line In", "Stereo Mix", "Microphone"}));
    EXPECT_EQ(source->currentText(), "Stereo Mix");
    EXPECT_EQ(Texts(lines), QStringList({"Line In", "Microphone", "Recording", "Stereo Mix"}));
    EXPECT_EQ(lines->currentItem()->text(), "Recording");
}

TEST_F(VolumePage, EveryOpenedMixerIsClosedOnceAndAnUnreadableDeviceEndsTheList) {
    mixer.devices[1].capsResult = MMSYSERR_ERROR;
    Open();
    EXPECT_EQ(Texts(Control<QComboBox>("IDC_COMBO_DEVICE")), QStringList({"Realtek Output"}));
    EXPECT_EQ(mixer.Opens(0), 1);
    EXPECT_EQ(mixer.Opens(2), 0) << "no device after the unreadable one is opened";
    page.reset();
    EXPECT_EQ(mixer.Closes(0), 1);
    EXPECT_EQ(mixer.Closes(1), 0);
}

TEST_F(VolumePage, ClosingWithNotificationsInFlightIsSafe) {
    Open();
    ChooseDevice(1);
    ChooseLine("IDC_LIST_RECORD_LINES", "Stereo Mix");
    for (int i = 0; i < 50; ++i)
        platform::NotifyMixerChange(1, MM_MIXM_CONTROL_CHANGE, kMixVolume);
    page.reset();
    Settle(100); // a pause on purpose: the queued notifications arrive with the page gone
    EXPECT_EQ(mixer.Closes(1), 1);
}

TEST_F(VolumePage, ShowsTheHelpTextAndTheLevelBarAcrossThePage) {
    Open();
    EXPECT_EQ(
        CSettingDlg_Volume::HelpText(),
        "다음 사항을 체크해 주세요.\r(녹음할 음악을 재생해주세요.)\r1. 스테레오믹스 장치가 설치되어 있어야 "
        "합니다.\r2. 기본 사운드 조절\r-마스터볼륨을 조절합니다.\r-녹음볼륨을 조절합니다.\r-상단 볼륨바의 "
        "색상이 노란색 이상이어야 합니다.");
    QWidget* level = FindControl(page.get(), "IDC_STATIC_LEVEL");
    EXPECT_EQ(level->geometry(), QRect(QPoint(10, 35), QPoint(333 - 20, 50)).adjusted(0, 0, -1, -1));
}

} // namespace
