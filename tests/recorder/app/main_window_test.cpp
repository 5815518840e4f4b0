// The main window driven by its controls over a private PulseAudio server playing a tone:
// recording states, the face's lamp, digits and status, closing while recording, the keys, the
// splitter button and the failure notices.
#include "tests/recorder/app/RecorderWindowFixture.h"

#include "platform/registry/CRegistry.h"
#include "recorder/app/CQuorRecorderDlgIds.h"
#include "recorder/app/RecorderFace.h"
#include "recorder/settings/RecorderSettings.h"
#include "recorder/settings/SettingsValues.h"
#include "tests/support/Eventually.h"
#include "tests/support/gui/FocusMarkPixels.h"
#include "tests/support/gui/GuiHelpers.h"
#include "tests/support/pulse/PulseServer.h"
#include "ui/RecorderBitmaps.h"
#include "ui/Skin.h"

#include <QAbstractSlider>
#include <QFileDialog>
#include <QRegularExpression>
#include <QTest>

#include <atomic>
#include <cctype>
#include <chrono>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <poll.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#include <vector>

using namespace quortest::gui;
using namespace std::chrono_literals;
using quortest::Eventually;
namespace fs = std::filesystem;

namespace {
const QString kRecording = QStringLiteral("[녹음중]");
const QString kPaused = QStringLiteral("[일시중지]");

QRgb LampPicturePixel(bool lit) {
    const QImage lamp = Skin::Image(SkinSet::Recorder, RecorderBitmap::IDB_LAMP);
    return Rgb(lamp, (lit ? 28 : 0) + 14, 14);
}

QRgb WindowLampPixel(QWidget* window) {
    return PixelAt(window, 17 + 14, 71 + 14);
}

// Pixels of the status area that are not the bare face: text drawn there.
int StatusInkPixels(QWidget* window) {
    const QImage shot = Grab(window);
    const QImage face = Skin::Image(SkinSet::Recorder, RecorderBitmap::IDB_FACE);
    const QRect area = RecorderFace::StatusRect();
    int ink = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            ink += Rgb(shot, x, y) != Rgb(face, x, y);
    return ink;
}

// Whether the digit picture `value` is what the window shows at digit place `place`.
bool ShowsDigit(const QImage& shot, int place, int value) {
    const QImage digits = Skin::Image(SkinSet::Recorder, RecorderBitmap::IDB_DIGITS);
    int compared = 0;
    for (int y = 0; y < RecorderFace::kDigitHeight; ++y)
        for (int x = 0; x < RecorderFace::kDigitWidth; ++x) {
            const QRgb picture = Rgb(digits, value * RecorderFace::kDigitWidth + x, y);
            if (picture == (kSkinColourKey & 0xFFFFFF))
                continue;
            ++compared;
            if (Rgb(shot, RecorderFace::kDigitX[place] + x, RecorderFace::kDigitTop + y) != picture)
                return false;
        }
    return compared > 0;
}

bool IsMp3Frame(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    unsigned char head[2] = {};
    in.read(reinterpret_cast<char*>(head), 2);
    return in && head[0] == 0xFF && (head[1] & 0xE0) == 0xE0;
}

// Answers the Save As dialog with `file`.
void SaveAs(QWidget* modal, const fs::path& file) {
    auto* dialog = qobject_cast<QFileDialog*>(modal);
    if (!dialog)
        return;
    dialog->setOption(QFileDialog::DontConfirmOverwrite);
    if (quortest::gui::TypeIntoFileDialog(dialog, QString::fromStdString(file.string())))
        static_cast<QDialog*>(dialog)->accept(); // QFileDialog's own accept is protected
}

std::string WaitForFile(const fs::path& file) {
    Eventually([&] { return fs::exists(file); }, 5s);
    return fs::exists(file) ? quortest::ReadFile(file) : std::string();
}
} // namespace

