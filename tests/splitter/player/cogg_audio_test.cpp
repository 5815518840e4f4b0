// COgg against the private server: the length text and the end of a long file, pause and resume
// at the saved position, PlayFrom with a saved position, stop while paused, refusal of non-MP3s,
// and the tone the sink's monitor really carries.
#include "platform/dialogs/PlainMessageBox.h"
#include "platform/player/Mp3Decoder.h"
#include "splitter/player/COgg.h"
#include "tests/splitter/common/MediaFiles.h"
#include "tests/splitter/player/MonitorCapture.h"
#include "tests/support/Eventually.h"
#include "tests/support/TempDir.h"
#include "tests/support/pulse/PulseServer.h"
#include "tests/support/pulse/Signal.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

using namespace std::chrono_literals;

namespace {

class COggTest : public ::testing::Test {
protected:
    void SetUp() override {
        quortest::SharedPulseServer().WakeSink();
        ASSERT_TRUE(player.InitAudio());
    }
    std::string Tone(const std::string& name, double seconds, int frequency = 440) {
        std::string path = (dir / name).string();
        EXPECT_TRUE(splittest::MakeToneMp3(path, seconds, frequency));
        return path;
    }
    // Waits until the stream clock has moved past ms (it starts once the stream has prebuffered).
    bool WaitForTime(int32_t ms) {
        return quortest::Eventually([&] { return player.StreamTimeMs() >= ms; }, 3s);
    }

