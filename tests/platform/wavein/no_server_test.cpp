// Without a reachable sound server an open fails at once with a clear code; nothing hangs.
#include "platform/wavein/WaveIn.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <chrono>

TEST(WaveInWithoutServer, OpenFailsWithNoDriverWithinTheTimeout) {
    quortest::TempDir dir;
    quortest::ScopedEnv server("PULSE_SERVER", "unix:" + (dir / "nothing-here").string());
    quortest::ScopedEnv config("PULSE_CLIENTCONFIG", "/dev/null");
    WAVEFORMATEX format{WAVE_FORMAT_PCM, 2, 44100, 176400, 4, 16, 0};
    HWAVEIN device = nullptr;
    auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(waveInOpen(&device, WAVE_MAPPER, &format, 0, 0, CALLBACK_NULL), MMSYSERR_NODRIVER);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(4));
    EXPECT_EQ(device, nullptr);
    char text[100];
    waveInGetErrorText(MMSYSERR_NODRIVER, text, sizeof text);
    EXPECT_NE(std::string(text).find("sound server"), std::string::npos);
}

TEST(WaveInWithoutServer, UnsupportedFormatsAreRefusedBeforeConnecting) {
    WAVEFORMATEX format{WAVE_FORMAT_PCM, 6, 44100, 44100 * 12, 12, 16, 0};
    HWAVEIN device = nullptr;
    EXPECT_EQ(waveInOpen(&device, WAVE_MAPPER, &format, 0, 0, CALLBACK_NULL), WAVERR_BADFORMAT);
    format = {3, 2, 44100, 352800, 8, 32, 0}; // float
    EXPECT_EQ(waveInOpen(&device, WAVE_MAPPER, &format, 0, 0, CALLBACK_NULL), WAVERR_BADFORMAT);
    format = {WAVE_FORMAT_PCM, 2, 44100, 176400, 4, 16, 0};
    EXPECT_EQ(waveInOpen(&device, 7, &format, 0, 0, CALLBACK_NULL), MMSYSERR_BADDEVICEID);
    EXPECT_EQ(waveInOpen(&device, WAVE_MAPPER, &format, 0, 0, CALLBACK_WINDOW), MMSYSERR_INVALFLAG);
}
