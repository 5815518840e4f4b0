// The quality presets: what each format's list offers and how ApplyPreset falls back.
#include "recorder/settings/QualityPresets.h"
#include "recorder/settings/RecorderSettings.h"

#include <gtest/gtest.h>

TEST(QualityPresets, ListsOfTheThreeFormats) {
    ASSERT_NE(PresetsForFileType(kFileTypeMp3), nullptr);
    ASSERT_NE(PresetsForFileType(kFileTypeWav), nullptr);
    ASSERT_NE(PresetsForFileType(kFileTypeOgg), nullptr);
    EXPECT_EQ(PresetsForFileType(3), nullptr);
    EXPECT_EQ(PresetsForFileType(-1), nullptr);

    const auto& mp3 = PresetsForFileType(kFileTypeMp3)->rows;
    const auto& wav = PresetsForFileType(kFileTypeWav)->rows;
    const auto& ogg = PresetsForFileType(kFileTypeOgg)->rows;
    ASSERT_EQ(mp3.size(), 8u);
    ASSERT_EQ(wav.size(), 7u);
    ASSERT_EQ(ogg.size(), 12u);
    EXPECT_EQ(mp3[2].label, "192KBps, 44100Hz, STEREO - CD음질");
    EXPECT_EQ(wav[4].label, "12000Hz 16bit STEREO - AM 라디오 음질");
    EXPECT_EQ(ogg[8].label, "96KBps, Q2 - FM 라디오 품질");
    EXPECT_EQ(ogg[11].label, "44KBps, Q-1");

    // A WAV row's bit rate is its 16-bit stereo byte rate in thousands, integer part.
    for (const auto& row : wav)
        EXPECT_EQ(*row.bitRate, *row.sampleRate * 4 / 1000) << row.label;
    // Every MP3 label names its own bit rate and sample rate.
    for (const auto& row : mp3) {
        const std::string label(row.label);
        EXPECT_TRUE(label.starts_with(std::to_string(*row.bitRate) + "KBps, " +
                                      std::to_string(*row.sampleRate) + "Hz"))
            << label;
    }
}

TEST(QualityPresets, ApplyPresetPicksTheRowOrTheFallback) {
    RecorderSettings s;
    s.fileType = kFileTypeMp3;
    s.fileSetting = 7;
    s.ApplyPreset();
    EXPECT_EQ(s.sampleRate, 24000);
    EXPECT_EQ(s.bitRate, 56);
    s.fileSetting = 8;
    s.ApplyPreset();
    EXPECT_EQ(s.sampleRate, 44100);
    EXPECT_EQ(s.bitRate, 192);

    // OGG sets the bit rate only.
    s.fileType = kFileTypeOgg;
    s.fileSetting = 0;
    s.sampleRate = 24000;
    s.ApplyPreset();
    EXPECT_EQ(s.sampleRate, 24000);
    EXPECT_EQ(s.bitRate, 500);
    s.fileSetting = -5;
    s.ApplyPreset();
    EXPECT_EQ(s.sampleRate, 24000);
    EXPECT_EQ(s.bitRate, 192);

    s.fileType = kFileTypeWav;
    s.fileSetting = 6;
    s.ApplyPreset();
    EXPECT_EQ(s.sampleRate, 8000);
    EXPECT_EQ(s.bitRate, 32);
}
