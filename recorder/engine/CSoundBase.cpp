// PCM format bookkeeping: the derived fields follow every change.
#include "recorder/engine/CSoundBase.h"

CSoundBase::CSoundBase() : m_Format{}, m_BufferSize(1000) {
    m_Format.wFormatTag = WAVE_FORMAT_PCM;
    m_Format.cbSize = 0;
    SetBitsPerSample(16);
    SetSamplesPerSecond(44100);
    SetNumberOfChannels(2);
}

CSoundBase& CSoundBase::SetBitsPerSample(int bits) {
    m_Format.wBitsPerSample = static_cast<uint16_t>(bits);
    Update();
    return *this;
}

CSoundBase& CSoundBase::SetSamplesPerSecond(int rate) {
    m_Format.nSamplesPerSec = static_cast<uint32_t>(rate);
    Update();
    return *this;
}

CSoundBase& CSoundBase::SetNumberOfChannels(int channels) {
    m_Format.nChannels = static_cast<uint16_t>(channels);
    Update();
    return *this;
}

CSoundBase& CSoundBase::SetBufferSize(int frames) {
    m_BufferSize = frames;
    return *this;
}

void CSoundBase::Update() {
    m_Format.nBlockAlign = static_cast<uint16_t>(m_Format.nChannels * (m_Format.wBitsPerSample / 8));
    m_Format.nAvgBytesPerSec = static_cast<uint32_t>(m_Format.nBlockAlign) * m_Format.nSamplesPerSec;
}
