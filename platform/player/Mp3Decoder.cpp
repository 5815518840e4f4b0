// libmpg123 with a fixed output encoding; the length comes from a full scan, so it is exact
// also for files without an info tag.
#include "platform/player/Mp3Decoder.h"

#include <mpg123.h>

namespace platform {

Mp3Decoder::Mp3Decoder() {
#if MPG123_API_VERSION < 46
    static const int initialised = mpg123_init();
    (void)initialised;
#endif
    m_Handle = mpg123_new(nullptr, nullptr);
    if (m_Handle)
        mpg123_param(m_Handle, MPG123_ADD_FLAGS, MPG123_QUIET, 0);
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
    if (!OpenFormat(path))
        return false;
    // A few frames must decode: a file that only happens to hold a sync word does not.
    int decoded = 0;
    for (int i = 0; i < kProbeFrames; ++i) {
        const int rc = mpg123_framebyframe_next(m_Handle);
        if (rc == MPG123_OK || rc == MPG123_NEW_FORMAT)
            ++decoded;
        else
            break;
    }
    const off_t estimate = mpg123_length(m_Handle);
    mpg123_close(m_Handle);
    return decoded > 0 && estimate > 0;
}

bool Mp3Decoder::SeekFrame(int64_t frame) {
    if (frame < 0)
        frame = 0;
    if (frame > m_Frames)
        frame = m_Frames;
    return mpg123_seek(m_Handle, static_cast<off_t>(frame), SEEK_SET) >= 0;
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
