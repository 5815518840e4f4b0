// The volume page against the private sound server: the server's two mixers, the recording lines,
// volume and mute written to the real capture source, changes made elsewhere shown, the lists
// following sources and outputs that come and go, and the level bar lit by a tone.
#include "platform/wavein/CaptureSource.h"
#include "recorder/devices/dialog/CSettingDlg_Volume.h"
#include "recorder/display/CFrequencyGraph.h"
#include "tests/support/Eventually.h"
#include "tests/support/gui/GuiHelpers.h"
#include "tests/support/pulse/ApplicationPlayer.h"
#include "tests/support/pulse/PrivateSoundServer.h"
#include "tests/support/pulse/PulseServer.h"
#include "tests/support/pulse/SignalPlayer.h"

#include <QCheckBox>
#include <QComboBox>
#include <QListWidget>
#include <QSlider>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <memory>

using namespace quortest::gui;
using quortest::Eventually;
using namespace std::chrono_literals;

namespace {

const QString kStereoMix = QStringLiteral("스테레오 믹스 (Speakers)");

class VolumePageOnServer : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(Server().Running());
        ASSERT_TRUE(Server().SetSourceVolume("speakers.monitor", 65536));
        ASSERT_TRUE(Server().SetSourceMute("speakers.monitor", false));
        page = std::make_unique<CSettingDlg_Volume>();
        page->resize(333, 304);
        page->show();
    }
    static quortest::PulseServer& Server() { return quortest::DialogTestServer(); }
    template <typename T> T* Control(const char* id) { return FindControlAs<T>(page.get(), id); }
    void ChooseStereoMix() {
        auto* lines = Control<QListWidget>("IDC_LIST_RECORD_LINES");
        const auto found = lines->findItems(kStereoMix, Qt::MatchExactly);
        ASSERT_EQ(found.size(), 1);
        lines->setCurrentItem(found.front());
    }
    std::unique_ptr<CSettingDlg_Volume> page;
};

TEST_F(VolumePageOnServer, ListsTheOutputAndInputMixersAndTheRecordingLines) {
    auto* devices = Control<QComboBox>("IDC_COMBO_DEVICE");
    ASSERT_EQ(devices->count(), 2);
    EXPECT_EQ(devices->itemText(0), "PulseAudio Input");
    EXPECT_EQ(devices->itemText(1), "PulseAudio Output");
    auto* lines = Control<QListWidget>("IDC_LIST_RECORD_LINES");
    EXPECT_TRUE(lines->isVisible());
    EXPECT_EQ(lines->findItems("녹음", Qt::MatchExactly).size(), 1);
    EXPECT_EQ(lines->findItems(kStereoMix, Qt::MatchExactly).size(), 1);
    EXPECT_NE(Control<QComboBox>("IDC_COMBO_SOURCE")->findText(kStereoMix), -1);

    devices->setCurrentIndex(1);
    auto* playback = Control<QListWidget>("IDC_LIST_PLAYBACK_LINES");
    EXPECT_TRUE(playback->isVisible());
    EXPECT_EQ(playback->findItems("Speakers", Qt::MatchExactly).size(), 1);
}

TEST_F(VolumePageOnServer, TheStereoMixSliderAndMuteWorkTheRealSource) {
    ChooseStereoMix();
    auto* slider = Control<QSlider>("IDC_SLIDER_RECORD");
    auto* mute = Control<QCheckBox>("IDC_CHK_RECORD_SWITCH");
    ASSERT_TRUE(slider->isVisible());
    EXPECT_EQ(slider->maximum(), 65535);
    EXPECT_EQ(slider->value(), 65535);
    EXPECT_EQ(mute->text(), kStereoMix);
    EXPECT_FALSE(mute->isChecked());

    slider->setSliderDown(true);
    slider->setValue(32768);
    slider->setSliderDown(false);
    const std::string volume = Server().Pactl("get-source-volume speakers.monitor");
    EXPECT_NE(volume.find(" 50%"), std::string::npos) << volume;

    ClickAt(mute, QPoint(8, mute->height() / 2));
    EXPECT_NE(Server().Pactl("get-source-mute speakers.monitor").find("yes"), std::string::npos);
    ClickAt(mute, QPoint(8, mute->height() / 2));
    EXPECT_NE(Server().Pactl("get-source-mute speakers.monitor").find("no"), std::string::npos);
}

TEST_F(VolumePageOnServer, ChangesMadeElsewhereAreShown) {
    ChooseStereoMix();
    auto* slider = Control<QSlider>("IDC_SLIDER_RECORD");
    auto* mute = Control<QCheckBox>("IDC_CHK_RECORD_SWITCH");
    Server().Pactl("set-source-volume speakers.monitor 25%");
    Server().Pactl("set-source-mute speakers.monitor 1");
    EXPECT_TRUE(Eventually([&] { return std::abs(slider->value() - 16384) <= 2; }, 3s));
    EXPECT_TRUE(Eventually([&] { return mute->isChecked(); }, 3s));
}

