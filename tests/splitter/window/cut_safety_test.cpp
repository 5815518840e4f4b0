// A cut never costs the user a file: every way a cut can fail (no converter, a failing or stalled
// one, a full disk, a folder that takes no files, a cancel by Escape, close or SIGTERM) leaves the
// source and an existing target byte for byte as they were, no temporary file and no converter.
#include "platform/player/Mp3Decoder.h"
#include "splitter/slider/SliderBoth.h"
#include "splitter/window/CutProgressPanel.h"
#include "tests/splitter/common/MediaFiles.h"
#include "tests/splitter/window/SplitWindowFixture.h"
#include "tests/support/Eventually.h"
#include "tests/support/FileSizeLimit.h"
#include "ui/TerminationSignals.h"

#include <QTest>

#include <csignal>
#include <set>

using namespace std::chrono_literals;

namespace {

std::set<std::string> Listing(const std::filesystem::path& folder) {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.insert(entry.path().filename().string());
    return names;
}

class CutSafetyTest : public SplitWindowTest {
protected:
    void SetUp() override {
        SplitWindowTest::SetUp();
        std::filesystem::create_directories(dir / "out");
        std::filesystem::create_directories(dir / "conv");
        song = Tone("song.mp3", 10);
        songBytes = quortest::ReadFile(song);
        quortest::WriteFile(target, "precious");
    }

    // A converter of our own under the window's name for it; `body` runs in sh with the output
    // path (the last argument, without "file:") in $out; it notes its process id.
    void UseScriptedConverter(const std::string& body) {
        quortest::WriteFile(dir / "conv" / "screenshot",
                            "#!/bin/sh\nfor a; do out=$a; done\nout=${out#file:}\n"
                            "echo $$ > " +
                                (dir / "conv" / "pid").string() + "\n" + body);
        std::filesystem::permissions(dir / "conv" / "screenshot", std::filesystem::perms::owner_all);
        SetRecorderKey(dir.str(), (dir / "conv").string());
    }
    bool ConverterGone() {
        const pid_t pid = std::atoi(quortest::ReadFile(dir / "conv" / "pid").c_str());
        return pid > 0 && ::kill(pid, 0) != 0;
    }

    // Cuts (start, end) onto `output`, answering the overwrite question with OK; `during` runs
    // every few milliseconds while the converter runs. Returns the last notification shown.
    QString Cut(int start, int end, const std::string& output, const std::function<void()>& during = {}) {
        if (!window)
            Open(song);
        window->Slider()->SetSelection(start, end);
        AnswerFileDialogsWith(output);
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, [&] {
            if (during && window && window->Cutting())
                during();
        });
        poll.start(5);
        Click("IDC_BTN_CUT"); // returns once the cut has ended and its box has been answered
        EXPECT_TRUE(quortest::Eventually([&] { return !window || !window->Cutting(); }));
        return answerer->Seen().empty() ? QString() : answerer->Seen().back().message;
    }

    void ExpectUntouched(const std::string& what) {
        SCOPED_TRACE(what);
        EXPECT_EQ(quortest::ReadFile(song), songBytes);
        EXPECT_EQ(quortest::ReadFile(target), "precious");
        EXPECT_EQ(Listing(dir / "out"), std::set<std::string>{"keep.mp3"});
        EXPECT_EQ(Listing(dir.path()), (std::set<std::string>{"config", "conv", "out", "song.mp3"}));
    }

    std::string song, songBytes, target = (dir / "out" / "keep.mp3").string();
};

