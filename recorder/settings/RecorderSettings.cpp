// Loading, saving and format derivation of the settings record.
#include "RecorderSettings.h"

#include "QualityPresets.h"
#include "SettingsValues.h"

void RecorderSettings::Load() {
    if (unsavedChoices) {
        ApplyPreset();
        return;
    }
    ReadSavePath(savePath);
    autoFileName = ReadAutoFileName(1);
    topmost = ReadCkTopmost(1);
    sysSoundOff = ReadCkSysSoundOff(0);
    autoStop = ReadCkAutoStop(0);
    tagOpen = ReadCkTagOpen(0);
    mp3Id3v1 = ReadCkMP3ID3V1(0);
    ReadFileTypeSel(fileType);
    ReadFileSettingSel(fileSetting);
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
