// A cut never costs the user a file: every way a cut can fail (no converter, a failing one, a
// full disk, a folder that takes no files, a converter that stalls, a cancel by Escape, the
// close button or SIGTERM) leaves the source and an existing target byte for byte as they were
// and no temporary file behind; a converter that runs shows its progress and can be cancelled.
#include "CutProgressPanel.h"
#include "MediaFiles.h"
#include "SliderBoth.h"
#include "SplitWindowFixture.h"
#include "TerminationSignals.h"
#include "player/Mp3Decoder.h"

#include <QTest>

#include <csignal>
#include <set>
#include <sys/resource.h>

using namespace std::chrono_literals;
using quortest::gui::Settle;

namespace {

const QString kError = "\r\n\r\n파일 자르기 오류.";

std::set<std::string> Listing(const std::filesystem::path& folder) {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.insert(entry.path().filename().string());
    return names;
}

bool ProcessGone(const std::string& pidFile) {
    const std::string text = quortest::ReadFile(pidFile);
    const pid_t pid = static_cast<pid_t>(std::atoi(text.c_str()));
    return pid > 0 && ::kill(pid, 0) != 0;
}

class CutSafetyTest : public SplitWindowTest {
protected:
    void SetUp() override {
        SplitWindowTest::SetUp();
        std::filesystem::create_directories(dir / "out");
        std::filesystem::create_directories(dir / "conv");
        song = Tone("song.mp3", 10);
        songBytes = quortest::ReadFile(song);
        target = (dir / "out" / "keep.mp3").string();
        quortest::WriteFile(target, "precious");
    }

    // A converter of our own under the name the window looks for; `body` runs in sh with the
    // output path (the last argument, without its "file:") in $out.
    void UseScriptedConverter(const std::string& body) {
        const auto path = dir / "conv" / "screenshot";
        quortest::WriteFile(path, "#!/bin/sh\nfor a; do out=$a; done\nout=${out#file:}\necho $$ > '" +
                                      (dir / "conv" / "pid").string() + "'\n" + body + "\n");
        std::filesystem::permissions(path, std::filesystem::perms::owner_all);
        SetRecorderKey(dir.str(), (dir / "conv").string());
    }

    // Cuts (start, end) of the song onto `output`, answering the overwrite question with OK;
    // `during` runs every few milliseconds while the cut runs. Returns the notification boxes.
    std::vector<QString> Cut(int start, int end, const std::string& output,
                             const std::function<void()>& during = {}) {
        if (!window)
            Open(song);
        window->Slider()->SetSelection(start, end);
        AnswerFileDialogsWith(output);
        QTimer poll;
        if (during) {
            QObject::connect(&poll, &QTimer::timeout, [&] {
                if (window && window->Cutting())
                    during();
            });
            poll.start(5);
        }
        const size_t before = answerer->Seen().size();
        Click("IDC_BTN_CUT");
        poll.stop();
        Settle(30);
        std::vector<QString> boxes;
        for (size_t i = before; i < answerer->Seen().size(); ++i)
            if (answerer->Seen()[i].className == "CMssageBoxDlg")
                boxes.push_back(answerer->Seen()[i].message);
        return boxes;
    }

    // Nothing lost, nothing left behind.
    void ExpectUntouched(const std::string& what) {
        SCOPED_TRACE(what);
        EXPECT_EQ(quortest::ReadFile(song), songBytes);
        EXPECT_EQ(quortest::ReadFile(target), "precious");
        EXPECT_EQ(Listing(dir / "out"), std::set<std::string>{"keep.mp3"});
        EXPECT_EQ(Listing(dir.path()).count("song.mp3"), 1u);
        for (const std::string& name : Listing(dir.path()))
            EXPECT_EQ(name.find(".quorsplit"), std::string::npos) << name;
    }

