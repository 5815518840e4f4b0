// PCM format of one audio endpoint (a capture or a WAV file) and the length of its buffers.
#pragma once

#include "platform/wavein/WaveFormat.h"

#include <cstdint>

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
