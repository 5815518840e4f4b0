// The main window's test fixture.
#include "tests/recorder/app/RecorderWindowFixture.h"

#include "recorder/settings/RecorderSettings.h"
#include "recorder/settings/SettingsValues.h"
#include "tests/support/gui/GuiHelpers.h"
#include "tests/support/pulse/PulseServer.h"
#include "tests/support/pulse/SignalPlayer.h"

#include <QElapsedTimer>

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
    for (int i = 0; i < 250 && !window->DevicesStarted(); ++i)
        quortest::gui::Settle(20);
    ASSERT_TRUE(window->DevicesStarted());
    quortest::gui::Settle();
}

std::string RecorderWindowTest::RecordingPath() const {
    const RecorderSettings& settings = TheRecorderSettings();
    return settings.savePath + "/" + settings.fileName;
}

void RecorderWindowTest::WaitUntilRecorded(uintmax_t bytes) const {
    QElapsedTimer timer;
    timer.start();
    std::error_code error;
    while (!(std::filesystem::file_size(RecordingPath(), error) > bytes && !error) && timer.elapsed() < 10000)
        quortest::gui::Settle(20);
}

void RecorderWindowTest::LetAudioFlow(int ms) {
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < ms)
        quortest::gui::Settle(20);
}
