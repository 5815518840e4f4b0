// Test helpers that drive one stream of the Blade-style interface from start to finish.
#pragma once

#include "encoder/BladeEncoder.h"

#include <cstdint>
#include <string>
#include <vector>

namespace quortest {

// An LHV1 record as the recorder's writer fills it: constant bitrate through the CBR preset, the
// output at the input's rate.
BE_CONFIG Lhv1Config(uint32_t bitrate, uint32_t sampleRate, int32_t preset = LQP_CBR,
                     int32_t mode = BE_MP3_MODE_JSTEREO);

struct OpenStream {
    BE_ERR result = 0;
    HBE_STREAM handle = 0;
    uint32_t samples = 0;     // per chunk, all channels
    uint32_t bufferBytes = 0; // output buffer per call
};
OpenStream Init(BE_CONFIG config);

// Encodes interleaved PCM in chunks of at most chunkSamples (all channels), flushes with
// beDeinitStream and returns the MP3 bytes; the stream is left open. Empty on an encoder error.
std::string EncodeAll(const OpenStream& stream, const std::vector<int16_t>& pcm, uint32_t chunkSamples);

} // namespace quortest
