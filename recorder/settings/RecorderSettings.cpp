// Loading, saving and format derivation of the settings record.
#include "recorder/settings/RecorderSettings.h"

#include "recorder/settings/QualityPresets.h"
#include "recorder/settings/SettingsValues.h"

void RecorderSettings::Load() {
    if (unsavedChoices) {
        ApplyPreset();
        return;
    }
    // One read of the store for every value.
    const StoredSettings stored = StoredSettings::Read();
    ReadSavePath(savePath, stored);
    autoFileName = ReadAutoFileName(1, stored);
    topmost = ReadCkTopmost(1, stored);
    sysSoundOff = ReadCkSysSoundOff(0, stored);
    autoStop = ReadCkAutoStop(0, stored);
    tagOpen = ReadCkTagOpen(0, stored);
    mp3Id3v1 = ReadCkMP3ID3V1(0, stored);
    ReadFileTypeSel(fileType, stored);
    ReadFileSettingSel(fileSetting, stored);
    if (fileType != kFileTypeMp3 && fileType != kFileTypeWav) {
        // Only MP3 and WAV can be recorded: any other stored type (the old OGG, or garbage) is
        // taken as MP3 with its first preset, as the settings dialog shows it.
        fileType = kFileTypeMp3;
        fileSetting = 0;
    }
    ApplyPreset();
    bitsPerSample = 16;
    channels = 2;
}

bool RecorderSettings::Save() {
    TakeSettingsWriteFailure();
    WriteSavePath(savePath);
    WriteAutoFileName(autoFileName);
    WriteCkTopmost(topmost);
    WriteCkSysSoundOff(sysSoundOff);
    WriteCkAutoStop(autoStop);
    WriteCkTagOpen(tagOpen);
    WriteFileSettingSel(fileSetting);
    WriteFileTypeSel(fileType);
    saveFailure = TakeSettingsWriteFailure();
    unsavedChoices = saveFailure != platform::ERROR_SUCCESS;
    return !unsavedChoices;
}

void RecorderSettings::ApplyPreset() {
    const FormatPresets* presets = PresetsForFileType(fileType);
    if (!presets)
        return;
    const bool inRange = fileSetting >= 0 && static_cast<size_t>(fileSetting) < presets->rows.size();
    const QualityPreset& row = inRange ? presets->rows[static_cast<size_t>(fileSetting)] : presets->fallback;
    if (row.sampleRate)
        sampleRate = *row.sampleRate;
    if (row.bitRate)
        bitRate = *row.bitRate;
}

int32_t RecorderSettings::LoadInfoOpen() {
    infoOpen = ReadCkInfoOpen(0);
    return infoOpen;
}

void RecorderSettings::SaveInfoOpen(int32_t value) {
    infoOpen = value;
    WriteCkInfoOpen(value);
}

RecorderSettings& TheRecorderSettings() {
    static RecorderSettings settings;
    return settings;
}