TEST_F(RecorderWindowTest, TheWindowPaintsBeforeItOpensTheSoundDevices) {
    Server().WakeSink();
    const quortest::ScopedEnv wayland("WAYLAND_DISPLAY", "wayland-0"); // as XWayland clients have it
    window = std::make_unique<CQuorRecorderDlg>(nullptr, &shell);
    bool openAtFirstPaint = true;
    OnFirstPaint(window.get(), [&] {
        openAtFirstPaint = window->DevicesStarted() || window->TheRecorder().IsMonitorOpen();
    });
    window->show();
    EXPECT_TRUE(Eventually([&] { return window->DevicesStarted(); }));
    EXPECT_FALSE(openAtFirstPaint);
    EXPECT_TRUE(window->TheRecorder().IsMonitorOpen()) << "opened all the same, just after";
    // Corners see-through also where a compositor ignores the window's shape (a Wayland session).
    EXPECT_FALSE(window->mask().contains(QPoint(0, 0)));
    EXPECT_EQ(qAlpha(window->grab().toImage().pixel(0, 0)), 0);
    EXPECT_EQ(qAlpha(window->grab().toImage().pixel(165, 5)), 255);
}

TEST_F(RecorderWindowTest, RecordPauseResumeStopWithLampStatusAndTime) {
    OpenWindow();
    ASSERT_TRUE(window->TheRecorder().IsMonitorOpen());
    EXPECT_EQ(window->size(), QSize(330, 158));
    EXPECT_EQ(WindowLampPixel(window.get()), LampPicturePixel(false));
    EXPECT_EQ(StatusInkPixels(window.get()), 0);

    ASSERT_TRUE(Click(window.get(), "IDC_BTN_RECORD"));
    ASSERT_TRUE(window->TheRecorder().IsRecording());
    const QString name = QString::fromStdString(TheRecorderSettings().fileName);
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^\\d{8}_\\d{6}\\.mp3$")).match(name).hasMatch())
        << name.toStdString();
    EXPECT_EQ(TheRecorderSettings().savePath, saveFolder->str());
    EXPECT_EQ(window->StatusText(), kRecording);
    EXPECT_TRUE(window->TimerRunning());
    EXPECT_GT(StatusInkPixels(window.get()), 0);
    EXPECT_EQ(WindowLampPixel(window.get()), LampPicturePixel(false)) << "0 s: even, unlit";

    // The window's own timer runs too: reason from the count before each step.
    const auto lampMatchesSecond = [&] {
        return WindowLampPixel(window.get()) == LampPicturePixel(window->ElapsedSeconds() % 2 == 1);
    };
    const int started = window->ElapsedSeconds();
    window->OnTimer();
    EXPECT_EQ(window->ElapsedSeconds(), started + 1);
    EXPECT_TRUE(lampMatchesSecond()) << "blinks: lit on odd seconds";
    window->OnTimer();
    EXPECT_TRUE(lampMatchesSecond());
    LetAudioFlow(600);

    ASSERT_TRUE(Click(window.get(), "IDC_BTN_RECORD"));
    EXPECT_TRUE(window->TheRecorder().IsPaused());
    EXPECT_EQ(window->StatusText(), kPaused);
    const int atPause = window->ElapsedSeconds();
    for (int tick = 0; tick < 3; ++tick)
        window->OnTimer();
    LetAudioFlow(1100);
    EXPECT_EQ(window->ElapsedSeconds(), atPause) << "paused time must not count";
    EXPECT_EQ(WindowLampPixel(window.get()), LampPicturePixel(true)) << "lit while paused";
    EXPECT_TRUE(window->TimerRunning());

    ASSERT_TRUE(Click(window.get(), "IDC_BTN_RECORD"));
    EXPECT_FALSE(window->TheRecorder().IsPaused());
    EXPECT_EQ(window->StatusText(), kRecording);
    window->OnTimer();
    EXPECT_EQ(window->ElapsedSeconds(), atPause + 1);
    WaitUntilRecorded(10000);

    const int atStop = window->ElapsedSeconds();
    ASSERT_TRUE(Click(window.get(), "IDC_BTN_STOP"));
    EXPECT_FALSE(window->TheRecorder().IsRecording());
    EXPECT_FALSE(window->TimerRunning());
    EXPECT_TRUE(window->StatusText().isEmpty());
    EXPECT_EQ(StatusInkPixels(window.get()), 0);
    EXPECT_EQ(WindowLampPixel(window.get()), LampPicturePixel(false));
    LetAudioFlow(1100);
    EXPECT_EQ(window->ElapsedSeconds(), atStop) << "the time stays shown after a stop";
    const std::string path = RecordingPath();
    EXPECT_TRUE(IsMp3Frame(path)) << path;
    EXPECT_GT(fs::file_size(path), 10000u);
}

