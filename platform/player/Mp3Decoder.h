// One MP3 file decoded by libmpg123 to signed 16-bit PCM at its own rate and channel count,
// with an exact length and sample-accurate seeking.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

struct mpg123_handle_struct;

namespace platform {

class Mp3Decoder {
public:
    Mp3Decoder();
    ~Mp3Decoder();
    Mp3Decoder(const Mp3Decoder&) = delete;
    Mp3Decoder& operator=(const Mp3Decoder&) = delete;

    // False unless the file decodes to a known format and has a length above zero (libmpg123
    // opens text, WAV or empty files without complaint).
    bool Open(const std::string& path);
    // The same test of the file without reading it to its end (no exact length, nothing left
    // open): for a quick answer on a long file before it is shown.
    bool Probe(const std::string& path);
    long Rate() const { return m_Rate; }
    int Channels() const { return m_Channels; }
    int64_t LengthFrames() const { return m_Frames; }
    int64_t LengthMs() const { return m_Rate ? m_Frames * 1000 / m_Rate : 0; }
    bool SeekFrame(int64_t frame);
    // Decodes up to `bytes` (whole frames); returns the bytes written, 0 at the end or on error.
    size_t Read(unsigned char* out, size_t bytes);
    size_t FrameBytes() const { return static_cast<size_t>(m_Channels) * 2; }

private:
    static constexpr int kProbeFrames = 8;
    // Opens and fixes the output format; the length is not known yet.
    bool OpenFormat(const std::string& path);

    mpg123_handle_struct* m_Handle = nullptr;
    long m_Rate = 0;
    int m_Channels = 0;
    int64_t m_Frames = 0;
};

} // namespace platform
