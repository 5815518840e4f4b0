// Cutting from the window with the real converter: the range and the exact argument string, the
// added extension, the overwrite question, a file that cannot be replaced, a missing converter,
// names a shell (or the save dialog) would misread, a failing converter reported as an error, and
// what is refused before the converter runs; and the whole way from opening to cutting by keys.
#include "platform/player/Mp3Decoder.h"
#include "splitter/slider/SliderBoth.h"
#include "splitter/slider/SliderBothBtn.h"
#include "tests/splitter/common/MediaFiles.h"
#include "tests/splitter/window/SplitWindowFixture.h"
#include "tests/support/Eventually.h"
#include "tests/support/gui/FocusMarkPixels.h"

#include <QTest>

#include <sys/stat.h>

using quortest::Eventually;

namespace {

const QString kDone = "\r\n\r\n파일 자르기가 완료되었습니다.";
const QString kError = "\r\n\r\n파일 자르기 오류.";

int64_t DecodedMs(const std::string& path) {
    platform::Mp3Decoder decoder;
    return decoder.Open(path) ? decoder.LengthMs() : -1;
}

class CutWindowTest : public SplitWindowTest {
protected:
    // Loads `input`, selects (start, end), cuts to `output`; returns the messages shown.
    std::vector<quortest::gui::SeenBox> Cut(const std::string& input, int start, int end,
                                            const std::string& output) {
        if (!window)
            Open(input);
        window->Slider()->SetSelection(start, end);
        AnswerFileDialogsWith(output);
        const size_t before = answerer->Seen().size();
        Click("IDC_BTN_CUT"); // returns once the cut has ended and its boxes have been answered
        EXPECT_TRUE(Eventually([&] { return !window->Cutting(); }));
        std::vector<quortest::gui::SeenBox> boxes;
        for (size_t i = before; i < answerer->Seen().size(); ++i)
            if (answerer->Seen()[i].className == "CMssageBoxDlg")
                boxes.push_back(answerer->Seen()[i]);
        return boxes;
    }
};

TEST_F(CutWindowTest, CutsSixtyFiveToTwoHundredSecondsAsAMonoMp3) {
    const std::string song = Tone("song.mp3", 215.5);
    const std::string out = (dir / "Split_song.mp3").string();
    auto boxes = Cut(song, 65, 200, out);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].message, kDone);
    EXPECT_EQ(boxes[0].title, "알림");
    EXPECT_EQ(boxes[0].buttonLayout, 1);
    EXPECT_EQ(boxes[0].size, QSize(200, 130));
    EXPECT_EQ(window->LastCutArguments(), "-ss 00:01:05 -t 00:02:15 -i \"" + song +
                                              "\" -acodec libmp3lame -ac 1 -ar 44100 -ab 128K -y \"" + out +
                                              "\"");
    EXPECT_NEAR(DecodedMs(out), 135000, 1152.0 * 1000 / 44100);
    EXPECT_EQ(splittest::Probe(out).channels, 1);
    const SplitContext& ctx = SplitContext::Instance();
    EXPECT_EQ(ctx.outputName, "Split_song.mp3");
    EXPECT_EQ(ctx.outputFolder, dir.str());
    EXPECT_EQ(ctx.media.durationSec, 215) << "the source's properties stay for the next cut";
}

TEST_F(CutWindowTest, AVariableBitRateFileWithoutAHeaderCutToItsEndCompletes) {
    // The media library names no length for it, and one guessed from its quiet first frames
    // would run three times too long: the window takes the length that decodes.
    const std::string song = (dir / "vbr.mp3").string(), out = (dir / "tail.mp3").string();
    ASSERT_TRUE(splittest::MakeVbrMp3WithoutHeader(song, 8.0));
    Open(song);
    ASSERT_EQ(SplitContext::Instance().media.durationSec, 8);
    auto boxes = Cut(song, 3, 8, out);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].message, kDone);
    EXPECT_NEAR(DecodedMs(out), 5000, 60);
}