    std::string song, songBytes, target;
};

TEST_F(CutSafetyTest, EveryFailedCutLeavesSourceAndTargetAsTheyWere) {
    // No converter anywhere.
    SetRecorderKey(dir.str(), (dir / "conv").string());
    auto boxes = Cut(2, 6, target);
    ASSERT_FALSE(boxes.empty());
    EXPECT_EQ(boxes.back(), "\r\n\r\n변환 모듈이 없습니다.");
    ExpectUntouched("no converter");

    // A converter that writes half a file and fails.
    UseScriptedConverter("printf 'half a file' > \"$out\"\nexit 1");
    boxes = Cut(2, 6, target);
    ASSERT_FALSE(boxes.empty());
    EXPECT_EQ(boxes.back(), kError);
    ExpectUntouched("failing converter");

    // The real converter on a full disk (a file-size limit that it inherits stands in for it).
    SetRecorderKey(dir.str(), std::string(QUOR_BIN_DIR));
    rlimit old{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
    auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = old;
    small.rlim_cur = 16 * 1024;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    boxes = Cut(0, 10, target);
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);
    ASSERT_FALSE(boxes.empty());
    EXPECT_EQ(boxes.back(), kError);
    ExpectUntouched("full disk");

    // A folder that takes no new files (immutable for root, read-only for others).
    const std::string folder = (dir / "out").string();
    const bool immutable = ::geteuid() == 0 && splittest::RunProgram({"chattr", "+i", folder}) == 0;
    if (!immutable)
        std::filesystem::permissions(dir / "out",
                                     std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    ASSERT_NE(::access(folder.c_str(), W_OK), 0) << "the folder must refuse new files";
    boxes = Cut(2, 6, target);
    if (immutable)
        splittest::RunProgram({"chattr", "-i", folder});
    else
        std::filesystem::permissions(dir / "out", std::filesystem::perms::owner_all);
    ASSERT_FALSE(boxes.empty());
    EXPECT_EQ(boxes.back(), kError);
    ExpectUntouched("read-only folder");

    // And a good cut over the same target replaces it whole.
    boxes = Cut(2, 6, target);
    ASSERT_FALSE(boxes.empty());
    EXPECT_EQ(boxes.back(), "\r\n\r\n파일 자르기가 완료되었습니다.");
    platform::Mp3Decoder decoder;
    ASSERT_TRUE(decoder.Open(target));
    EXPECT_NEAR(decoder.LengthMs(), 4000, 30);
    EXPECT_EQ(Listing(dir / "out"), std::set<std::string>{"keep.mp3"});
}

TEST_F(CutSafetyTest, ProgressIsShownAndEscapeCancelsAHangingConverterAtOnce) {
    // Reports one minute written, then hangs.
    UseScriptedConverter("echo out_time_us=60000000\nexec sleep 1000");
    Open(song);
    window->Slider()->SetRange(0, 240, 1);
    std::optional<std::chrono::steady_clock::time_point> escapeAt;
    QImage shot;
    auto boxes = Cut(0, 240, target, [&] {
        if (escapeAt || window->Progress()->WrittenSec() != 60)
            return;
        EXPECT_TRUE(window->Progress()->isVisible());
        EXPECT_EQ(window->Progress()->Percent(), 25);
        shot = quortest::gui::Grab(window.get());
        // Other controls take no input while the cut runs.
        QTest::mouseClick(Control("IDC_BTN_OPEN"), Qt::LeftButton);
        escapeAt = std::chrono::steady_clock::now();
        QTest::keyClick(window.get(), Qt::Key_Escape);
    });
    ASSERT_TRUE(escapeAt);
    EXPECT_LT(std::chrono::steady_clock::now() - *escapeAt, 1s);
    ASSERT_EQ(boxes.size(), 1u) << "a cancel needs no message";
    EXPECT_EQ(boxes[0], "\r\n\r\n같은 파일이 있습니다.\r\n덮어 씌우겠습니까?");
    EXPECT_EQ(fileDialogs, 1) << "only the save dialog: the open button was not taken";
    EXPECT_TRUE(ProcessGone((dir / "conv" / "pid").string()));
    EXPECT_FALSE(window->Progress()->isVisible());
    EXPECT_TRUE(window->isVisible()) << "Escape cancels the cut, not the window";
    ExpectUntouched("cancelled");
    // The panel shows the bar filled to a quarter over the range box, in the slider's colours.
    const QRect panel = window->Progress()->geometry();
    EXPECT_TRUE(QRect(8, 96, 483, 60).intersects(panel));
    const QRgb filled = shot.pixel(panel.left() + 20, panel.top() + 40) & 0xFFFFFF;
    const QRgb empty = shot.pixel(panel.left() + 300, panel.top() + 40) & 0xFFFFFF;
    EXPECT_GT(qRed(filled), qBlue(filled) + 100) << std::hex << filled;
    EXPECT_NE(filled, empty);
}

TEST_F(CutSafetyTest, StalledConverterIsEndedAndToldAsATimeOut) {
    UseScriptedConverter("exec sleep 1000");
    Open(song);
    window->SetConverterStallLimit(300ms);
    auto boxes = Cut(2, 6, target);
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes.back(), "\r\n\r\n변환 모듈이 응답하지 않아\r\n파일 자르기를 멈췄습니다.");
    EXPECT_TRUE(ProcessGone((dir / "conv" / "pid").string()));
    ExpectUntouched("stalled");
}

TEST_F(CutSafetyTest, CloseButtonAndSigtermCancelTheCutAndCloseTheWindow) {
    UseScriptedConverter("exec sleep 1000");
    Open(song);
    bool clicked = false;
    Cut(2, 6, target, [&] {
        if (!std::exchange(clicked, true))
            Click("IDC_BTN_CLOSE");
    });
    EXPECT_TRUE(ProcessGone((dir / "conv" / "pid").string()));
    EXPECT_FALSE(window->isVisible());
    ExpectUntouched("closed");

    window.reset();
    Open(song);
    TerminationSignals onSignal([this] { window->OnTerminationSignal(); });
    bool raised = false;
    Cut(2, 6, target, [&] {
        if (!std::exchange(raised, true))
            ::raise(SIGTERM);
    });
    EXPECT_TRUE(raised);
    EXPECT_TRUE(ProcessGone((dir / "conv" / "pid").string()));
    EXPECT_FALSE(window->isVisible());
    ExpectUntouched("terminated");
}

TEST_F(CutSafetyTest, CuttingOntoTheSourceGoesThroughTheTemporaryFile) {
    SetRecorderKey(dir.str(), std::string(QUOR_BIN_DIR));
    auto boxes = Cut(2, 5, song);
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0], "\r\n\r\n같은 파일이 있습니다.\r\n덮어 씌우겠습니까?");
    EXPECT_EQ(boxes[1], "\r\n\r\n파일 자르기가 완료되었습니다.");
    platform::Mp3Decoder decoder;
    ASSERT_TRUE(decoder.Open(song));
    EXPECT_NEAR(decoder.LengthMs(), 3000, 30);
    int minimum, maximum, tick;
    window->Slider()->GetRange(minimum, maximum, tick);
    EXPECT_EQ(SplitContext::Instance().media.durationSec, 3) << "the window holds the new file";
    EXPECT_TRUE(Enabled("IDC_BTN_PLAY"));
    for (const std::string& name : Listing(dir.path()))
        EXPECT_EQ(name.find(".quorsplit"), std::string::npos) << name;
}

} // namespace
