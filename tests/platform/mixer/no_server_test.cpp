// Without a reachable sound server the mixer still reports its two devices, but opening and
// reading fail at once with MMSYSERR_NODRIVER; nothing hangs.
#include "platform/mixer/Mixer.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <chrono>

TEST(MixerWithoutServer, OpenAndReadFailCleanlyAndFast) {
    quortest::TempDir dir;
    quortest::ScopedEnv server("PULSE_SERVER", "unix:" + (dir / "nothing-here").string());
    quortest::ScopedEnv config("PULSE_CLIENTCONFIG", "/dev/null");
    auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(mixerGetNumDevs(), 2u);
    MIXERCAPS caps{};
    EXPECT_EQ(mixerGetDevCaps(1, &caps, sizeof caps), MMSYSERR_NOERROR);
    HMIXER mixer = reinterpret_cast<HMIXER>(1);
    EXPECT_EQ(mixerOpen(&mixer, 0, 0, 0, MIXER_OBJECTF_WAVEIN | CALLBACK_WINDOW), MMSYSERR_NODRIVER);
    EXPECT_EQ(mixer, nullptr);
    MIXERLINE line{};
    line.cbStruct = sizeof line;
    EXPECT_EQ(mixerGetLineInfo(reinterpret_cast<HMIXEROBJ>(uintptr_t{1}), &line,
                               MIXER_OBJECTF_MIXER | MIXER_GETLINEINFOF_DESTINATION),
              MMSYSERR_NODRIVER);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(4));
}