TEST_F(RecorderWindowTest, HourOneMinuteTwoSecondThreeReadsFromTheDigitImages) {
    OpenWindow();
    ASSERT_TRUE(Click(window.get(), "IDC_BTN_RECORD"));
    for (int tick = 0; tick < 3723; ++tick)
        window->OnTimer();
    const QImage shot = Grab(window.get());
    const int expected[6] = {0, 1, 0, 2, 0, 3};
    for (int place = 0; place < 6; ++place)
        EXPECT_TRUE(ShowsDigit(shot, place, expected[place])) << "place " << place;
    EXPECT_FALSE(ShowsDigit(shot, 5, 4));
    EXPECT_EQ(FindControl(window.get(), "TimeReadout")->accessibleName(), QStringLiteral("01:02:03"))
        << "screen readers hear what the digits show";
    ASSERT_TRUE(Click(window.get(), "IDC_BTN_STOP"));
}

TEST_F(RecorderWindowTest, ExitWhileRecordingAsksAndOkFinishesTheFile) {
    OpenWindow();
    ASSERT_TRUE(Click(window.get(), "IDC_BTN_RECORD"));
    WaitUntilRecorded(0);
    {
        ModalAnswerer cancel(ModalAnswerer::Answer::Cancel);
        ASSERT_TRUE(Click(window.get(), "IDC_BTN_EXIT"));
        ASSERT_EQ(cancel.Seen().size(), 1u);
        EXPECT_EQ(cancel.Seen()[0].message,
                  QStringLiteral("녹음중 입니다. 쿠오르녹음기를 종료하시겠습니까?"));
        EXPECT_EQ(cancel.Seen()[0].title, QStringLiteral("알림"));
        EXPECT_EQ(cancel.Seen()[0].buttonLayout, 2);
    }
    EXPECT_TRUE(window->TheRecorder().IsRecording());
    EXPECT_TRUE(window->isVisible());

    ModalAnswerer ok(ModalAnswerer::Answer::Ok);
    ASSERT_TRUE(Click(window.get(), "IDC_BTN_EXIT"));
    EXPECT_EQ(ok.Seen().size(), 1u);
    EXPECT_FALSE(window->TheRecorder().IsRecording());
    EXPECT_FALSE(window->TheRecorder().IsMonitorRunning());
    EXPECT_FALSE(window->isVisible());
    EXPECT_TRUE(IsMp3Frame(RecordingPath()));
}

TEST_F(RecorderWindowTest, TheWindowSystemsCloseFinishesTheRecordingWithoutAsking) {
    OpenWindow();
    ASSERT_TRUE(Click(window.get(), "IDC_BTN_RECORD"));
    WaitUntilRecorded(0);
    ModalAnswerer answer(ModalAnswerer::Answer::Cancel);
    window->close();
    EXPECT_TRUE(Eventually([&] { return !window->isVisible(); }));
    EXPECT_TRUE(answer.Seen().empty());
    EXPECT_FALSE(window->TheRecorder().IsRecording());
    EXPECT_FALSE(window->isVisible());
    EXPECT_TRUE(IsMp3Frame(RecordingPath()));
}

TEST_F(RecorderWindowTest, TheKeyboardAloneRecordsPausesStopsAndOpensTheFolderAndTheSettings) {
    OpenWindow();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    const auto key = [&](Qt::Key k, int times = 1) {
        for (int i = 0; i < times; ++i)
            QTest::keyClick(window->focusWidget(), k);
    };
    // From the record button: Escape closes nothing, Space records, Return pauses, Space resumes.
    key(Qt::Key_Escape);
    key(Qt::Key_Space);
    ASSERT_TRUE(window->TheRecorder().IsRecording());
    EXPECT_EQ(window->focusWidget()->accessibleName(), QStringLiteral("일시중지")) << "named by what it does";
    key(Qt::Key_Return);
    EXPECT_TRUE(window->TheRecorder().IsPaused());
    key(Qt::Key_Space);
    WaitUntilRecorded(5000);

    // The stop button, marked in the skin's accent while keys are used, stops on Return.
    QWidget* stop = FindControl(window.get(), "IDC_BTN_STOP");
    const int unmarked = FocusAccentPixels(stop);
    key(Qt::Key_Tab);
    EXPECT_GT(FocusAccentPixels(stop), unmarked + 40);
    QTest::mouseClick(window.get(), Qt::LeftButton, {}, {160, 30}); // the mouse hides the mark
    EXPECT_EQ(FocusAccentPixels(stop), unmarked);
    key(Qt::Key_Return);
    EXPECT_FALSE(window->TheRecorder().IsRecording());
    EXPECT_TRUE(IsMp3Frame(RecordingPath()));

    // Past 자르개 to the folder; past the volume slider and 정보 to the settings, which Escape closes.
    key(Qt::Key_Tab, 2);
    key(Qt::Key_Return);
    EXPECT_EQ(shell.openedFolders, std::vector<std::string>{saveFolder->str()});
    key(Qt::Key_Tab, 3);
    QString escaped;
    ModalAnswerer answer(ModalAnswerer::Answer::Ok, [&](QWidget* modal) {
        escaped = modal->objectName();
        QTest::keyClick(modal, Qt::Key_Escape);
    });
    key(Qt::Key_Return);
    EXPECT_EQ(escaped, QStringLiteral("IDD_STAROPTION"));
    EXPECT_TRUE(window->isVisible());
}

