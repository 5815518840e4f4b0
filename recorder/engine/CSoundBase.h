// PCM format of one audio endpoint (a capture or a WAV file) and the length of its buffers.
#pragma once

#include <cstdint>

// The 18-byte wave format record, written byte for byte into WAV files.
#pragma pack(push, 1)
struct WAVEFORMATEX {
    uint16_t wFormatTag;
    uint16_t nChannels;
    uint32_t nSamplesPerSec;
    uint32_t nAvgBytesPerSec;
    uint16_t nBlockAlign;
    uint16_t wBitsPerSample;
    uint16_t cbSize;
};
#pragma pack(pop)
static_assert(sizeof(WAVEFORMATEX) == 18, "the wave format record is 18 bytes");

constexpr uint16_t WAVE_FORMAT_PCM = 1;

class CSoundBase {
public:
    CSoundBase();
    virtual ~CSoundBase() = default;

    CSoundBase& SetBitsPerSample(int bits);
    int GetBitsPerSample() const { return m_Format.wBitsPerSample; }
    CSoundBase& SetSamplesPerSecond(int rate);
    int GetSamplesPerSecond() const { return static_cast<int>(m_Format.nSamplesPerSec); }
    CSoundBase& SetNumberOfChannels(int channels);
    int GetNumberOfChannels() const { return m_Format.nChannels; }
    // Buffer length in sample frames; one capture buffer holds block align x this many bytes.
    CSoundBase& SetBufferSize(int frames);
    int GetBufferSize() const { return m_BufferSize; }

    WAVEFORMATEX* GetFormat() { return &m_Format; }
    const WAVEFORMATEX* GetFormat() const { return &m_Format; }

protected:
    WAVEFORMATEX m_Format;
    int32_t m_BufferSize;

private:
    void Update();
};
