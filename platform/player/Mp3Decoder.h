// One MP3 file decoded by libmpg123 to signed 16-bit PCM at its own rate and channel count,
// with an exact length and sample-accurate seeking.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
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
    // The same test of the file, leaving nothing open, with its length: read from the file's
    // header when that is known to hold (a constant bit rate that the file's size agrees with),
    // so that a long recording is answered at once; otherwise measured by a full scan, as Open
    // does (a file cut short, junk, a variable bit rate without a header).
    bool Probe(const std::string& path);
    long Rate() const { return m_Rate; }
    int Channels() const { return m_Channels; }
    int64_t LengthFrames() const { return m_Frames; }
    int64_t LengthMs() const { return m_Rate ? m_Frames * 1000 / m_Rate : 0; }
    bool SeekFrame(int64_t frame);
    // Decodes up to `bytes` (whole frames); returns the bytes written, 0 at the end or on error.
    size_t Read(unsigned char* out, size_t bytes);
    size_t FrameBytes() const { return static_cast<size_t>(m_Channels) * 2; }

    // Frame by frame, for a quick look at a long file: opens without measuring the length, then
    // each NextFrame parses one MPEG frame (cheap) and DecodePeak may decode the frame just
    // parsed (costly). Not to be mixed with Read on the same opening.
    bool OpenFrames(const std::string& path);
    // The frame's first sample (per channel, from the file's start) and its sample count, or
    // nullopt at the end of the data or where it breaks off.
    struct FramePlace {
        int64_t first = 0;
        int samples = 0;
    };
    std::optional<FramePlace> NextFrame();
    // The highest absolute sample (0 to 32768) of the frame NextFrame parsed, or -1 when it does not
    // decode. A frame decoded right after skipped ones may be garbage: its data starts in earlier
    // frames and the filters carry their state; the third of three decoded in a row is sound.
    int DecodePeak();

private:
    static constexpr int kProbeFrames = 8;
    // Opens and fixes the output format to the first frame's; the length is not known yet.
    bool OpenFormat(const std::string& path);
    // The bit rate of the next few frames when they all have the same one; -1 otherwise (also
    // when the file ends first). anyParsed: set when at least one frame parsed; firstOffset: the
    // position of the first of them in the file.
    int BitRateOfNextFrames(bool* anyParsed = nullptr, int64_t* firstOffset = nullptr);
    // The length in samples of a file of constant bit rate: libmpg123's estimate (from an info
    // frame, or the size) when the size agrees, else the frames the size holds; 0 when the file
    // is not of a constant bit rate.
    int64_t ConstantBitRateLength(const std::string& path, int64_t secondFrameOffset, int bitRate,
                                  int64_t estimate);

    mpg123_handle_struct* m_Handle = nullptr;
    long m_Rate = 0;
    int m_Channels = 0;
    int64_t m_Frames = 0;
};

} // namespace platform
