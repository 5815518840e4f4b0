// A splitter window for one test: its own settings folder with the recorder's key ("Savepath" and
// "dir" pointing at the build's converter), a private sound server for the real player, and a
// fresh SplitContext.
#pragma once

#include "splitter/window/CQuorSplitDlg.h"
#include "tests/support/TempDir.h"
#include "tests/support/gui/GuiHelpers.h"
#include "tests/support/gui/WatchedShell.h"

#include <gtest/gtest.h>

#include <QRect>

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>

class SplitWindowTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Writes or removes the recorder's key; "dir" names the folder that holds "screenshot".
    void SetRecorderKey(std::optional<std::string> savePath, std::optional<std::string> dir);
    // Opens the window as QuorSplit would with this argument (none when empty).
    CQuorSplitDlg& Open(const std::string& argument,
                        CQuorSplitDlg::PlayerFactory player = platform::CreatePulseAudioPlayer);
    // Open in two steps: make the window, then show it and wait until it has read its file.
    void Create(const std::string& argument,
                CQuorSplitDlg::PlayerFactory player = platform::CreatePulseAudioPlayer);
    CQuorSplitDlg& ShowAndWait();
    std::string Tone(const std::string& name, double seconds);

    QWidget* Control(const char* idName) { return quortest::gui::FindControl(window.get(), idName); }
    bool Enabled(const char* idName) { return Control(idName)->isEnabled(); }
    void Click(const char* idName) { quortest::gui::Click(window.get(), idName); }
    // Whether the window shows `text` in rect, drawn as its time texts are.
    bool ShowsText(const QRect& rect, const QString& text, int pixelHeight, const QColor& colour);
    // Answers the next file dialog with `path` (accepted) or cancels it when empty.
    void AnswerFileDialogsWith(const std::string& path);
    // Answers the next file dialogs as Return on the name they propose would.
    void AcceptProposedNames() { acceptProposed = true; }
    // The test program's sound server goes away, and comes back as a new one.
    static void StopSoundServer();
    static void StartSoundServer();

    quortest::TempDir dir{"qwin"};
    std::unique_ptr<quortest::ScopedEnv> config;
    WatchedShell shell; // notes the folders and pages the window opens
    std::unique_ptr<CQuorSplitDlg> window;
    std::unique_ptr<quortest::gui::ModalAnswerer> answerer;
    std::string fileDialogAnswer;
    bool acceptProposed = false;
    int fileDialogs = 0;
    QString lastDialogFolder; // where the last file dialog opened
};
