// The media properties of the last file queried, as the splitter reads them.
#pragma once

#include <cstdint>
#include <string>

struct MediaProps {
    int32_t width = 0;
    int32_t height = 0;
    int32_t durationSec = 0;
    std::string videoCodecShort;
    std::string audioCodecShort;
    std::string videoCodec;
    std::string audioCodecText;
    std::string videoBitRateMode;
    std::string audioBitRateMode;
    std::string videoFrameRate;
    std::string audioBitRate;
    std::string videoBitRate;
    std::string audioChannels;
    std::string audioSampleRate;
    std::string formatText;
    int32_t fileSize = 0;

    bool operator==(const MediaProps&) const = default;
};