    quortest::TempDir dir{"qogg"};
    COgg player;
};

TEST_F(COggTest, LongFileShowsItsLengthAndReachesItsEndInTheLastSecond) {
    const std::string path = Tone("long.mp3", 215.5);
    ASSERT_TRUE(player.OpenStream(path));
    ASSERT_TRUE(player.IsStreamOpen());
    player.PlayFrom(213500);
    std::string text = player.GetTimeText();
    EXPECT_EQ(text.substr(text.find('/')), "/03:35");
    EXPECT_EQ(text.substr(0, 5), "03:33");
    EXPECT_FALSE(player.IsAtEnd());
    int32_t atEnd = -1;
    EXPECT_TRUE(quortest::Eventually(
        [&] {
            player.GetTimeText();
            if (player.IsAtEnd())
                atEnd = player.StreamTimeMs();
            else
                EXPECT_LT(player.StreamTimeMs(), 215000);
            return atEnd >= 0;
        },
        5s));
    EXPECT_GE(atEnd, 215000);
    EXPECT_LE(atEnd, 215999);
    EXPECT_EQ(player.GetElapsedSec(), 215);
    std::this_thread::sleep_for(1s); // a pause on purpose: the clock must not move on meanwhile
    EXPECT_EQ(player.StreamTimeMs(), 215500) << "stays at the end once played out";
    player.ControlPlayback(COgg::kStop);
}

TEST_F(COggTest, PauseSavesThePositionAndResumeContinuesThere) {
    ASSERT_TRUE(player.OpenStream(Tone("seventy.mp3", 70.0)));
    player.PlayFrom(60000);
    ASSERT_TRUE(WaitForTime(61250));
    player.ControlPlayback(COgg::kPause);
    const int32_t saved = player.GetResumePos();
    EXPECT_GE(saved, 61250);
    EXPECT_LT(saved, 61600);
    EXPECT_FALSE(player.IsStreamOpen());

    player.ControlPlayback(COgg::kResume);
    EXPECT_TRUE(player.IsStreamOpen());
    EXPECT_EQ(player.GetResumePos(), 0);
    const int32_t resumed = player.StreamTimeMs();
    EXPECT_GE(resumed, saved);
    EXPECT_LT(resumed, saved + 300) << "continues at the saved position, not at the start";
    ASSERT_TRUE(WaitForTime(saved + 500));
    player.ControlPlayback(COgg::kStop);
}

TEST_F(COggTest, PlayFromUsesASavedPositionInsteadOfItsStart) {
    const std::string path = Tone("forty.mp3", 40.0);
    ASSERT_TRUE(player.OpenStream(path));
    player.PlayFrom(12000);
    ASSERT_TRUE(WaitForTime(12100));
    player.ControlPlayback(COgg::kPause);
    const int32_t saved = player.GetResumePos();
    ASSERT_GE(saved, 12100);
    ASSERT_TRUE(player.OpenStream(path));
    player.PlayFrom(30000);
    EXPECT_GE(player.StreamTimeMs(), saved);
    EXPECT_LT(player.StreamTimeMs(), saved + 300);
    player.ControlPlayback(COgg::kStop);
}

TEST_F(COggTest, StopWhilePausedForgetsEverythingAndSilences) {
    ASSERT_TRUE(player.OpenStream(Tone("ten.mp3", 10.0, 1000)));
    player.PlayFrom(2000);
    ASSERT_TRUE(WaitForTime(2600));
    player.GetTimeText();
    EXPECT_EQ(player.GetElapsedSec(), 2);
    player.ControlPlayback(COgg::kPause);
    ASSERT_NE(player.GetResumePos(), 0);
    player.ControlPlayback(COgg::kStop);
    EXPECT_EQ(player.GetResumePos(), 0);
    EXPECT_EQ(player.GetElapsedSec(), 0);
    EXPECT_FALSE(player.IsStreamOpen());
    auto pcm = splittest::CaptureMonitor(500ms);
    ASSERT_FALSE(pcm.empty());
    EXPECT_LT(quortest::Rms(quortest::Channel(pcm.data(), pcm.size() / 2, 2, 0)), 30.0) << "nothing plays";
}

TEST_F(COggTest, TheMonitorHearsTheFileFromTheSeekPosition) {
    const std::string path = (dir / "two.mp3").string();
    ASSERT_TRUE(splittest::MakeTwoToneMp3(path, 12.0, 5.0, 440, 1760));
    ASSERT_TRUE(player.OpenStream(path));
    player.PlayFrom(6000); // past the change to 1760 Hz
    ASSERT_TRUE(WaitForTime(6100));
    auto pcm = splittest::CaptureMonitor(1500ms);
    ASSERT_FALSE(pcm.empty());
    // Judge the last half second: the monitor's first buffers may predate the stream.
    auto left = quortest::Channel(pcm.data() + pcm.size() - 44100, 22050, 2, 0);
    EXPECT_GT(quortest::ToneShare(left, 44100, 1760), 0.8);
    EXPECT_LT(quortest::ToneShare(left, 44100, 440), 0.05) << "the seek skipped the first tone";
    // At the file's own level: decode a stretch of the second tone for reference.
    platform::Mp3Decoder decoder;
    ASSERT_TRUE(decoder.Open(path));
    ASSERT_TRUE(decoder.SeekFrame(7 * 44100));
    std::vector<int16_t> reference(22050 * 2);
    ASSERT_EQ(decoder.Read(reinterpret_cast<unsigned char*>(reference.data()), reference.size() * 2),
              reference.size() * 2);
    const double level = quortest::Rms(quortest::Channel(reference.data(), 22050, 2, 0));
    EXPECT_NEAR(quortest::Rms(left), level, level * 0.1);
    player.ControlPlayback(COgg::kStop);
}

TEST_F(COggTest, NonMp3sDoNotOpenAndAFailedResumeSaysSo) {
    quortest::WriteFile(dir / "notes.txt", "no music here\n");
    EXPECT_FALSE(player.OpenStream((dir / "notes.txt").string()));
    EXPECT_FALSE(player.IsStreamOpen());
    EXPECT_FALSE(player.OpenStream((dir / "missing.mp3").string()));

    std::string shown, caption;
    auto previous = platform::SetPlainMessageBoxHandler(
        [&](const std::string& text, const std::string& title, platform::MessageBoxIcon icon) {
            shown = text;
            caption = title;
            EXPECT_EQ(icon, platform::MessageBoxIcon::Error);
        });
    const std::string path = Tone("gone.mp3", 5.0);
    ASSERT_TRUE(player.OpenStream(path));
    player.PlayFrom(1000);
    ASSERT_TRUE(WaitForTime(1100));
    player.ControlPlayback(COgg::kPause);
    const int32_t saved = player.GetResumePos();
    std::filesystem::remove(path);
    player.ControlPlayback(COgg::kResume);
    platform::SetPlainMessageBoxHandler(previous);
    EXPECT_EQ(shown, "음악파일이 잘못되었습니다. \n(오류위치 : m_ControlOGG)");
    EXPECT_EQ(caption, "오류");
    EXPECT_EQ(player.GetResumePos(), saved) << "kept, so a further resume tries again";
    EXPECT_FALSE(player.IsStreamOpen());
}

} // namespace
