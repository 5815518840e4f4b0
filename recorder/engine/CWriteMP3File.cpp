// The MP3 writer: one encoder stream per recording, fed in batches of captured buffers.
#include "recorder/engine/CWriteMP3File.h"
#include "recorder/engine/EncoderLibrary.h"

#include "platform/riff/RecordingFile.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <unistd.h>

namespace {

// Larger inputs than the capture's are split so that the worst-case output of one call
// (1.25 bytes a frame + 7200) stays inside the output buffer.
constexpr uint32_t kMaxSamplesPerCall = 2 * 16384;
static_assert(16384 * 1.25 + 7200 <= CWriteMP3File::kOutputBufferBytes);

} // namespace

struct CWriteMP3File::EncoderStream {
    BE_CONFIG config{};
    HBE_STREAM handle = 0;
    uint32_t outputBufferSize = 0;
    uint32_t samplesPerChunk = 0;
    BladeEntryPoints entry;
};

CWriteMP3File::CWriteMP3File(std::string encoderLibrary) : m_encoderLibrary(std::move(encoderLibrary)) {}

CWriteMP3File::~CWriteMP3File() {
    Close();
}

BE_CONFIG CWriteMP3File::MakeConfig(int bitrate, int sampleRate, int resampleRate) {
    BE_CONFIG config;
    std::memset(&config, 0, sizeof config);
    auto& c = config.format.LHV1;
    config.dwConfig = BE_CONFIG_LAME;
    c.dwStructVersion = 1;
    c.dwStructSize = sizeof(BE_CONFIG);
    c.dwSampleRate = static_cast<uint32_t>(sampleRate);
    // 0 means "no resampling" to the recorder; left at 0, LAME would pick a lower output rate for
    // the low bitrates (96 kbps at 44100 Hz would come out at 32000 Hz).
    c.dwReSampleRate = static_cast<uint32_t>(resampleRate > 0 ? resampleRate : sampleRate);
    c.nMode = BE_MP3_MODE_JSTEREO;
    c.dwBitrate = static_cast<uint32_t>(bitrate);
    c.dwMaxBitrate = 0;
    c.nPreset = LQP_CBR;
    c.dwMpegVersion = bitrate > 32 ? 1 : 0;
    c.bPrivate = 1;
    c.bCRC = 0;
    c.bCopyright = 1;
    c.bOriginal = 1;
    c.bWriteVBRHeader = 0;
    c.bEnableVBR = 0;
    c.bNoRes = 1;
    return config;
}

void CWriteMP3File::Open(const std::string& path, int bitrate, int sampleRate, int resampleRate) {
    // Bound and started before the file is made: without a working encoder no file is made at
    // all, and the recording is refused instead of writing an empty file.
    auto stream = std::make_unique<EncoderStream>();
    switch (BindEncoderLibrary(m_encoderLibrary, &stream->entry)) {
    case EncoderBinding::Missing:
        throw CWriteMP3FileError(CWriteMP3FileError::Reason::EncoderMissing,
                                 "Can't load the MP3 encoder " + m_encoderLibrary + ".");
    case EncoderBinding::Incomplete:
        throw CWriteMP3FileError(CWriteMP3FileError::Reason::EncoderIncomplete,
                                 "The MP3 encoder " + m_encoderLibrary + " is incomplete.");
    case EncoderBinding::Bound:
        break;
    }
    stream->config = MakeConfig(bitrate, sampleRate, resampleRate);
    if (stream->entry.beInitStream(&stream->config, &stream->samplesPerChunk, &stream->outputBufferSize,
                                   &stream->handle) != BE_ERR_SUCCESSFUL) {
        // A refused stream may still hold a handle, which is the caller's to release.
        if (stream->handle)
            stream->entry.beCloseStream(stream->handle);
        throw CWriteMP3FileError(CWriteMP3FileError::Reason::EncoderStream, "ERRORR in beInitStream.");
    }

    // One writer per file: a file another recorder holds is refused, never truncated under it.
    int file = platform::OpenRecordingFile(path);
    if (file < 0) {
        stream->entry.beCloseStream(stream->handle);
        throw CWriteMP3FileError(CWriteMP3FileError::Reason::CreateFile, "Can't create MP3 file.");
    }
    ReleaseStream();
    if (m_file >= 0)
        ::close(m_file);
    m_file = file;
    m_writeFailed = false;
    m_bytesWritten = 0;
    m_stream = std::move(stream);
    m_batchSamples = static_cast<uint32_t>(std::max(sampleRate, 1000)) * 2 * kBatchMs / 1000;
    m_pending.clear();
    // A batch and the capture buffer that completes it, usually.
    m_pending.reserve(m_batchSamples * 2);
}

void CWriteMP3File::Receive(unsigned char* data, int bytes) {
    if (!m_stream || !data || bytes <= 0)
        return;
    const int16_t* pcm = reinterpret_cast<const int16_t*>(data);
    const uint32_t samples = static_cast<uint32_t>(bytes) / 2;
    if (m_pending.empty() && samples >= m_batchSamples) {
        Encode(pcm, samples);
        return;
    }
    m_pending.insert(m_pending.end(), pcm, pcm + samples);
    if (m_pending.size() >= m_batchSamples) {
        Encode(m_pending.data(), static_cast<uint32_t>(m_pending.size()));
        m_pending.clear();
    }
}

void CWriteMP3File::Encode(const int16_t* pcm, uint32_t samples) {
    unsigned char output[kOutputBufferBytes];
    while (samples > 0) {
        const uint32_t count = std::min(samples, kMaxSamplesPerCall);
        uint32_t written = 0;
        m_stream->entry.beEncodeChunk(m_stream->handle, count, pcm, output, &written);
        Append(output, written);
        pcm += count;
        samples -= count;
    }
}

bool CWriteMP3File::Close() {
    if (m_stream) {
        Encode(m_pending.data(), static_cast<uint32_t>(m_pending.size()));
        m_pending.clear();
        unsigned char output[kOutputBufferBytes];
        uint32_t written = 0;
        m_stream->entry.beDeinitStream(m_stream->handle, output, &written);
        Append(output, written);
    }
    if (m_file >= 0) {
        if (::close(m_file) != 0)
            m_writeFailed = true;
        m_file = -1;
    }
    ReleaseStream();
    return !m_writeFailed;
}

void CWriteMP3File::Append(const unsigned char* bytes, uint32_t count) {
    // Unbuffered: a refused write is known at once, and what was counted is on the disk.
    while (count > 0 && m_file >= 0 && !m_writeFailed) {
        ssize_t put = ::write(m_file, bytes, count);
        if (put < 0 && errno == EINTR)
            continue;
        if (put <= 0) {
            m_writeFailed = true;
            return;
        }
        bytes += put;
        count -= static_cast<uint32_t>(put);
        m_bytesWritten += static_cast<uint64_t>(put);
    }
}

void CWriteMP3File::ReleaseStream() {
    if (!m_stream)
        return;
    m_stream->entry.beCloseStream(m_stream->handle);
    m_stream.reset();
}