TEST_F(RecorderWindowTest, SettingsWhileRecordingIsRefusedAndFolderButtonOpensTheSaveFolder) {
    OpenWindow();
    ASSERT_TRUE(Click(window.get(), "IDC_BTN_SAVEFOLDER"));
    ASSERT_EQ(shell.openedFolders.size(), 1u);
    EXPECT_EQ(shell.openedFolders[0], saveFolder->str());

    ASSERT_TRUE(Click(window.get(), "IDC_BTN_RECORD"));
    ModalAnswerer ok;
    ASSERT_TRUE(Click(window.get(), "IDC_BTN_SETTINGS"));
    ASSERT_EQ(ok.Seen().size(), 1u);
    EXPECT_EQ(ok.Seen()[0].message, QStringLiteral("레코딩 중에는 변경할수 없습니다."));
    EXPECT_TRUE(window->TheRecorder().IsRecording());
    ASSERT_TRUE(Click(window.get(), "IDC_BTN_STOP"));
}

class SplitterButtonTest : public RecorderWindowTest {
protected:
    void SetUp() override {
        RecorderWindowTest::SetUp();
        installDir = std::make_unique<quortest::TempDir>("quorinst");
        // A splitter that writes down its argument count and arguments, one per line.
        const fs::path script = *installDir / "QuorSplit";
        quortest::WriteFile(script, "#!/bin/sh\nout=\"$(dirname \"$0\")/args\"\n"
                                    "{ echo \"$#\"; for a in \"$@\"; do echo \"$a\"; done; } > \"$out.tmp\"\n"
                                    "mv \"$out.tmp\" \"$out\"\n");
        fs::permissions(script, fs::perms::owner_all);
        CRegistry registry;
        ASSERT_TRUE(registry.Open(platform::HKEY_CURRENT_USER, kSettingsKey, 1));
        ASSERT_TRUE(registry.WriteString("Install_Dir", installDir->str()));
    }

    // Presses the splitter button and returns what the started splitter was given.
    std::string PressSplitter() {
        fs::remove(*installDir / "args");
        const size_t before = shell.started.size();
        EXPECT_TRUE(Click(window.get(), "IDC_BTN_SPLIT"));
        EXPECT_EQ(shell.started.size(), before + 1);
        if (shell.started.size() > before) {
            EXPECT_EQ(shell.started.back().program, (*installDir / "QuorSplit").string());
        }
        return WaitForFile(*installDir / "args");
    }

    void RecordBriefly() {
        ASSERT_TRUE(Click(window.get(), "IDC_BTN_RECORD"));
        LetAudioFlow(400);
        ASSERT_TRUE(Click(window.get(), "IDC_BTN_STOP"));
    }

    std::unique_ptr<quortest::TempDir> installDir;
};

TEST_F(SplitterButtonTest, BeforeAnyRecordingTheSaveFolderIsTheOneArgument) {
    OpenWindow();
    ModalAnswerer answer;
    EXPECT_EQ(PressSplitter(), "1\n" + saveFolder->str() + "/\n");
    EXPECT_TRUE(answer.Seen().empty());
}

TEST_F(SplitterButtonTest, AfterAnMp3ItsPathIsTheOneArgumentWithoutQuotes) {
    OpenWindow();
    RecordBriefly();
    EXPECT_EQ(PressSplitter(), "1\n" + RecordingPath() + "\n");
}

