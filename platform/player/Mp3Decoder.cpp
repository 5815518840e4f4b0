// libmpg123 with a fixed output encoding; the length comes from a full scan, so it is exact
// also for files without an info tag.
#include "platform/player/Mp3Decoder.h"

#include <mpg123.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>

namespace platform {

namespace {
// Junk between frames is skipped up to this many bytes (libmpg123 gives up after 1 KiB and takes
// the rest of the file for its end); bounded, so that a large file that holds no MP3 at all is
// not searched through.
constexpr long kResyncLimitBytes = 1 << 20;
} // namespace

Mp3Decoder::Mp3Decoder() {
#if MPG123_API_VERSION < 46
    static const int initialised = mpg123_init();
    (void)initialised;
#endif
    m_Handle = mpg123_new(nullptr, nullptr);
    if (m_Handle) {
        mpg123_param(m_Handle, MPG123_ADD_FLAGS, MPG123_QUIET, 0);
        mpg123_param(m_Handle, MPG123_RESYNC_LIMIT, kResyncLimitBytes, 0);
    }
}

Mp3Decoder::~Mp3Decoder() {
    if (m_Handle) {
        mpg123_close(m_Handle);
        mpg123_delete(m_Handle);
    }
}

bool Mp3Decoder::OpenFormat(const std::string& path) {
    if (!m_Handle)
        return false;
    mpg123_format_none(m_Handle);
    const long* rates = nullptr;
    size_t count = 0;
    mpg123_rates(&rates, &count);
    for (size_t i = 0; i < count; ++i)
        mpg123_format(m_Handle, rates[i], MPG123_MONO | MPG123_STEREO, MPG123_ENC_SIGNED_16);
    if (mpg123_open(m_Handle, path.c_str()) != MPG123_OK)
        return false;
    int encoding = 0;
    if (mpg123_getformat(m_Handle, &m_Rate, &m_Channels, &encoding) != MPG123_OK || m_Rate <= 0 ||
        m_Channels < 1 || m_Channels > 2) {
        mpg123_close(m_Handle);
        return false;
    }
    // Later frames of another rate or channel count (junk that happens to look like a frame, or
    // files put end to end) are converted to this format instead of changing the output under
    // the caller.
    mpg123_format_none(m_Handle);
    mpg123_format(m_Handle, m_Rate, m_Channels == 1 ? MPG123_MONO : MPG123_STEREO, MPG123_ENC_SIGNED_16);
    return true;
}

bool Mp3Decoder::Open(const std::string& path) {
    if (!OpenFormat(path))
        return false;
    if (mpg123_scan(m_Handle) != MPG123_OK) {
        mpg123_close(m_Handle);
        return false;
    }
    off_t frames = mpg123_length(m_Handle);
    if (frames <= 0) {
        mpg123_close(m_Handle);
        return false;
    }
    m_Frames = frames;
    return SeekFrame(0);
}

bool Mp3Decoder::Probe(const std::string& path) {
    if (!m_Handle)
        return false;
    // Seeks guess a byte offset from the bit rate instead of reading every frame up to it.
    mpg123_param(m_Handle, MPG123_ADD_FLAGS, MPG123_FUZZY, 0);
    bool parsed = false;
    m_Frames = 0;
    if (OpenFormat(path)) {
        // A few frames must parse: a file that only happens to hold a sync word does not.
        int64_t secondFrameOffset = -1;
        const int bitRate = BitRateOfNextFrames(&parsed, &secondFrameOffset);
        const off_t estimate = mpg123_length(m_Handle);
        // A variable bit rate without a header that begins with quiet frames looks constant at
        // first: the middle and the end must have the same rate.
        bool constant = bitRate > 0;
        for (const off_t at : {estimate / 2, estimate - estimate / 32})
            constant =
                constant && mpg123_seek(m_Handle, at, SEEK_SET) >= 0 && BitRateOfNextFrames() == bitRate;
        if (constant)
            m_Frames = ConstantBitRateLength(path, secondFrameOffset, bitRate, estimate);
        mpg123_close(m_Handle);
    }
    mpg123_param(m_Handle, MPG123_REMOVE_FLAGS, MPG123_FUZZY, 0);
    // Measured from a fresh start, so that the length is the one the player's Open finds.
    if (parsed && m_Frames <= 0 && OpenFormat(path)) {
        if (mpg123_scan(m_Handle) == MPG123_OK)
            m_Frames = mpg123_length(m_Handle);
        mpg123_close(m_Handle);
    }
    return m_Frames > 0;
}

int Mp3Decoder::BitRateOfNextFrames(bool* anyParsed, int64_t* firstOffset) {
    int rate = 0;
    for (int i = 0; i < kProbeFrames; ++i) {
        const int rc = mpg123_framebyframe_next(m_Handle);
        // A file that ends within the probe is measured: libmpg123 then knows of its end in part.
        if (rc != MPG123_OK && rc != MPG123_NEW_FORMAT)
            return -1;
        if (anyParsed)
            *anyParsed = true;
        if (firstOffset && i == 0)
            *firstOffset = mpg123_framepos(m_Handle);
        mpg123_frameinfo2 info{};
        if (mpg123_info(m_Handle, &info) != MPG123_OK || info.bitrate <= 0 || (rate && info.bitrate != rate))
            rate = -1;
        if (rate >= 0)
            rate = info.bitrate;
    }
    return rate;
}

int64_t Mp3Decoder::ConstantBitRateLength(const std::string& path, int64_t secondFrameOffset, int bitRate,
                                          int64_t estimate) {
    mpg123_frameinfo2 info{};
    const int samplesPerFrame = mpg123_spf(m_Handle);
    // A "Xing" frame marks a variable bit rate: nothing to count the frames by.
    if (mpg123_info(m_Handle, &info) != MPG123_OK || info.vbr != MPG123_CBR || info.rate <= 0 ||
        samplesPerFrame <= 0 || secondFrameOffset <= 0 || estimate <= 0)
        return 0;
    std::error_code ec;
    const auto size = std::filesystem::file_size(path, ec);
    if (ec)
        return 0;
    // Padding makes the frames of a constant bit rate exactly this long on average. The first
    // frame seen was the second of the stream: libmpg123 read the format from the first.
    const double frameBytes = samplesPerFrame / 8.0 * bitRate * 1000.0 / static_cast<double>(info.rate);
    const double frames =
        (static_cast<double>(size) - static_cast<double>(secondFrameOffset)) / frameBytes + 1;
    const auto counted = static_cast<int64_t>(frames) * samplesPerFrame;
    // An info frame's count is exact, gaps trimmed, as long as the size agrees with it (a tag
    // after the frames adds a little); a file cut short or grown by junk is counted by its size.
    const double slack = (3 + 4096 / frameBytes) * samplesPerFrame;
    return std::abs(static_cast<double>(counted - estimate)) <= slack ? estimate : counted;
}

bool Mp3Decoder::SeekFrame(int64_t frame) {
    if (frame < 0)
        frame = 0;
    if (frame > m_Frames)
        frame = m_Frames;
    return mpg123_seek(m_Handle, static_cast<off_t>(frame), SEEK_SET) >= 0;
}

bool Mp3Decoder::OpenFrames(const std::string& path) {
    m_Frames = 0;
    return OpenFormat(path);
}

std::optional<Mp3Decoder::FramePlace> Mp3Decoder::NextFrame() {
    const int rc = mpg123_framebyframe_next(m_Handle);
    if (rc != MPG123_OK && rc != MPG123_NEW_FORMAT)
        return std::nullopt;
    const int samples = mpg123_spf(m_Handle);
    const off_t index = mpg123_tellframe(m_Handle);
    if (samples <= 0 || index < 0)
        return std::nullopt;
    return FramePlace{static_cast<int64_t>(index) * samples, samples};
}

int Mp3Decoder::DecodePeak() {
    off_t number = 0;
    unsigned char* audio = nullptr;
    size_t bytes = 0;
    if (mpg123_framebyframe_decode(m_Handle, &number, &audio, &bytes) != MPG123_OK || !audio)
        return -1;
    const auto* samples = reinterpret_cast<const int16_t*>(audio);
    int peak = 0;
    for (size_t i = 0; i < bytes / 2; ++i)
        peak = std::max(peak, std::abs(static_cast<int>(samples[i])));
    return peak;
}

size_t Mp3Decoder::Read(unsigned char* out, size_t bytes) {
    bytes -= bytes % FrameBytes();
    size_t total = 0;
    while (total < bytes) {
        size_t done = 0;
        int rc = mpg123_read(m_Handle, out + total, bytes - total, &done);
        total += done;
        if (rc == MPG123_NEW_FORMAT)
            continue; // the format is fixed; the notice carries no change
        if (rc != MPG123_OK || done == 0)
            break;
    }
    return total;
}

} // namespace platform