TEST_F(CutWindowTest, UpperCaseExtensionGetsDotMp3Added) {
    const std::string song = Tone("song.mp3", 10);
    auto boxes = Cut(song, 2, 5, (dir / "clip.MP3").string());
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].message, "\r\n\r\nmp3 파일로만 변환이 가능합니다.\r\n확장자.mp3를 추가합니다.");
    EXPECT_EQ(boxes[0].size, QSize(300, 150));
    EXPECT_EQ(boxes[1].message, kDone);
    EXPECT_NEAR(DecodedMs((dir / "clip.MP3.mp3").string()), 3000, 30);
    EXPECT_FALSE(std::filesystem::exists(dir / "clip.MP3"));
    // ".mp3" anywhere in the name is enough.
    boxes = Cut(song, 2, 4, (dir / "clip.mp3.bak").string());
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].message, kDone) << "the converter writes an .mp3 temporary file, whatever the name";
    EXPECT_NEAR(DecodedMs((dir / "clip.mp3.bak").string()), 2000, 30);
}

TEST_F(CutWindowTest, ExistingOutputIsReplacedOnlyWhenTheUserSaysSo) {
    const std::string song = Tone("song.mp3", 10);
    const std::string out = (dir / "keep.mp3").string();
    quortest::WriteFile(out, "precious");
    answerer->SetAnswer(quortest::gui::ModalAnswerer::Answer::Cancel);
    auto boxes = Cut(song, 1, 4, out);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].message, "\r\n\r\n같은 파일이 있습니다.\r\n덮어 씌우겠습니까?");
    EXPECT_EQ(boxes[0].buttonLayout, 2);
    EXPECT_EQ(quortest::ReadFile(out), "precious");

    answerer->SetAnswer(quortest::gui::ModalAnswerer::Answer::Ok);
    boxes = Cut(song, 1, 4, out);
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[1].message, kDone);
    EXPECT_NEAR(DecodedMs(out), 3000, 30);
}

TEST_F(CutWindowTest, OutputThatCannotBeRemovedIsInUseAndTheFailedCutIsAnError) {
    const std::string song = Tone("song.mp3", 10);
    const std::string out = (dir / "busy.mp3").string();
    std::filesystem::create_directories(dir / "busy.mp3" / "inside");
    auto boxes = Cut(song, 1, 4, out);
    ASSERT_EQ(boxes.size(), 3u);
    EXPECT_EQ(boxes[1].message, "\r\n\r\n해당 파일이 사용중입니다.");
    EXPECT_EQ(boxes[2].message, kError) << "the converter could not write: not a completed cut";
}

TEST_F(CutWindowTest, MissingConverterIsReportedAndNothingRuns) {
    std::filesystem::create_directory(dir / "empty");
    SetRecorderKey(dir.str(), (dir / "empty").string());
    const std::string song = Tone("song.mp3", 10);
    const std::string out = (dir / "out.mp3").string();
    std::string found;
    Open(song);
    EXPECT_FALSE(window->FindConverter(found));
    EXPECT_EQ(found, (dir / "empty" / "screenshot").string());
    auto boxes = Cut(song, 1, 4, out);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].message, "\r\n\r\n변환 모듈이 없습니다.");
    EXPECT_EQ(boxes[0].size, QSize(300, 150));
    EXPECT_FALSE(std::filesystem::exists(out));

    SetRecorderKey(dir.str(), std::string(QUOR_BIN_DIR));
    EXPECT_TRUE(window->FindConverter(found));
    EXPECT_EQ(found, std::string(QUOR_BIN_DIR) + "/screenshot");
}

TEST_F(CutWindowTest, NamesWithBlanksQuotesAndCommandsCutCorrectly) {
    std::filesystem::create_directory(dir / "내 음악");
    const std::string song = Tone("내 음악/a \"b\" $(touch PWNED) `touch TICK`.mp3", 12);
    const std::string out = (dir / "내 음악" / "Split_$(touch PWNED2) 'x' `y`.mp3").string();
    auto boxes = Cut(song, 3, 9, out);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].message, kDone);
    EXPECT_NEAR(DecodedMs(out), 6000, 30);
    EXPECT_NE(window->LastCutArguments().find("-i \"" + song + "\""), std::string::npos);
    for (const char* trace : {"PWNED", "PWNED2", "TICK"}) {
        EXPECT_FALSE(std::filesystem::exists(dir / trace));
        EXPECT_FALSE(std::filesystem::exists(dir / "내 음악" / trace));
        EXPECT_FALSE(std::filesystem::exists(std::filesystem::current_path() / trace));
    }
}

TEST_F(CutWindowTest, ConverterFailureIsAnErrorNotACompletion) {
    const std::string song = Tone("song.mp3", 10);
    Open(song);
    std::filesystem::resize_file(song, 0); // the file goes bad after it was loaded
    auto boxes = Cut(song, 1, 4, (dir / "out.mp3").string());
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].message, kError);
}

