// The preset tables of MP3, WAV (16-bit stereo PCM; bit rate = byte rate / 1000) and OGG.
#include "recorder/settings/QualityPresets.h"

#include <array>

namespace {

constexpr std::array kMp3Rows = {
    QualityPreset{"320KBps, 44100Hz, STEREO", 44100, 320},
    QualityPreset{"256KBps, 44100Hz, STEREO", 44100, 256},
    QualityPreset{"192KBps, 44100Hz, STEREO - CD음질", 44100, 192},
    QualityPreset{"128KBps, 44100Hz, STEREO", 44100, 128},
    QualityPreset{"128KBps, 32000Hz, STEREO", 32000, 128},
    QualityPreset{"96KBps, 44100Hz, STEREO - FM 라디오 음질", 44100, 96},
    QualityPreset{"64KBps, 32000Hz, STEREO", 32000, 64},
    QualityPreset{"56KBps, 24000Hz, STEREO - AM 라디오 음질", 24000, 56},
};

constexpr std::array kWavRows = {
    QualityPreset{"44100Hz 16bit STEREO - CD음질", 44100, 176},
    QualityPreset{"32000Hz 16bit STEREO", 32000, 128},
    QualityPreset{"24000Hz 16bit STEREO - FM 라디오 음질", 24000, 96},
    QualityPreset{"22050Hz 16bit STEREO", 22050, 88},
    QualityPreset{"12000Hz 16bit STEREO - AM 라디오 음질", 12000, 48},
    QualityPreset{"11025Hz 16bit STEREO", 11025, 44},
    QualityPreset{"8000Hz 16bit STEREO", 8000, 32},
};

constexpr std::array kOggRows = {
    QualityPreset{"500KBps, Q10", std::nullopt, 500},
    QualityPreset{"320KBps, Q9", std::nullopt, 320},
    QualityPreset{"256KBps, Q8", std::nullopt, 256},
    QualityPreset{"224KBps, Q7", std::nullopt, 224},
    QualityPreset{"192KBps, Q6 - CD음질", std::nullopt, 192},
    QualityPreset{"160KBps, Q5", std::nullopt, 160},
    QualityPreset{"128KBps, Q4", std::nullopt, 128},
    QualityPreset{"112KBps, Q3", std::nullopt, 112},
    QualityPreset{"96KBps, Q2 - FM 라디오 품질", std::nullopt, 96},
    QualityPreset{"80KBps, Q1", std::nullopt, 80},
    QualityPreset{"64KBps, Q0 - AM 라디오 품질", std::nullopt, 64},
    QualityPreset{"44KBps, Q-1", std::nullopt, 44},
};

const FormatPresets kMp3{kMp3Rows, {"", 44100, 192}};
const FormatPresets kWav{kWavRows, {"", 44100, std::nullopt}};
const FormatPresets kOgg{kOggRows, {"", std::nullopt, 192}};

} // namespace

const FormatPresets* PresetsForFileType(int32_t fileType) {
    switch (fileType) {
    case kFileTypeMp3:
        return &kMp3;
    case kFileTypeWav:
        return &kWav;
    case kFileTypeOgg:
        return &kOgg;
    default:
        return nullptr;
    }
}
