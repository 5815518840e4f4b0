// Every bitrate and sample rate the recorder offers gives a real constant-bitrate MP3 that decodes
// back to the same tones, rate, channels and length.
#include "tests/encoder/BladeStream.h"
#include "tests/encoder/Mp3Probe.h"

#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

namespace {

struct Preset {
    uint32_t bitrate;
    uint32_t rate;
};

class RoundTrip : public testing::TestWithParam<Preset> {};

constexpr double kLeftHz = 1000;
constexpr double kRightHz = 440;
constexpr double kSeconds = 10;

TEST_P(RoundTrip, DecodesToTheSameToneRateChannelsBitrateAndLength) {
    const Preset preset = GetParam();
    const std::vector<int16_t> pcm =
        quortest::StereoTone(static_cast<int>(preset.rate), kSeconds, kLeftHz, kRightHz);

    const quortest::OpenStream stream = quortest::Init(quortest::Lhv1Config(preset.bitrate, preset.rate));
    ASSERT_EQ(stream.result, BE_ERR_SUCCESSFUL);
    // The recorder's capture buffers: 4000 bytes, 2000 samples.
    const std::string mp3 = quortest::EncodeAll(stream, pcm, 2000);
    EXPECT_EQ(beCloseStream(stream.handle), BE_ERR_SUCCESSFUL);
    ASSERT_FALSE(mp3.empty());

    quortest::TempDir dir("enc");
    quortest::WriteFile(dir / "tone.mp3", mp3);
    const quortest::DecodedMp3 decoded = quortest::DecodeMp3(dir / "tone.mp3");
    ASSERT_TRUE(decoded.ok);
    EXPECT_EQ(decoded.rate, static_cast<long>(preset.rate));
    EXPECT_EQ(decoded.channels, 2);
    EXPECT_EQ(decoded.bitrates, std::set<int>{static_cast<int>(preset.bitrate)});
    EXPECT_TRUE(decoded.allCbr);
    EXPECT_EQ(quortest::CountWholeFrames(mp3), static_cast<long>(decoded.mp3Frames));

    // Without an Info tag the decoder also returns the encoder's delay (576) and its own (529);
    // beyond that at most the last frame's padding.
    const size_t inputFrames = pcm.size() / 2;
    const size_t frameSamples = preset.rate >= 32000 ? 1152 : 576;
    const size_t delay = 576 + 529;
    EXPECT_EQ(decoded.frames % frameSamples, 0u);
    EXPECT_GE(decoded.frames, inputFrames + delay);
    EXPECT_LT(decoded.frames, inputFrames + delay + frameSamples);

    const std::vector<double> candidates{300, 440, 1000, 2500, 5000};
    EXPECT_EQ(quortest::DominantOf(decoded.pcm, 2, 0, preset.rate, candidates), kLeftHz);
    EXPECT_EQ(quortest::DominantOf(decoded.pcm, 2, 1, preset.rate, candidates), kRightHz);
}

INSTANTIATE_TEST_SUITE_P(RecorderPresets, RoundTrip,
                         testing::Values(Preset{320, 44100}, Preset{256, 44100}, Preset{192, 44100},
                                         Preset{128, 44100}, Preset{128, 32000}, Preset{96, 44100},
                                         Preset{64, 32000}, Preset{56, 24000}),
                         [](const testing::TestParamInfo<Preset>& test) {
                             return std::to_string(test.param.bitrate) + "kbps_" +
                                    std::to_string(test.param.rate) + "Hz";
                         });

} // namespace
