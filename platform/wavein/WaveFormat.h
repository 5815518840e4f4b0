// The 18-byte wave format record: the PCM format of a capture, written byte for byte into WAV files.
#pragma once

#include <cstdint>

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
