// Writes an MP3 recording: captured PCM in, constant-bitrate MP3 frames out, through the
// Blade-style encoder library loaded by name at run time. Bare frames only: no ID3 tag, no
// VBR/Info header frame.
#pragma once

#include "encoder/BladeEncoder.h"
#include "recorder/engine/CWriteMP3FileError.h"
#include "recorder/engine/IReceiver.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class CWriteMP3File : public IReceiver {
public:
    static constexpr const char* kEncoderLibrary = "liblame_enc.so";
    // The encoder's output per call, held in the call frame.
    static constexpr int kOutputBufferBytes = 44108;
    // How much audio waits for the encoder at most before it is encoded and written.
    static constexpr int kBatchMs = 250;

    explicit CWriteMP3File(std::string encoderLibrary = kEncoderLibrary);
    // Closes what is still open, so a forgotten Close loses no frames.
    ~CWriteMP3File() override;
    CWriteMP3File(const CWriteMP3File&) = delete;
    CWriteMP3File& operator=(const CWriteMP3File&) = delete;

    // Window thread. Throws CWriteMP3FileError when the encoder library cannot be bound or refuses
    // the stream ("ERRORR in beInitStream.") - no file is made then - or when the file cannot be
    // created or another writer holds it ("Can't create MP3 file.").
    void Open(const std::string& path, int bitrate, int sampleRate, int resampleRate);
    // Capture worker thread: 16-bit interleaved stereo PCM. Small buffers are gathered and encoded
    // a batch (kBatchMs) at a time: the encoder's state is far larger than a buffer, and bringing
    // it back into the cache for every 100 ms buffer cost about 5% of a recording's CPU time. A
    // buffer at least a batch long, with nothing waiting, is encoded in place.
    void Receive(unsigned char* data, int bytes) override;
    // Window thread, after the capture has stopped: encodes what waits, flushes, closes the file,
    // releases the stream.
    // False when some of the recording, its end included, did not reach the file.
    bool Close();

    // True once a write to the file stored fewer bytes than the encoder produced (disk full).
    bool WriteFailed() const { return m_writeFailed; }
    // MP3 bytes that reached the file so far.
    uint64_t BytesWritten() const { return m_bytesWritten; }

    // The stream settings for a recording: constant bitrate, joint stereo, private, copyright and
    // original bits, no CRC, no bit reservoir.
    static BE_CONFIG MakeConfig(int bitrate, int sampleRate, int resampleRate);

private:
    struct EncoderStream;
    void Encode(const int16_t* pcm, uint32_t samples);
    void Append(const unsigned char* bytes, uint32_t count);
    void ReleaseStream();

    std::string m_encoderLibrary;
    std::unique_ptr<EncoderStream> m_stream;
    std::vector<int16_t> m_pending; // reserved at Open, so that gathering allocates nothing
    uint32_t m_batchSamples = 0;
    int m_file = -1;
    bool m_writeFailed = false;
    uint64_t m_bytesWritten = 0;
};