TEST_F(VolumePageOnServer, TheListsFollowSourcesAndTheDefaultOutputKeepingTheChoice) {
    auto* lines = Control<QListWidget>("IDC_LIST_RECORD_LINES");
    auto* source = Control<QComboBox>("IDC_COMBO_SOURCE");
    const auto destination = lines->findItems(QStringLiteral("녹음"), Qt::MatchExactly);
    ASSERT_EQ(destination.size(), 1);
    lines->setCurrentItem(destination.front());
    ASSERT_TRUE(source->isVisible());
    EXPECT_EQ(source->currentText(), kStereoMix);

    // A source appears: listed in both, the chosen line and source stay chosen.
    const QString usb = QStringLiteral("USB Microphone");
    ASSERT_TRUE(Server().AddMicrophone("usbmic", usb.toStdString()));
    ASSERT_TRUE(Eventually([&] { return source->findText(usb) != -1; }, 5s));
    EXPECT_EQ(lines->findItems(usb, Qt::MatchExactly).size(), 1);
    EXPECT_EQ(lines->currentItem()->text(), QStringLiteral("녹음"));
    EXPECT_TRUE(source->isVisible());
    EXPECT_EQ(source->currentText(), kStereoMix);
    source->setCurrentIndex(source->findText(usb));
    EXPECT_EQ(platform::CaptureSourceName(), "usbmic") << "the entry chosen is the source selected";

    // Another default output: the stereo mix is now its monitor; the old one keeps its own name.
    ASSERT_TRUE(Server().AddOutput("hdmi", "HDMI"));
    ASSERT_TRUE(Server().SetDefaultOutput("hdmi"));
    ASSERT_TRUE(
        Eventually([&] { return source->findText(QStringLiteral("스테레오 믹스 (HDMI)")) != -1; }, 5s));
    EXPECT_EQ(source->findText(kStereoMix), -1);
    EXPECT_NE(source->findText(QStringLiteral("Monitor of Speakers")), -1);
    EXPECT_EQ(source->currentText(), usb);

    platform::SelectCaptureSource({});
    ASSERT_TRUE(Server().SetDefaultOutput("speakers"));
}

TEST_F(VolumePageOnServer, PlayingApplicationsAreLinesToChooseAndSet) {
    auto browser = std::make_unique<quortest::ApplicationPlayer>("Firefox");
    quortest::ApplicationPlayer chat("Chat");
    ASSERT_GE(browser->StartStream(440), 0);
    ASSERT_GE(chat.StartStream(660), 0);
    const QString firefox = QStringLiteral("프로그램: Firefox");
    auto* lines = Control<QListWidget>("IDC_LIST_RECORD_LINES");
    auto* source = Control<QComboBox>("IDC_COMBO_SOURCE");
    ASSERT_TRUE(Eventually(
        [&] { return lines->findItems(QStringLiteral("프로그램: Chat"), Qt::MatchExactly).size() == 1; },
        5s));
    ASSERT_EQ(lines->findItems(firefox, Qt::MatchExactly).size(), 1);
    // After the sources, the stereo mix first.
    EXPECT_LT(lines->row(lines->findItems(kStereoMix, Qt::MatchExactly).front()),
              lines->row(lines->findItems(firefox, Qt::MatchExactly).front()));

    // Chosen on the destination's selector: the capture is the application's.
    lines->setCurrentItem(lines->findItems(QStringLiteral("녹음"), Qt::MatchExactly).front());
    ASSERT_TRUE(source->isVisible());
    ASSERT_NE(source->findText(firefox), -1);
    source->setCurrentIndex(source->findText(firefox));
    const auto chosen = platform::ApplicationOfSourceName(platform::CaptureSourceName());
    ASSERT_TRUE(chosen.has_value()) << platform::CaptureSourceName();
    EXPECT_EQ(chosen->name, "Firefox");

    // The destination's volume is our own capture level: the stereo mix's source stays at 100 %.
    auto* slider = Control<QSlider>("IDC_SLIDER_RECORD");
    ASSERT_TRUE(slider->isVisible());
    slider->setSliderDown(true);
    slider->setValue(32768);
    slider->setSliderDown(false);
    EXPECT_NEAR(platform::ApplicationCaptureLevel().values.front(), 32768u, 2u);
    EXPECT_NE(Server().Pactl("get-source-volume speakers.monitor").find(" 100%"), std::string::npos);

    // The application's own line mutes it where the user hears it too.
    lines->setCurrentItem(lines->findItems(firefox, Qt::MatchExactly).front());
    auto* mute = Control<QCheckBox>("IDC_CHK_RECORD_SWITCH");
    ASSERT_TRUE(mute->isVisible());
    ClickAt(mute, QPoint(8, mute->height() / 2));
    EXPECT_TRUE(Eventually(
        [&] {
            const std::string inputs = Server().Pactl("list sink-inputs");
            const size_t at = inputs.find("application.name = \"Firefox\"");
            return at != std::string::npos && inputs.rfind("Mute: yes", at) != std::string::npos;
        },
        5s));

    // It quits: still the choice, still listed on the selector while it plays nothing.
    browser.reset();
    EXPECT_TRUE(Eventually([&] { return lines->findItems(firefox, Qt::MatchExactly).empty(); }, 5s));
    EXPECT_EQ(platform::ApplicationOfSourceName(platform::CaptureSourceName()), chosen);
    platform::SelectCaptureSource({});
    platform::SetApplicationCaptureLevel({});
}

TEST_F(VolumePageOnServer, TheLevelBarLightsWhenATonePlays) {
    CFrequencyGraph* level = page->LevelMeter();
    EXPECT_EQ(level->Mode(), CFrequencyGraph::kModeLevel);
    Server().WakeSink();
    quortest::SignalPlayer tone(440.0, 0.5);
    ASSERT_TRUE(tone.Playing());
    auto loudest = [&] {
        const std::vector<double> values = level->Values();
        return values.empty() ? 0.0 : *std::max_element(values.begin(), values.end());
    };
    ASSERT_TRUE(Eventually([&] { return loudest() > 1000.0; }, 5s));
    // Green from the left end (x = 2 sits between two separators), once repainted.
    EXPECT_TRUE(Eventually([&] { return PixelAt(level, 2, level->height() / 2) == 0x1EB400u; }, 5s))
        << std::hex << PixelAt(level, 2, level->height() / 2);
}

} // namespace
