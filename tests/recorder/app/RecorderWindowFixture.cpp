// The main window's test fixture.
#include "tests/recorder/app/RecorderWindowFixture.h"

#include "recorder/devices/dialog/CSettingDlg_Volume.h"
#include "recorder/settings/RecorderSettings.h"
#include "recorder/settings/SettingsValues.h"
#include "tests/support/Eventually.h"
#include "tests/support/gui/GuiHelpers.h"
#include "tests/support/pulse/PulseServer.h"
#include "tests/support/pulse/SignalPlayer.h"

#include <QComboBox>
#include <QListWidget>

#include <filesystem>

quortest::PulseServer& Server() {
    static quortest::PulseServer server;
    return server;
}

void RecorderWindowTest::SetUp() {
    ASSERT_TRUE(Server().Running()) << Server().Log();
    hive = std::make_unique<quortest::HiveEnv>();
    // A space in the folder: the splitter must still get the path as one argument.
    saveFolder = std::make_unique<quortest::TempDir>("quor rec");
    tone = std::make_unique<quortest::SignalPlayer>(1000.0, 0.5);
    TheRecorderSettings().fileName.clear(); // as in a program that has recorded nothing yet
    WriteCkInfoOpen(1);                     // no information popup over the window
    StoreSettings(0, 1);
}

void RecorderWindowTest::TearDown() {
    window.reset();
    tone.reset();
}

void RecorderWindowTest::StoreSettings(int fileType, int autoFileName) {
    ASSERT_TRUE(WriteSavePath(saveFolder->str()));
    WriteFileTypeSel(fileType);
    WriteFileSettingSel(0);
    WriteAutoFileName(autoFileName);
    WriteCkMP3ID3V1(0);
    WriteCkTopmost(0);
}

void RecorderWindowTest::OpenWindow() {
    Server().WakeSink();
    window = std::make_unique<CQuorRecorderDlg>(nullptr, &shell);
    window->show();
    // The devices open just after the first paint; a slow machine (sanitisers) needs a moment.
    ASSERT_TRUE(quortest::Eventually([&] { return window->DevicesStarted(); }));
}

std::string RecorderWindowTest::RecordingPath() const {
    const RecorderSettings& settings = TheRecorderSettings();
    return settings.savePath + "/" + settings.fileName;
}

void RecorderWindowTest::WaitUntilRecorded(uintmax_t bytes) const {
    quortest::Eventually([&] {
        std::error_code error;
        return std::filesystem::file_size(RecordingPath(), error) > bytes && !error;
    });
}

void RecorderWindowTest::LetAudioFlow(int ms) {
    quortest::gui::Settle(ms); // the pause is the point: a recording (or a paused one) of that length
}

void RecorderWindowTest::ChooseOnTheVolumePage(const QString& source) {
    CSettingDlg_Volume page;
    page.resize(333, 304);
    page.show();
    auto* lines = quortest::gui::FindControlAs<QListWidget>(&page, "IDC_LIST_RECORD_LINES");
    const auto destination = lines->findItems(QStringLiteral("녹음"), Qt::MatchExactly);
    ASSERT_EQ(destination.size(), 1);
    lines->setCurrentItem(destination.front());
    auto* selector = quortest::gui::FindControlAs<QComboBox>(&page, "IDC_COMBO_SOURCE");
    ASSERT_TRUE(selector->isVisible());
    ASSERT_NE(selector->findText(source), -1);
    selector->setCurrentIndex(selector->findText(source));
}
