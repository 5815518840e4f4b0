// After an MP3 recording with the tag option on, the tag editor opens on the new file; after a
// WAV recording it never does. Runs against a private PulseAudio server.
#include "recorder/engine/Recorder.h"
#include "recorder/settings/RecorderSettings.h"
#include "recorder/tags/Id3v1TagFile.h"
#include "recorder/tags/dialog/CID3TagInfoDlg.h"
#include "tests/support/Eventually.h"
#include "tests/support/TempDir.h"
#include "tests/support/gui/GuiHelpers.h"
#include "tests/support/pulse/PulseServer.h"

#include <QApplication>
#include <QLineEdit>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>

using namespace quortest::gui;

TEST(TagAfterRecording, EditorOpensOnTheNewMp3AndNeverAfterAWav) {
    quortest::PulseServer server;
    quortest::TempDir dir;
    RecorderSettings& settings = TheRecorderSettings();
    settings = RecorderSettings{};
    settings.savePath = dir.str();
    settings.mp3Id3v1 = 1;

    Recorder recorder(1024);
    recorder.SetTagEditor(
        [](const std::string& path) { CID3TagInfoDlg(nullptr, QString::fromStdString(path)).DoModal(); });
    QString seenPath;
    ModalAnswerer answerer(ModalAnswerer::Answer::Ok, [&](QWidget* window) {
        auto* dialog = qobject_cast<CID3TagInfoDlg*>(window);
        ASSERT_NE(dialog, nullptr);
        FindControlAs<QLineEdit>(dialog, "IDC_EDIT_TITLE")->setText(QStringLiteral("첫 녹음"));
        Click(dialog, "IDC_BTN_SAVE");
        seenPath = dialog->windowTitle();
    });

    settings.fileType = 0;
    settings.fileSetting = 7;
    settings.ApplyPreset();
    settings.fileName = "first.mp3";
    ASSERT_TRUE(recorder.StartRecord()) << recorder.LastFailureDetail();
    // Until the first frames are in the file.
    std::error_code error;
    quortest::Eventually(
        [&] { return std::filesystem::file_size(dir.str() + "/first.mp3", error) > 0 && !error; });
    ASSERT_TRUE(recorder.StopRecord());
    EXPECT_EQ(seenPath, QStringLiteral("ID3 Tag Info")) << "the editor was shown";
    Id3v1TagFile tag;
    ASSERT_EQ(tag.Read(dir.str() + "/first.mp3"), 0);
    EXPECT_EQ(tag.Title(), "첫 녹음");
    tag.Close();

    seenPath.clear();
    settings.fileType = 1;
    settings.fileSetting = 6;
    settings.ApplyPreset();
    settings.fileName = "second.wav";
    ASSERT_TRUE(recorder.StartRecord());
    ASSERT_TRUE(recorder.StopRecord());
    EXPECT_TRUE(seenPath.isEmpty()) << "no editor after a WAV recording";
}