TEST_F(SplitterButtonTest, AfterAWavOnlyMp3IsSupportedAndTheSplitterStartsEmpty) {
    StoreSettings(1, 1);
    OpenWindow();
    RecordBriefly();
    ASSERT_TRUE(fs::exists(RecordingPath()));
    ModalAnswerer answer;
    EXPECT_EQ(PressSplitter(), "0\n");
    ASSERT_EQ(answer.Seen().size(), 1u);
    EXPECT_EQ(answer.Seen()[0].message, QStringLiteral("mp3파일만 지원합니다."));
    EXPECT_EQ(answer.Seen()[0].size, QSize(300, 150));
}

TEST_F(SplitterButtonTest, AMissingSplitterIsToldAndNothingStarts) {
    fs::remove(*installDir / "QuorSplit");
    OpenWindow();
    ModalAnswerer answer;
    ASSERT_TRUE(Click(window.get(), "IDC_BTN_SPLIT"));
    EXPECT_TRUE(shell.started.empty());
    ASSERT_EQ(answer.Seen().size(), 1u);
    EXPECT_EQ(answer.Seen()[0].message, QStringLiteral("[쿠오르녹음기 - 자르개] 파일이 없습니다."));
}

TEST_F(RecorderWindowTest, ARecordingThatCannotStartIsToldAndTheWindowStaysIdle) {
    saveFolder.reset(new quortest::TempDir("quorgone"));
    StoreSettings(0, 1);
    fs::remove_all(saveFolder->path());
    OpenWindow();
    ModalAnswerer answer;
    ASSERT_TRUE(Click(window.get(), "IDC_BTN_RECORD"));
    EXPECT_FALSE(window->TheRecorder().IsRecording());
    EXPECT_FALSE(window->TimerRunning());
    EXPECT_TRUE(window->StatusText().isEmpty());
    ASSERT_EQ(answer.Seen().size(), 1u);
    EXPECT_EQ(answer.Seen()[0].message,
              QStringLiteral("녹음 파일을 만들 수 없습니다.\r\n저장 폴더를 확인해 주세요."));
    EXPECT_EQ(answer.Seen()[0].title, QStringLiteral("알림"));
    EXPECT_EQ(answer.Seen()[0].size, QSize(300, 150));
}

TEST_F(RecorderWindowTest, AFullDiskEndsTheRecordingAndIsTold) {
    // The Save As dialog (names chosen by the user) picks a name that leads to a device where every write
    // fails.
    const fs::path full = saveFolder->path() / "full.mp3";
    fs::create_symlink("/dev/full", full);
    StoreSettings(0, 0);
    OpenWindow();
    ModalAnswerer answer(ModalAnswerer::Answer::Ok, [&](QWidget* modal) { SaveAs(modal, full); });
    ASSERT_TRUE(Click(window.get(), "IDC_BTN_RECORD"));
    ASSERT_TRUE(window->TheRecorder().IsRecording());
    EXPECT_EQ(TheRecorderSettings().fileName, "full.mp3");
    Eventually([&] { return window->TheRecorder().EndedByItself() != Recorder::RecordFailure::None; }, 5s);
    window->OnTimer();
    EXPECT_FALSE(window->TheRecorder().IsRecording());
    EXPECT_FALSE(window->TimerRunning());
    EXPECT_TRUE(window->StatusText().isEmpty());
    ASSERT_EQ(answer.Seen().size(), 2u) << "the Save As dialog, then the notice";
    EXPECT_EQ(answer.Seen()[0].className, QStringLiteral("QFileDialog"));
    EXPECT_EQ(answer.Seen()[1].message,
              QStringLiteral("디스크 공간이 부족하여\r\n녹음을 시작하지 못했습니다."))
        << "not even the first data was written: the recording never started";
    EXPECT_TRUE(fs::is_symlink(full)) << "the chosen target is left as it was";
}

