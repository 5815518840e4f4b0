// Chunked encoding through the exported functions, as a caller of the interface does it.
#include "tests/encoder/BladeStream.h"

#include <algorithm>
#include <cstring>

namespace quortest {

BE_CONFIG Lhv1Config(uint32_t bitrate, uint32_t sampleRate, int32_t preset, int32_t mode) {
    BE_CONFIG config;
    std::memset(&config, 0, sizeof config);
    config.dwConfig = BE_CONFIG_LAME;
    config.format.LHV1.dwStructVersion = 1;
    config.format.LHV1.dwStructSize = sizeof(BE_CONFIG);
    config.format.LHV1.dwSampleRate = sampleRate;
    config.format.LHV1.dwReSampleRate = sampleRate; // as the recorder's writer: keep the rate
    config.format.LHV1.nMode = mode;
    config.format.LHV1.dwBitrate = bitrate;
    config.format.LHV1.nPreset = preset;
    config.format.LHV1.bPrivate = 1;
    config.format.LHV1.bCopyright = 1;
    config.format.LHV1.bOriginal = 1;
    config.format.LHV1.bNoRes = 1;
    return config;
}

OpenStream Init(BE_CONFIG config) {
    OpenStream stream;
    stream.result = beInitStream(&config, &stream.samples, &stream.bufferBytes, &stream.handle);
    return stream;
}

std::string EncodeAll(const OpenStream& stream, const std::vector<int16_t>& pcm, uint32_t chunkSamples) {
    std::string mp3;
    std::vector<uint8_t> output(stream.bufferBytes);
    for (size_t done = 0; done < pcm.size();) {
        const uint32_t count = static_cast<uint32_t>(std::min<size_t>(chunkSamples, pcm.size() - done));
        uint32_t written = 0;
        if (beEncodeChunk(stream.handle, count, pcm.data() + done, output.data(), &written) !=
            BE_ERR_SUCCESSFUL)
            return {};
        mp3.append(reinterpret_cast<const char*>(output.data()), written);
        done += count;
    }
    uint32_t written = 0;
    if (beDeinitStream(stream.handle, output.data(), &written) != BE_ERR_SUCCESSFUL)
        return {};
    mp3.append(reinterpret_cast<const char*>(output.data()), written);
    return mp3;
}

} // namespace quortest
