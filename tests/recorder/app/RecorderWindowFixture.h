// A main window over a private PulseAudio server playing a tone, with a private settings hive
// whose save folder is a temporary folder, and a shell that records what the window starts.
#pragma once

#include "recorder/app/CQuorRecorderDlg.h"
#include "tests/support/HiveEnv.h"
#include "tests/support/TempDir.h"
#include "tests/support/gui/WatchedShell.h"
#include "tests/support/pulse/SignalPlayer.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace quortest {
class PulseServer;
}
// The private server of the test program, started before the first window opens a capture.
quortest::PulseServer& Server();

class RecorderWindowTest : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Stores the settings the window reads at start (before OpenWindow) or at ApplySettings.
    void StoreSettings(int fileType, int autoFileName);
    void OpenWindow();

    // The recording's file as the window named it.
    std::string RecordingPath() const;
    // Runs the window for `ms` whatever happens: real audio arrives meanwhile, and time passes
    // that a recording counts or, paused or stopped, must not count.
    static void LetAudioFlow(int ms);
    // Waits (up to 10 s) until the recording's file holds more than `bytes`.
    void WaitUntilRecorded(uintmax_t bytes) const;
    // Chooses the source on the volume page, as the user does: the recording destination's
    // source selector.
    static void ChooseOnTheVolumePage(const QString& source);

    std::unique_ptr<quortest::HiveEnv> hive;
    std::unique_ptr<quortest::TempDir> saveFolder;
    std::unique_ptr<quortest::SignalPlayer> tone;
    WatchedShell shell;
    std::unique_ptr<CQuorRecorderDlg> window;
};
