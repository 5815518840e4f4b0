// The splitter window: start-up with a file, a folder or nothing; opening files and refusing
// unplayable ones; playing from the start thumb, pause and resume (also at 0 ms) with the scripted
// player; a lost sound server with the real one; the drawn times; the slider's notification; the
// open, folder and help buttons for a new user.
#include "platform/player/ScriptedAudioPlayer.h"
#include "splitter/loudness/LoudnessProfile.h"
#include "splitter/slider/SliderBoth.h"
#include "splitter/slider/SliderBothBtn.h"
#include "splitter/slider/TimeText.h"
#include "splitter/window/CQuorSplitApp.h"
#include "splitter/window/CSplitAboutDlg.h"
#include "tests/splitter/common/MediaFiles.h"
#include "tests/splitter/window/SplitWindowFixture.h"
#include "tests/support/Eventually.h"

#include <QLineEdit>
#include <QTest>
#include <QUrl>

#include <random>
#include <thread>

using namespace std::chrono_literals;
using quortest::Eventually;
using quortest::gui::Settle;

namespace {

const QRect kStartText(QPoint(186, 176), QPoint(247, 190));
const QRect kEndText(QPoint(292, 176), QPoint(353, 190));
const QRect kPlayText(QPoint(100, 75), QPoint(159, 87));

TEST_F(SplitWindowTest, StartsWithAPlayableFileShownAndReadyToPlay) {
    const std::string song = Tone("song.mp3", 215.5);
    const quortest::ScopedEnv wayland("WAYLAND_DISPLAY", "wayland-0"); // as XWayland clients have it
    CQuorSplitDlg& w = Open(song);
    EXPECT_EQ(w.size(), QSize(500, 210));
    EXPECT_EQ(w.windowTitle(), "쿠오르녹음기-자르개");
    EXPECT_EQ(static_cast<QLineEdit*>(Control("IDC_EDIT_PATH"))->text().toStdString(), song);
    EXPECT_TRUE(Enabled("IDC_BTN_PLAY"));
    EXPECT_FALSE(Enabled("IDC_BTN_PAUSE"));
    EXPECT_FALSE(Enabled("IDC_BTN_STOP"));
    int minimum, maximum, tick, start, end;
    w.Slider()->GetRange(minimum, maximum, tick);
    w.Slider()->GetSelection(start, end);
    EXPECT_EQ(maximum, 215);
    EXPECT_EQ(tick, 10) << "a file from the command line gets tick 10";
    EXPECT_EQ(start, 0);
    EXPECT_EQ(end, 215);
    const SplitContext& ctx = SplitContext::Instance();
    EXPECT_EQ(ctx.inputName, "song.mp3");
    EXPECT_EQ(ctx.inputFolder, dir.str());
    EXPECT_EQ(ctx.media.durationSec, 215);
    EXPECT_TRUE(ShowsText(kStartText, "00:00:00", 12, Qt::black));
    EXPECT_TRUE(ShowsText(kEndText, "00:03:35", 12, Qt::black));
    EXPECT_TRUE(ShowsText(kPlayText, "00:00:00", 13, QColor(180, 180, 180)))
        << "grey while no stream is open";
    // Controls at their places.
    EXPECT_EQ(Control("IDC_BTN_CLOSE")->geometry(), QRect(470, 3, 22, 22));
    EXPECT_EQ(Control("IDC_BTN_CUT")->geometry(), QRect(392, 168, 96, 30));
    EXPECT_EQ(Control("IDC_BTN_PLAY")->geometry(), QRect(14, 165, 34, 34));
    EXPECT_EQ(Control("IDC_EDIT_PATH")->geometry(), QRect(68, 42, 260, 16));
    EXPECT_EQ(Control("SLIDER_ID")->geometry(), QRect(8, 96, 483, 60));
    // Shaped for every desktop: an X11 shape, and on a Wayland session see-through corners, as
    // compositors there ignore shapes (XWayland under sway showed them black).
    EXPECT_FALSE(w.mask().contains(QPoint(0, 0)));
    EXPECT_TRUE(w.testAttribute(Qt::WA_TranslucentBackground));
    EXPECT_EQ(qAlpha(w.grab().toImage().pixel(0, 0)), 0);
    EXPECT_EQ(qAlpha(w.grab().toImage().pixel(250, 5)), 255);
}

TEST_F(SplitWindowTest, TheWindowPaintsBeforeItReadsTheFile) {
    const std::string song = Tone("song.mp3", 4);
    Create(song);
    bool readAtFirstPaint = true;
    quortest::gui::OnFirstPaint(window.get(), [&] { readAtFirstPaint = window->Started(); });
    CQuorSplitDlg& w = ShowAndWait();
    EXPECT_FALSE(readAtFirstPaint);
    int start, end;
    w.Slider()->GetSelection(start, end);
    EXPECT_EQ(end, 4) << "the file is read all the same, just after";
    EXPECT_TRUE(Enabled("IDC_BTN_PLAY"));
}

TEST_F(SplitWindowTest, StartsWithAFolderWithTheTransportOffAndNoMessage) {
    CQuorSplitDlg& w = Open(dir.str()); // the recorder passes its folder before its first recording
    EXPECT_FALSE(Enabled("IDC_BTN_PLAY"));
    EXPECT_FALSE(Enabled("IDC_BTN_PAUSE"));
    EXPECT_FALSE(Enabled("IDC_BTN_STOP"));
    EXPECT_TRUE(static_cast<QLineEdit*>(Control("IDC_EDIT_PATH"))->text().isEmpty());
    Settle(50); // a pause on purpose: time for a message that must not come
    EXPECT_TRUE(answerer->Seen().empty());
    int minimum, maximum, tick;
    w.Slider()->GetRange(minimum, maximum, tick);
    EXPECT_EQ(maximum, 1);
    EXPECT_EQ(tick, 10);
}

TEST_F(SplitWindowTest, StartsWithNothingAndTheCutDoesNothing) {
    Open("");
    EXPECT_FALSE(Enabled("IDC_BTN_PLAY"));
    EXPECT_FALSE(Enabled("IDC_BTN_PAUSE"));
    EXPECT_FALSE(Enabled("IDC_BTN_STOP"));
    EXPECT_TRUE(Enabled("IDC_BTN_CUT"));
    Click("IDC_BTN_CUT");
    Settle(50); // a pause on purpose: time for a dialog that must not come
    EXPECT_EQ(fileDialogs, 0);
    EXPECT_TRUE(answerer->Seen().empty());
}

TEST_F(SplitWindowTest, PlaysFromTheStartThumbAndFollowsThePosition) {
    platform::ScriptedPlayback playback;
    CQuorSplitDlg& w = Open(Tone("song.mp3", 215.5), playback.Factory());
    w.Slider()->SetSelection(90, 100);
    Click("IDC_BTN_PLAY");
    EXPECT_FALSE(Enabled("IDC_BTN_PLAY"));
    EXPECT_TRUE(Enabled("IDC_BTN_PAUSE"));
    EXPECT_TRUE(Enabled("IDC_BTN_STOP"));
    EXPECT_TRUE(w.PlayTimerActive());
    EXPECT_EQ(playback.Seeks(), std::vector<int>{90000});
    playback.Advance(999);
    w.OnPlayTimer();
    EXPECT_EQ(w.Slider()->GetMarker(), 90);
    EXPECT_TRUE(ShowsText(kPlayText, "00:01:30", 13, QColor(110, 110, 110)));
    // The window's own timer follows the position.
    playback.Advance(1001);
    EXPECT_TRUE(Eventually([&] { return w.Slider()->GetMarker() == 92; }, 5s));
    // The end thumb does not stop it: start near the end thumb and let it pass.
    Click("IDC_BTN_STOP");
    EXPECT_EQ(w.Slider()->GetMarker(), 90) << "stop puts the marker on the start thumb";
    EXPECT_FALSE(playback.Playing());
    w.Slider()->SetSelection(99, 100);
    Click("IDC_BTN_PLAY");
    playback.Advance(2000);
    w.OnPlayTimer();
    EXPECT_EQ(w.Slider()->GetMarker(), 101);
    EXPECT_TRUE(w.Player()->IsStreamOpen());
    // The end of the file does: the window goes back to idle by itself.
    playback.PlayToEnd();
    w.OnPlayTimer();
    EXPECT_FALSE(w.Player()->IsStreamOpen());
    EXPECT_TRUE(Enabled("IDC_BTN_PLAY"));
    EXPECT_FALSE(Enabled("IDC_BTN_STOP"));
    EXPECT_FALSE(w.PlayTimerActive());
    EXPECT_EQ(w.Slider()->GetMarker(), 99);
}

TEST_F(SplitWindowTest, PauseTwiceResumesWhereItPaused) {
    platform::ScriptedPlayback playback;
    CQuorSplitDlg& w = Open(Tone("song.mp3", 30), playback.Factory());
    w.Slider()->SetSelection(10, 30);
    Click("IDC_BTN_PLAY");
    playback.Advance(600);
    Click("IDC_BTN_PAUSE");
    EXPECT_EQ(w.Player()->GetResumePos(), 10600);
    EXPECT_FALSE(w.Player()->IsStreamOpen());
    EXPECT_FALSE(playback.Playing());
    EXPECT_FALSE(Enabled("IDC_BTN_PLAY"));
    EXPECT_TRUE(Enabled("IDC_BTN_PAUSE"));
    EXPECT_FALSE(Enabled("IDC_BTN_STOP")) << "stop is off while paused";
    EXPECT_FALSE(w.PlayTimerActive());
    playback.Advance(300); // nothing plays while paused
    Click("IDC_BTN_PAUSE");
    EXPECT_TRUE(w.Player()->IsStreamOpen());
    EXPECT_TRUE(playback.Playing());
    EXPECT_EQ(w.Player()->GetResumePos(), 0);
    EXPECT_EQ(w.Player()->StreamTimeMs(), 10600);
    EXPECT_EQ(playback.Seeks(), (std::vector<int>{10000, 10600})) << "resumed where it paused";
    EXPECT_TRUE(Enabled("IDC_BTN_STOP"));
    EXPECT_TRUE(w.PlayTimerActive());
    Click("IDC_BTN_STOP");
}

TEST_F(SplitWindowTest, SeventyFiveMinutesReadAsSeventyFiveMinutes) {
    const std::string path = (dir / "long.mp3").string();
    ASSERT_TRUE(splittest::MakeToneMp3(path, 4500.5, 440, 8000, 8, 1));
    Open(path);
    EXPECT_TRUE(ShowsText(kEndText, "00:75:00", 12, Qt::black));
}

TEST_F(SplitWindowTest, DraggingAThumbWhileStoppedMovesTheMarkerToTheStart) {
    CQuorSplitDlg& w = Open(Tone("song.mp3", 120));
    SliderBothBtn* thumb = w.Slider()->StartThumb();
    QTest::mousePress(thumb, Qt::LeftButton, Qt::NoModifier, QPoint(9, 9));
    QMouseEvent move(QEvent::MouseMove, QPointF(69, 9), thumb->mapToGlobal(QPointF(69, 9)), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(thumb, &move);
    QTest::mouseRelease(thumb, Qt::LeftButton, Qt::NoModifier, QPoint(69, 9));
    int start = 0, end = 0;
    EXPECT_TRUE(Eventually([&] {
        w.Slider()->GetSelection(start, end);
        return start > 10 && w.Slider()->GetMarker() == start;
    })) << "start "
        << start;
    EXPECT_EQ(w.Slider()->GetMarker(), start);
    EXPECT_TRUE(ShowsText(kStartText, QString::fromStdString(SplitTimeText(start)), 12, Qt::black));
}

TEST_F(SplitWindowTest, OpenButtonLoadsAFileWithItsTickAndRange) {
    const std::string song = Tone("other.mp3", 45);
    CQuorSplitDlg& w = Open("");
    AnswerFileDialogsWith(song);
    Click("IDC_BTN_OPEN");
    EXPECT_TRUE(Eventually([&] { return fileDialogs == 1 && Enabled("IDC_BTN_PLAY"); }));
    EXPECT_EQ(SplitContext::Instance().inputPath, song);
    EXPECT_EQ(SplitContext::Instance().inputName, "other.mp3");
    int minimum, maximum, tick;
    w.Slider()->GetRange(minimum, maximum, tick);
    EXPECT_EQ(maximum, 45);
    EXPECT_EQ(tick, 1);
    EXPECT_TRUE(ShowsText(kEndText, "00:00:45", 12, Qt::black));
    // The file's loudness fills in behind the bar without a click.
    EXPECT_TRUE(
        Eventually([&] { return QColor(quortest::gui::Grab(w.Slider()).pixel(200, 31)) != Qt::white; }));

    // Cut to its first 7 s of bytes, the file still names 45 s in its header: it shows its 7 s.
    const std::string cut = (dir / "cut short.mp3").string();
    quortest::WriteFile(cut, quortest::ReadFile(song).substr(0, 7 * 16000 + 500));
    AnswerFileDialogsWith(cut);
    Click("IDC_BTN_OPEN");
    EXPECT_TRUE(Eventually([&] {
        w.Slider()->GetRange(minimum, maximum, tick);
        return maximum == 7;
    })) << maximum;
    EXPECT_EQ(SplitContext::Instance().media.durationSec, 7);
    EXPECT_TRUE(ShowsText(kEndText, "00:00:07", 12, Qt::black));
    EXPECT_TRUE(!w.Slider()->Loudness() || w.Slider()->Loudness()->Seconds() == 7)
        << "the old picture goes at once";
    ASSERT_TRUE(Eventually([&] { return w.Slider()->Loudness() != nullptr; }));
    EXPECT_EQ(w.Slider()->Loudness()->Seconds(), 7);
}

TEST_F(SplitWindowTest, UnplayableFilesAreRefusedEverywhereAndThePreviousFileStaysUsable) {
    const std::string good = Tone("good.mp3", 20);
    std::string bytes = quortest::ReadFile(good);
    std::mt19937 random(17);
    std::string noise(64 * 1024, '\0');
    for (char& c : noise)
        c = static_cast<char>(random());
    quortest::WriteFile(dir / "empty.mp3", "");
    quortest::WriteFile(dir / "noise.mp3", noise);
    quortest::WriteFile(dir / "truncated.mp3", bytes.substr(0, 300));
    quortest::WriteFile(dir / "words.mp3", "just words, no sound");
    ASSERT_EQ(splittest::RunProgram({"ffmpeg", "-nostdin", "-v", "error", "-f", "lavfi", "-i",
                                     "sine=duration=5", "-f", "wav", "-y", (dir / "wave.mp3").string()}),
              0);
    const std::vector<std::string> bad = {"empty.mp3", "noise.mp3", "truncated.mp3", "words.mp3", "wave.mp3"};

    for (const std::string& name : bad) {
        SCOPED_TRACE(name);
        window.reset();
        SplitContext::Instance() = SplitContext{};
        const size_t before = answerer->Seen().size();
        Open((dir / name).string());
        ASSERT_TRUE(Eventually([&] { return answerer->Seen().size() > before; }, 5s));
        EXPECT_EQ(answerer->Seen().back().message, "재생 할수 없는 파일입니다.");
        EXPECT_FALSE(Enabled("IDC_BTN_PLAY"));
        EXPECT_TRUE(static_cast<QLineEdit*>(Control("IDC_EDIT_PATH"))->text().isEmpty());
        Click("IDC_BTN_CUT");
        Settle(20); // a pause on purpose: time for a dialog that must not come
        EXPECT_EQ(fileDialogs, 0) << "nothing is loaded, so nothing is cut";
    }

    window.reset();
    CQuorSplitDlg& w = Open(good);
    for (const std::string& name : bad) {
        SCOPED_TRACE(name);
        const size_t before = answerer->Seen().size();
        AnswerFileDialogsWith((dir / name).string());
        Click("IDC_BTN_OPEN");
        ASSERT_TRUE(Eventually([&] { return answerer->Seen().size() >= before + 2; }));
        ASSERT_EQ(answerer->Seen().size(), before + 2); // the file dialog and the refusal
        EXPECT_EQ(answerer->Seen().back().message, "재생 할수 없는 파일입니다.");
        EXPECT_TRUE(Enabled("IDC_BTN_PLAY"));
        EXPECT_EQ(SplitContext::Instance().inputPath, good);
        EXPECT_EQ(SplitContext::Instance().media.durationSec, 20);
        EXPECT_EQ(static_cast<QLineEdit*>(Control("IDC_EDIT_PATH"))->text().toStdString(), good);
    }
    // It still plays and cuts at its own rates.
    Click("IDC_BTN_PLAY");
    EXPECT_TRUE(w.Player()->IsStreamOpen());
    Click("IDC_BTN_STOP");
    w.Slider()->SetSelection(2, 4);
    AnswerFileDialogsWith((dir / "cut.mp3").string());
    Click("IDC_BTN_CUT"); // returns once the cut has ended and its box has been answered
    ASSERT_TRUE(Eventually([&] { return !w.Cutting(); }));
    EXPECT_EQ(answerer->Seen().back().message, "\r\n\r\n파일 자르기가 완료되었습니다.");
    EXPECT_NE(w.LastCutArguments().find("-ar 44100 -ab 128K"), std::string::npos) << w.LastCutArguments();
}

TEST_F(SplitWindowTest, TheAboutBoxOpensTheHelpPageThroughTheShell) {
    Open("");
    QString shown;
    answerer = std::make_unique<quortest::gui::ModalAnswerer>(
        quortest::gui::ModalAnswerer::Answer::Ok, [&shown](QWidget* modal) {
            shown = modal->objectName();
            quortest::gui::Click(modal, QStringLiteral("IDC_BTN_HELP"));
            modal->close();
        });
    Click("IDC_BTN_ABOUT");
    EXPECT_EQ(shown, "IDD_ABOUT");
    ASSERT_EQ(shell.openedAddresses.size(), 1);
    EXPECT_EQ(shell.openedAddresses.back(), CSplitAboutDlg::HelpPage());
    EXPECT_TRUE(shell.openedFolders.empty());
}

TEST_F(SplitWindowTest, ANewUserOpensFromMusicElseHomeAndTheRecordersFolderOnceSet) {
    SetRecorderKey(std::nullopt, std::nullopt);
    std::filesystem::create_directory(dir / "home");
    quortest::ScopedEnv home("HOME", (dir / "home").string());
    const std::string song = Tone("song.mp3", 5);
    Open("");
    AnswerFileDialogsWith(song);
    Click("IDC_BTN_OPEN");
    EXPECT_TRUE(Eventually([&] { return fileDialogs == 1; }));
    EXPECT_EQ(lastDialogFolder.toStdString(), (dir / "home").string()) << "no Music folder: home";
    EXPECT_EQ(SplitContext::Instance().inputPath, song);

    std::filesystem::create_directory(dir / "home" / "Music");
    AnswerFileDialogsWith("");
    Click("IDC_BTN_OPEN");
    Click("IDC_BTN_FOLDER");
    ASSERT_TRUE(Eventually([&] { return shell.openedFolders.size() == 1; }));
    EXPECT_EQ(lastDialogFolder.toStdString(), (dir / "home" / "Music").string());
    EXPECT_EQ(shell.openedFolders.back(), (dir / "home" / "Music").string());

    SetRecorderKey(dir.str(), std::string(QUOR_BIN_DIR));
    Click("IDC_BTN_FOLDER");
    ASSERT_TRUE(Eventually([&] { return shell.openedFolders.size() == 2; }));
    EXPECT_EQ(shell.openedFolders.back(), dir.str());
}

TEST_F(SplitWindowTest, PauseAtTheVeryStartResumesFromTheStart) {
    // A clock that has not started yet, as right after Play: the stream stays where it was sought.
    platform::ScriptedPlayback playback;
    CQuorSplitDlg& w = Open(Tone("song.mp3", 30), playback.Factory());
    Click("IDC_BTN_PLAY");
    Click("IDC_BTN_PAUSE");
    EXPECT_TRUE(w.Player()->IsPaused());
    EXPECT_FALSE(w.Player()->IsStreamOpen());
    EXPECT_FALSE(Enabled("IDC_BTN_STOP"));
    Click("IDC_BTN_PAUSE");
    EXPECT_FALSE(w.Player()->IsPaused()) << "the second press resumes";
    EXPECT_TRUE(w.Player()->IsStreamOpen());
    EXPECT_TRUE(Enabled("IDC_BTN_STOP"));
    EXPECT_TRUE(w.PlayTimerActive());
    EXPECT_EQ(playback.Seeks(), (std::vector<int>{0, 0})) << "played from 0, resumed at 0";
    Click("IDC_BTN_PAUSE");
    EXPECT_TRUE(w.Player()->IsPaused()) << "and the next pauses again";
    Click("IDC_BTN_PAUSE");
    Click("IDC_BTN_STOP");
    EXPECT_TRUE(Enabled("IDC_BTN_PLAY"));
}

TEST_F(SplitWindowTest, LostSoundServerStopsPlaybackAndPlayWorksOnceItIsBack) {
    CQuorSplitDlg& w = Open(Tone("song.mp3", 60));
    Click("IDC_BTN_PLAY");
    ASSERT_TRUE(w.Player()->IsStreamOpen());
    const size_t before = answerer->Seen().size();
    StopSoundServer();
    ASSERT_TRUE(Eventually([&] { return answerer->Seen().size() > before; }, 5s));
    EXPECT_EQ(answerer->Seen().back().message, "\r\n\r\n사운드 서버와의 연결이 끊어져\r\n재생을 멈췄습니다.");
    EXPECT_TRUE(Enabled("IDC_BTN_PLAY"));
    EXPECT_FALSE(Enabled("IDC_BTN_PAUSE"));
    EXPECT_FALSE(Enabled("IDC_BTN_STOP"));
    EXPECT_FALSE(w.PlayTimerActive());
    EXPECT_FALSE(w.Player()->IsStreamOpen());

    // Play with no server at all: told, and idle again.
    const size_t told = answerer->Seen().size();
    Click("IDC_BTN_PLAY");
    ASSERT_TRUE(Eventually([&] { return answerer->Seen().size() > told; }));
    EXPECT_EQ(answerer->Seen().back().message, "\r\n\r\n사운드 서버에 연결할 수 없어\r\n재생할 수 없습니다.");
    EXPECT_TRUE(Enabled("IDC_BTN_PLAY"));
    EXPECT_FALSE(Enabled("IDC_BTN_STOP"));
    EXPECT_FALSE(w.PlayTimerActive());

    StartSoundServer();
    const size_t seen = answerer->Seen().size();
    Click("IDC_BTN_PLAY");
    EXPECT_TRUE(w.Player()->IsStreamOpen());
    EXPECT_TRUE(w.PlayTimerActive());
    EXPECT_TRUE(Eventually([&] { return w.Player()->StreamTimeMs() > 200; }, 5s)) << "it plays";
    EXPECT_EQ(answerer->Seen().size(), seen);
    Click("IDC_BTN_STOP");
}

TEST_F(SplitWindowTest, PressingTheBodyMovesTheWindowButTheRulerDoesNot) {
    CQuorSplitDlg& w = Open("");
    const QPoint before = w.pos();
    QWidget* ruler = Control("SLIDER_ID");
    QTest::mousePress(ruler, Qt::LeftButton, Qt::NoModifier, QPoint(200, 40));
    QTest::mouseMove(ruler, QPoint(260, 50));
    QTest::mouseRelease(ruler, Qt::LeftButton, Qt::NoModifier, QPoint(260, 50));
    EXPECT_EQ(w.pos(), before);
    QTest::mousePress(&w, Qt::LeftButton, Qt::NoModifier, QPoint(250, 75));
    QTest::mouseMove(&w, QPoint(290, 95));
    QTest::mouseRelease(&w, Qt::LeftButton, Qt::NoModifier, QPoint(290, 95));
    EXPECT_EQ(w.pos(), before + QPoint(40, 20)) << "the body drags the window";
}

TEST_F(SplitWindowTest, FirstArgumentIsTheFileAndTheRestIsIgnored) {
    EXPECT_EQ(CQuorSplitApp::InputPathFrom({"QuorSplit", "/music/a b \"c\".mp3", "--other"}),
              "/music/a b \"c\".mp3");
    EXPECT_EQ(CQuorSplitApp::InputPathFrom({"QuorSplit"}), "");
}

TEST_F(SplitWindowTest, CloseEndsTheWindow) {
    CQuorSplitDlg& w = Open("");
    Click("IDC_BTN_CLOSE");
    EXPECT_TRUE(Eventually([&] { return !w.isVisible(); }));
}

} // namespace