TEST_F(CutWindowTest, ProposedNameWithQuotesIsSavedAsProposed) {
    const std::string song = Tone("say \"hi\".mp3", 6);
    Open(song);
    window->Slider()->SetSelection(1, 3);
    AcceptProposedNames();
    Click("IDC_BTN_CUT");
    ASSERT_TRUE(Eventually([&] { return !answerer->Seen().empty(); }));
    EXPECT_EQ(answerer->Seen().back().message, kDone);
    EXPECT_NEAR(DecodedMs((dir / "Split_say \"hi\".mp3").string()), 2000, 30);
    EXPECT_FALSE(std::filesystem::exists(dir / "hi.mp3"));
}

TEST_F(CutWindowTest, EmptyRangeAndOverlongNameAreRefusedBeforeTheConverterRuns) {
    const std::string song = Tone("song.mp3", 10);
    auto boxes = Cut(song, 4, 4, (dir / "empty.mp3").string());
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].message, "\r\n\r\n자를 구간이 없습니다.\r\n시작과 끝을 다르게 정하세요.");
    EXPECT_EQ(fileDialogs, 0) << "refused before the output is even asked for";

    // 86 Korean syllables are 258 bytes: more than the file system takes in one name.
    std::string name;
    for (int i = 0; i < 86; ++i)
        name += "가";
    boxes = Cut(song, 1, 4, (dir / (name + ".mp3")).string());
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].message, "\r\n\r\n파일 이름이 너무 깁니다.\r\n(255바이트까지 쓸 수 있습니다.)");
    EXPECT_EQ(window->LastCutArguments(), "") << "the converter never ran";
    for (const auto& entry : std::filesystem::directory_iterator(dir.path()))
        EXPECT_EQ(entry.path().filename().string().find(".quorsplit"), std::string::npos);
}

} // namespace

TEST_F(CutWindowTest, TheKeyboardAloneOpensPlaysMovesTheThumbsAndCuts) {
    const std::string song = Tone("song.mp3", 60);
    Open("");
    // The window system gives the window the keyboard back after a box; offscreen, the test does.
    const auto activate = [&] {
        window->activateWindow();
        return QTest::qWaitForWindowActive(window.get());
    };
    const auto keys = [&](std::initializer_list<Qt::Key> pressed) {
        for (Qt::Key k : pressed)
            QTest::keyClick(window->focusWidget(), k);
    };
    ASSERT_TRUE(activate());
    AnswerFileDialogsWith(song);
    keys({Qt::Key_Return}); // 파일열기 has the focus
    ASSERT_EQ(SplitContext::Instance().inputPath, song);
    ASSERT_TRUE(activate());

    // Arrows move a thumb a second, page keys ten; Home stops the end thumb at the start one.
    SliderBothBtn* startThumb = window->Slider()->StartThumb();
    const int unmarked = quortest::gui::FocusAccentPixels(startThumb);
    keys({Qt::Key_Tab, Qt::Key_Tab, Qt::Key_Right, Qt::Key_Right, Qt::Key_PageUp, Qt::Key_Left});
    EXPECT_GT(quortest::gui::FocusAccentPixels(startThumb), unmarked + 20);
    int start = 0, end = 0;
    keys({Qt::Key_Tab, Qt::Key_Home});
    window->Slider()->GetSelection(start, end);
    EXPECT_EQ(end, 11);
    keys({Qt::Key_End, Qt::Key_PageDown, Qt::Key_PageDown, Qt::Key_Left, Qt::Key_Up, Qt::Key_Down});
    window->Slider()->GetSelection(start, end);
    EXPECT_EQ(std::pair(start, end), std::pair(11, 39));

    // Play, pause, resume, stop: a button that goes off hands the keyboard to one that is on.
    keys({Qt::Key_Tab, Qt::Key_Space});
    ASSERT_TRUE(window->PlayTimerActive());
    keys({Qt::Key_Return});
    EXPECT_TRUE(window->Player()->IsPaused());
    keys({Qt::Key_Return, Qt::Key_Tab, Qt::Key_Return});
    EXPECT_FALSE(window->PlayTimerActive());
    EXPECT_EQ(window->focusWidget()->objectName(), "IDC_BTN_PLAY");

    // Past the buttons that are off, to the cut.
    AnswerFileDialogsWith((dir / "Split_song.mp3").string());
    keys({Qt::Key_Tab, Qt::Key_Return});
    EXPECT_EQ(window->LastCutArguments().substr(0, 25), "-ss 00:00:11 -t 00:00:28 ");
}
