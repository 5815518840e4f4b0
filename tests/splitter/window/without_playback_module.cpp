// A splitter in a program that cannot find the playback module (it is not on this program's search
// path) while a sound server is up: the file still opens with its length, every Play is refused
// with the message for a sound server it cannot reach, the window stays idle, and stderr says why
// once.
#include "SplitWindowFixture.h"

#include "SliderBoth.h"

#include <gtest/gtest.h>

TEST_F(SplitWindowTest, WithoutThePlaybackModuleTheFileOpensAndEveryPlayIsRefusedAndSaidSo) {
    testing::internal::CaptureStderr();
    CQuorSplitDlg& w = Open(Tone("song.mp3", 75));
    int minimum = 0, maximum = 0, tick = 0;
    w.Slider()->GetRange(minimum, maximum, tick);
    EXPECT_EQ(maximum, 75) << "the length needs no module";
    ASSERT_TRUE(Enabled("IDC_BTN_PLAY"));
    for (int attempt = 0; attempt < 2; ++attempt) {
        const size_t before = answerer->Seen().size();
        Click("IDC_BTN_PLAY");
        ASSERT_EQ(answerer->Seen().size(), before + 1) << "attempt " << attempt;
        EXPECT_EQ(answerer->Seen().back().message,
                  "\r\n\r\n사운드 서버에 연결할 수 없어\r\n재생할 수 없습니다.");
        EXPECT_TRUE(Enabled("IDC_BTN_PLAY"));
        EXPECT_FALSE(Enabled("IDC_BTN_PAUSE"));
        EXPECT_FALSE(Enabled("IDC_BTN_STOP"));
        EXPECT_FALSE(w.PlayTimerActive());
        EXPECT_FALSE(w.Player()->IsStreamOpen());
    }

    // Qt may add lines of its own; ours comes once.
    const std::string said = testing::internal::GetCapturedStderr();
    const std::string line = "Playback unavailable: libquor_pulse_playback.so could not be loaded\n";
    const size_t first = said.find(line);
    ASSERT_NE(first, std::string::npos) << said;
    EXPECT_EQ(said.find(line, first + 1), std::string::npos) << said;
}