TEST_F(CutSafetyTest, EveryFailedCutLeavesSourceAndTargetAsTheyWere) {
    const QString error = "\r\n\r\n파일 자르기 오류.";
    SetRecorderKey(dir.str(), (dir / "conv").string());
    EXPECT_EQ(Cut(2, 6, target), "\r\n\r\n변환 모듈이 없습니다.");
    ExpectUntouched("no converter");

    UseScriptedConverter("printf 'half a file' > \"$out\"\nexit 1");
    EXPECT_EQ(Cut(2, 6, target), error);
    ExpectUntouched("failing converter");

    // Ends well with a real MP3 that holds 2 of the 8 s from 2 s to the end: a short cut.
    const std::string shortCut = (dir / "conv" / "short.mp3").string();
    ASSERT_TRUE(splittest::MakeToneMp3(shortCut, 2.0));
    UseScriptedConverter("cp '" + shortCut + "' \"$out\"");
    EXPECT_EQ(Cut(2, 10, target), error);
    ExpectUntouched("short cut to the end");

    UseScriptedConverter("exec sleep 1000");
    window->SetConverterStallLimit(300ms);
    EXPECT_EQ(Cut(2, 6, target), "\r\n\r\n변환 모듈이 응답하지 않아\r\n파일 자르기를 멈췄습니다.");
    EXPECT_TRUE(ConverterGone());
    ExpectUntouched("stalled converter");
    window->SetConverterStallLimit(30s);

    // The real converter on a full disk: a file-size limit that it inherits stands in for one.
    SetRecorderKey(dir.str(), std::string(QUOR_BIN_DIR));
    QString full;
    {
        const quortest::FileSizeLimit limit(16 * 1024);
        full = Cut(0, 10, target);
    }
    EXPECT_EQ(full, error);
    ExpectUntouched("full disk");

    // A folder that takes no new files (immutable for root, read-only for others).
    const std::string folder = (dir / "out").string();
    const bool immutable = ::geteuid() == 0 && splittest::RunProgram({"chattr", "+i", folder}) == 0;
    if (!immutable)
        std::filesystem::permissions(folder,
                                     std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    ASSERT_NE(::access(folder.c_str(), W_OK), 0);
    const QString readOnly = Cut(2, 6, target);
    immutable ? (void)splittest::RunProgram({"chattr", "-i", folder})
              : std::filesystem::permissions(folder, std::filesystem::perms::owner_all);
    EXPECT_EQ(readOnly, error);
    ExpectUntouched("read-only folder");

    // A good cut replaces the same target whole; one onto the source goes the same way.
    EXPECT_EQ(Cut(2, 6, target), "\r\n\r\n파일 자르기가 완료되었습니다.");
    EXPECT_EQ(Cut(2, 5, song), "\r\n\r\n파일 자르기가 완료되었습니다.");
    platform::Mp3Decoder decoder;
    ASSERT_TRUE(decoder.Open(target));
    EXPECT_NEAR(decoder.LengthMs(), 4000, 30);
    ASSERT_TRUE(decoder.Open(song));
    EXPECT_NEAR(decoder.LengthMs(), 3000, 30);
    EXPECT_EQ(SplitContext::Instance().media.durationSec, 3) << "the window holds the cut source";
    EXPECT_EQ(Listing(dir / "out"), std::set<std::string>{"keep.mp3"});
    EXPECT_EQ(Listing(dir.path()).size(), 4u);
}

TEST_F(CutSafetyTest, ProgressShowsAndEscapeCloseAndSigtermCancelAtOnce) {
    // Reports one minute written, then hangs.
    UseScriptedConverter("echo out_time_us=60000000\nexec sleep 1000");
    Open(song);
    window->Slider()->SetRange(0, 240, 1);
    TerminationSignals onSignal(window.get(), [this] { window->OnTerminationSignal(); });
    const std::vector<std::function<void()>> cancels = {
        [&] { QTest::keyClick(window.get(), Qt::Key_Escape); }, [&] { Click("IDC_BTN_CLOSE"); },
        [] { ::raise(SIGTERM); }};
    for (size_t i = 0; i < cancels.size(); ++i) {
        SCOPED_TRACE(i);
        window->show();
        std::optional<std::chrono::steady_clock::time_point> cancelAt;
        const size_t boxes = answerer->Seen().size();
        Cut(0, 240, target, [&] {
            if (cancelAt || window->Progress()->WrittenSec() != 60)
                return;
            EXPECT_TRUE(window->Progress()->isVisible());
            EXPECT_EQ(window->Progress()->Percent(), 25);
            QTest::mouseClick(Control("IDC_BTN_OPEN"), Qt::LeftButton); // taken by no one
            cancelAt = std::chrono::steady_clock::now();
            cancels[i]();
        });
        ASSERT_TRUE(cancelAt);
        EXPECT_LT(std::chrono::steady_clock::now() - *cancelAt, 1s);
        EXPECT_EQ(answerer->Seen().size(), boxes + 2) << "the save dialog, the overwrite question, no more";
        EXPECT_EQ(fileDialogs, static_cast<int>(i) + 1) << "the open button was not taken";
        EXPECT_TRUE(ConverterGone());
        EXPECT_FALSE(window->Progress()->isVisible());
        EXPECT_TRUE(quortest::Eventually([&] { return window->isVisible() == (i == 0); }))
            << "Escape cancels the cut; close and SIGTERM the window too";
        ExpectUntouched("cancelled");
    }
}

} // namespace