TEST_F(RecorderWindowTest, AudioLostWhileWritingFellBehindIsToldInSecondsAfterStop) {
    // Save As picks a pipe whose reader stops reading for four seconds: the capture keeps two of
    // them and drops the rest.
    const fs::path pipePath = saveFolder->path() / "slow.mp3";
    ASSERT_EQ(mkfifo(pipePath.c_str(), 0600), 0);
    const int reader = open(pipePath.c_str(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    ASSERT_GT(fcntl(reader, F_SETPIPE_SZ, 4096), 0);
    StoreSettings(0, 0);
    OpenWindow();
    ModalAnswerer answer(ModalAnswerer::Answer::Ok, [&](QWidget* modal) { SaveAs(modal, pipePath); });
    ASSERT_TRUE(Click(window.get(), "IDC_BTN_RECORD"));
    ASSERT_TRUE(window->TheRecorder().IsRecording());
    ASSERT_EQ(window->TheRecorder().RecordingPath(), pipePath.string());
    LetAudioFlow(4000); // the stall
    std::atomic<bool> stop{false};
    std::atomic<size_t> drained{0};
    std::thread drain([&] {
        char chunk[4096];
        while (!stop) {
            const ssize_t got = read(reader, chunk, sizeof chunk);
            if (got > 0)
                drained += static_cast<size_t>(got);
            else if (got == 0)
                return;
            else {
                pollfd ready{reader, POLLIN, 0};
                poll(&ready, 1, 10); // until the writer gives more
            }
        }
    });
    // Once the writer takes data again the loss is counted; Stop need not wait for the backlog.
    ASSERT_TRUE(Eventually([&] { return drained >= 20000; })) << "the recording went on after the stall";
    ASSERT_TRUE(Click(window.get(), "IDC_BTN_STOP"));
    stop = true;
    drain.join();
    close(reader);
    // The file dialog's background scan may still be opening the pipe to look inside: a writer
    // that comes and goes lets it finish, so later dialogs of this program are not held up.
    Eventually(
        [&] {
            const int opened = open(pipePath.c_str(), O_WRONLY | O_NONBLOCK);
            if (opened < 0)
                return true; // no reader left
            close(opened);
            return false;
        },
        1s);
    ASSERT_EQ(answer.Seen().size(), 2u) << "the Save As dialog, then the notice";
    const QRegularExpression told(QStringLiteral("^녹음 중 (\\d+\\.\\d)초 분량의 소리가 빠졌습니다\\."));
    const QRegularExpressionMatch match = told.match(answer.Seen()[1].message);
    ASSERT_TRUE(match.hasMatch()) << answer.Seen()[1].message.toStdString();
    EXPECT_NEAR(match.captured(1).toDouble(), 1.9, 1.0);
}

TEST_F(RecorderWindowTest, StoredFileTypesThatCannotBeRecordedAreShownAndRecordedAsMp3) {
    OpenWindow();
    ModalAnswerer answer;
    const QRect formatLine(20, 50, 292, 13);
    const QImage mp3Face = Grab(window.get()).copy(formatLine);
    for (int stored : {2, -1, 99}) {
        SCOPED_TRACE(stored);
        WriteFileTypeSel(stored);
        WriteFileSettingSel(5);
        window->ApplySettings();
        EXPECT_EQ(TheRecorderSettings().fileType, 0);
        EXPECT_TRUE(Eventually([&] { return Grab(window.get()).copy(formatLine) == mp3Face; }))
            << "the face shows MP3 at its first preset";

        ASSERT_TRUE(Click(window.get(), "IDC_BTN_RECORD"));
        ASSERT_TRUE(window->TheRecorder().IsRecording());
        LetAudioFlow(300);
        ASSERT_TRUE(Click(window.get(), "IDC_BTN_STOP"));
        EXPECT_EQ(fs::path(RecordingPath()).extension(), ".mp3");
        EXPECT_TRUE(IsMp3Frame(RecordingPath())) << "a real MP3 was written";
    }
    EXPECT_TRUE(answer.Seen().empty());
}

TEST_F(RecorderWindowTest, ASaveFolderRemovedWhileRecordingIsToldAndARenamedOneIsWrittenOn) {
    const fs::path folder = saveFolder->path() / "removed";
    fs::create_directory(folder);
    ASSERT_TRUE(WriteSavePath(folder.string()));
    StoreSettings(1, 1);
    ASSERT_TRUE(WriteSavePath(folder.string()));
    OpenWindow();
    ModalAnswerer answer;
    ASSERT_TRUE(Click(window.get(), "IDC_BTN_RECORD"));
    ASSERT_FALSE(WaitForFile(RecordingPath()).empty());
    fs::remove_all(folder);
    // The next tick of the clock notices it.
    EXPECT_TRUE(Eventually([&] { return !window->TheRecorder().IsRecording(); }, 5s));
    EXPECT_TRUE(window->StatusText().isEmpty());
    ASSERT_EQ(answer.Seen().size(), 1u);
    EXPECT_EQ(answer.Seen()[0].message,
              QStringLiteral("녹음 중에 녹음 파일이나 저장 폴더가\r\n지워져 녹음이 저장되지 않았습니다."));

    // Renamed instead: the recording goes on into the renamed folder until Stop, which says so.
    fs::create_directory(folder);
    ASSERT_TRUE(Click(window.get(), "IDC_BTN_RECORD"));
    const fs::path now = saveFolder->path() / "renamed" / fs::path(RecordingPath()).filename();
    ASSERT_FALSE(WaitForFile(RecordingPath()).empty());
    fs::rename(folder, now.parent_path());
    const uintmax_t atRename = fs::file_size(now);
    Eventually([&] { return fs::file_size(now) >= atRename + 40000; }, 15s);
    EXPECT_TRUE(window->TheRecorder().IsRecording());
    ASSERT_TRUE(Click(window.get(), "IDC_BTN_STOP"));
    ASSERT_EQ(answer.Seen().size(), 2u);
    EXPECT_EQ(
        answer.Seen()[1].message,
        QStringLiteral("녹음 중에 녹음 파일의 이름이나 위치가\r\n바뀌었습니다. 녹음은 바뀐 파일에\r\n모두 "
                       "저장되었습니다."));
    EXPECT_EQ(window->TheRecorder().RecordingPath(), now.string());
}

namespace {
// The capture source's channel volumes in percent, as the server reports them ("front-left: 13107
// /  20% / -41.94 dB,   front-right: ..."; the balance line after them has no percent).
std::vector<int> MonitorVolumePercents(const quortest::PulseServer& server) {
    const std::string text = server.Pactl("get-source-volume speakers.monitor");
    std::vector<int> percents;
    for (size_t at = text.find('%'); at != std::string::npos; at = text.find('%', at + 1)) {
        size_t start = at;
        while (start > 0 && std::isdigit(static_cast<unsigned char>(text[start - 1])))
            --start;
        percents.push_back(std::stoi(text.substr(start, at - start)));
    }
    return percents;
}
int MonitorVolumePercent(const quortest::PulseServer& server) {
    const std::vector<int> percents = MonitorVolumePercents(server);
    return percents.empty() ? -1 : percents[0];
}
} // namespace

TEST_F(RecorderWindowTest, TheVolumeSliderSetsTheCaptureVolumeUpsideDown) {
    OpenWindow();
    auto* slider = FindControlAs<QAbstractSlider>(window.get(), "IDC_SLIDER_VOLUME");
    ASSERT_NE(slider, nullptr);
    ExpectControlsInsideWithoutOverlap(window.get());
    ASSERT_GT(slider->maximum(), slider->minimum()) << "the capture path gave the slider its range";
    // The server takes the new volume a moment after the click.
    auto volumeOnceItIs = [](auto wanted) {
        int percent = 0;
        Eventually([&] { return wanted(percent = MonitorVolumePercent(Server())); }, 5s);
        return percent;
    };

    ClickAt(slider, {slider->width() / 2, slider->height() - 1}); // the bottom: the volume's minimum
    EXPECT_LE(volumeOnceItIs([](int percent) { return percent <= 1; }), 1);
    EXPECT_EQ(slider->value(), slider->maximum());

    ClickAt(slider, {slider->width() / 2, slider->height() / 2});
    const int middle = volumeOnceItIs([](int percent) { return percent > 30 && percent < 70; });
    EXPECT_GT(middle, 30);
    EXPECT_LT(middle, 70);

    ClickAt(slider, {slider->width() / 2, 0}); // the top: full volume
    EXPECT_EQ(volumeOnceItIs([](int percent) { return percent == 100; }), 100);
    EXPECT_EQ(slider->value(), slider->minimum());

    // Boosted elsewhere to 150 %: the top stands for it, and a touch that wanders off the top and
    // back keeps it. A drag that ends lower sets that volume.
    ASSERT_TRUE(Server().SetSourceVolume("speakers.monitor", 98304));
    const int x = slider->width() / 2;
    QTest::mousePress(slider, Qt::LeftButton, {}, {x, 2});
    QTest::mouseMove(slider, {x, 8});
    QTest::mouseMove(slider, {x, 0});
    QTest::mouseRelease(slider, Qt::LeftButton, {}, {x, 0});
    Settle(20); // a pause on purpose: time for a write of 100 % that must not come
    EXPECT_EQ(MonitorVolumePercents(Server()), (std::vector<int>{150, 150}));
    QTest::mousePress(slider, Qt::LeftButton, {}, {x, 2});
    QTest::mouseMove(slider, {x, slider->height() / 2});
    QTest::mouseRelease(slider, Qt::LeftButton, {}, {x, slider->height() / 2});
    const int lower = volumeOnceItIs([](int percent) { return percent < 100; });
    EXPECT_GT(lower, 30);
    EXPECT_LT(lower, 70);
}

TEST_F(RecorderWindowTest, TheVolumeSliderFollowsTheCaptureVolumeSetElsewhereAndLeavesItAlone) {
    OpenWindow();
    auto* slider = FindControlAs<QAbstractSlider>(window.get(), "IDC_SLIDER_VOLUME");
    ASSERT_NE(slider, nullptr);
    ASSERT_GT(slider->maximum(), slider->minimum());
    const auto positionFor = [slider](int percent) {
        return slider->maximum() - (slider->maximum() - slider->minimum()) * percent / 100;
    };
    const auto sliderNear = [slider](int wanted) {
        Eventually([&] { return std::abs(slider->value() - wanted) <= 2; }, 5s);
        return slider->value();
    };

    // Another program (or the volume page) sets the capture volume: the slider shows it.
    Server().Pactl("set-source-volume speakers.monitor 25%");
    EXPECT_NEAR(sliderNear(positionFor(25)), positionFor(25), 2);
    Server().Pactl("set-source-volume speakers.monitor 100%");
    EXPECT_NEAR(sliderNear(positionFor(100)), positionFor(100), 2);

    // Following is reading only: a balance set elsewhere is not flattened by a write back.
    Server().Pactl("set-source-volume speakers.monitor 20% 40%");
    EXPECT_NEAR(sliderNear(positionFor(40)), positionFor(40), 2) << "the louder channel, as read";
    Settle(20); // a pause on purpose: time for a write back that must not come
    EXPECT_EQ(MonitorVolumePercents(Server()), (std::vector<int>{20, 40}));
}

TEST_F(RecorderWindowTest, AlwaysOnTopFollowsTheSettingWithoutMovingTheWindow) {
    OpenWindow();
    EXPECT_FALSE(window->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    const QPoint at = window->pos();
    WriteCkTopmost(1);
    window->ApplySettings();
    EXPECT_TRUE(Eventually([&] { return window->windowFlags().testFlag(Qt::WindowStaysOnTopHint); }));
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->pos(), at);
    WriteCkTopmost(0);
    window->ApplySettings();
    EXPECT_FALSE(window->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_TRUE(window->isVisible());
}

TEST_F(RecorderWindowTest, SettingsDialogOkMakesTheWindowTopMostAgain) {
    OpenWindow();
    window->setWindowFlag(Qt::WindowStaysOnTopHint, false); // as if something had lowered it
    window->show();
    WriteCkTopmost(1);
    bool answered = false;
    ModalAnswerer answer(ModalAnswerer::Answer::Ok, [&](QWidget* modal) {
        if (modal->objectName() == QStringLiteral("IDD_STAROPTION")) {
            answered = Click(modal, "IDC_BTN_OK");
        }
    });
    ASSERT_TRUE(Click(window.get(), "IDC_BTN_SETTINGS"));
    EXPECT_TRUE(Eventually([&] { return answered; })) << "the settings dialog opened and its OK was pressed";
    EXPECT_TRUE(window->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_TRUE(window->isVisible());
}

TEST_F(RecorderWindowTest, TheTagEditorOpensOnTheNewMp3WhenAsked) {
    WriteCkMP3ID3V1(1);
    OpenWindow();
    ASSERT_TRUE(Click(window.get(), "IDC_BTN_RECORD"));
    LetAudioFlow(400);
    ModalAnswerer answer(ModalAnswerer::Answer::Cancel, [&](QWidget* modal) {
        if (modal->objectName() == QStringLiteral("IDD_ID3TAGINFO")) {
            static_cast<QDialog*>(modal)->reject();
        }
    });
    ASSERT_TRUE(Click(window.get(), "IDC_BTN_STOP"));
    ASSERT_EQ(answer.Seen().size(), 1u);
    EXPECT_EQ(answer.Seen()[0].className, QStringLiteral("CID3TagInfoDlg"));
    EXPECT_FALSE(window->TheRecorder().IsRecording());
}
