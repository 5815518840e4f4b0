// libmpg123 decoding and Goertzel tone measurement for the encoder and writer tests.
#include "tests/encoder/Mp3Probe.h"

#include <mpg123.h>

#include <cmath>
#include <numbers>

namespace quortest {

DecodedMp3 DecodeMp3(const std::filesystem::path& file, bool gapless) {
    DecodedMp3 result;
    int error = MPG123_OK;
    mpg123_handle* handle = mpg123_new(nullptr, &error);
    if (!handle)
        return result;
    mpg123_param(handle, gapless ? MPG123_ADD_FLAGS : MPG123_REMOVE_FLAGS, MPG123_GAPLESS, 0.);
    mpg123_param(handle, MPG123_ADD_FLAGS, MPG123_QUIET, 0.);
    mpg123_format_none(handle);
    const long* rates = nullptr;
    size_t rateCount = 0;
    mpg123_rates(&rates, &rateCount);
    for (size_t i = 0; i < rateCount; ++i)
        mpg123_format(handle, rates[i], MPG123_MONO | MPG123_STEREO, MPG123_ENC_SIGNED_16);
    if (mpg123_open(handle, file.c_str()) != MPG123_OK) {
        mpg123_delete(handle);
        return result;
    }
    for (;;) {
        off_t frameNumber = 0;
        unsigned char* audio = nullptr;
        size_t bytes = 0;
        const int status = mpg123_decode_frame(handle, &frameNumber, &audio, &bytes);
        if (status == MPG123_NEW_FORMAT) {
            int encoding = 0;
            mpg123_getformat(handle, &result.rate, &result.channels, &encoding);
            continue;
        }
        if (status != MPG123_OK)
            break;
        mpg123_frameinfo info;
        if (mpg123_info(handle, &info) == MPG123_OK) {
            result.bitrates.insert(info.bitrate);
            result.allCbr = result.allCbr && info.vbr == MPG123_CBR;
        }
        ++result.mp3Frames;
        const auto* samples = reinterpret_cast<const int16_t*>(audio);
        result.pcm.insert(result.pcm.end(), samples, samples + bytes / 2);
    }
    mpg123_close(handle);
    mpg123_delete(handle);
    result.ok = result.channels > 0 && result.rate > 0;
    if (result.ok)
        result.frames = result.pcm.size() / static_cast<size_t>(result.channels);
    return result;
}

long CountWholeFrames(const std::string& bytes) {
    static const int kMpeg1[16] = {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, -1};
    static const int kMpeg2[16] = {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, -1};
    static const int kRates[4] = {44100, 48000, 32000, -1};
    long frames = 0;
    size_t at = 0;
    while (at < bytes.size()) {
        if (bytes.size() - at < 4)
            return -1;
        const auto* h = reinterpret_cast<const unsigned char*>(bytes.data() + at);
        if (h[0] != 0xFF || (h[1] & 0xE0) != 0xE0 || ((h[1] >> 1) & 3) != 1) // sync, Layer III
            return -1;
        const int version = (h[1] >> 3) & 3; // 3 MPEG-1, 2 MPEG-2, 0 MPEG-2.5
        const int bitrate = (version == 3 ? kMpeg1 : kMpeg2)[h[2] >> 4];
        int rate = kRates[(h[2] >> 2) & 3];
        if (version == 1 || bitrate <= 0 || rate < 0)
            return -1;
        rate >>= version == 3 ? 0 : version == 2 ? 1 : 2;
        const int samples = version == 3 ? 1152 : 576;
        at += static_cast<size_t>(samples / 8 * bitrate * 1000 / rate + ((h[2] >> 1) & 1));
        ++frames;
    }
    return at == bytes.size() ? frames : -1;
}

std::vector<int16_t> StereoTone(int rate, double seconds, double leftHz, double rightHz, double amplitude) {
    const size_t frames = static_cast<size_t>(std::lround(rate * seconds));
    std::vector<int16_t> pcm(frames * 2);
    for (size_t i = 0; i < frames; ++i) {
        const double t = static_cast<double>(i) / rate;
        pcm[2 * i] =
            static_cast<int16_t>(std::lround(amplitude * std::sin(2 * std::numbers::pi * leftHz * t)));
        pcm[2 * i + 1] =
            static_cast<int16_t>(std::lround(amplitude * std::sin(2 * std::numbers::pi * rightHz * t)));
    }
    return pcm;
}

std::vector<int16_t> MonoTone(int rate, double seconds, double hz, double amplitude) {
    const size_t frames = static_cast<size_t>(std::lround(rate * seconds));
    std::vector<int16_t> pcm(frames);
    for (size_t i = 0; i < frames; ++i)
        pcm[i] = static_cast<int16_t>(
            std::lround(amplitude * std::sin(2 * std::numbers::pi * hz * static_cast<double>(i) / rate)));
    return pcm;
}

double TonePower(const std::vector<int16_t>& pcm, int channels, int channel, double hz, double rate) {
    const size_t frames = pcm.size() / static_cast<size_t>(channels);
    const size_t begin = frames / 4;
    const size_t end = frames - frames / 4;
    const double coefficient = 2 * std::cos(2 * std::numbers::pi * hz / rate);
    double previous = 0, beforePrevious = 0;
    for (size_t i = begin; i < end; ++i) {
        const double current = pcm[i * channels + channel] + coefficient * previous - beforePrevious;
        beforePrevious = previous;
        previous = current;
    }
    return previous * previous + beforePrevious * beforePrevious - coefficient * previous * beforePrevious;
}

double DominantOf(const std::vector<int16_t>& pcm, int channels, int channel, double rate,
                  const std::vector<double>& candidates) {
    double best = 0, bestPower = -1;
    for (double hz : candidates) {
        const double power = TonePower(pcm, channels, channel, hz, rate);
        if (power > bestPower) {
            bestPower = power;
            best = hz;
        }
    }
    return best;
}

} // namespace quortest
