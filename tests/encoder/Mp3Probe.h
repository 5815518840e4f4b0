// Test helpers for MP3 output: decode a file with libmpg123 and measure tones in the result.
#pragma once

#include <cstdint>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

namespace quortest {

struct DecodedMp3 {
    bool ok = false;
    long rate = 0;
    int channels = 0;
    std::vector<int16_t> pcm; // interleaved
    size_t frames = 0;        // sample frames (per channel)
    size_t mp3Frames = 0;     // MPEG frames decoded
    std::set<int> bitrates;   // kbps of every frame
    bool allCbr = true;       // every frame says constant bitrate
};

// Decodes the whole file. With gapless on, a LAME/Info tag trims the encoder delay and padding.
DecodedMp3 DecodeMp3(const std::filesystem::path& file, bool gapless = false);

// Walks the file frame by frame from its first byte: the number of Layer III frames when the
// bytes are exactly a sequence of whole frames, else -1. (Decoders refuse one-frame streams; this
// checks short files too.)
long CountWholeFrames(const std::string& bytes);

// Interleaved stereo 16-bit sine tones, one frequency per channel.
std::vector<int16_t> StereoTone(int rate, double seconds, double leftHz, double rightHz,
                                double amplitude = 12000);
std::vector<int16_t> MonoTone(int rate, double seconds, double hz, double amplitude = 12000);

// Power of one frequency in one channel of interleaved PCM (Goertzel), over the middle half of the
// signal so that encoder delay and fades do not count.
double TonePower(const std::vector<int16_t>& pcm, int channels, int channel, double hz, double rate);

// The candidate with the most power.
double DominantOf(const std::vector<int16_t>& pcm, int channels, int channel, double rate,
                  const std::vector<double>& candidates);

} // namespace quortest
