// The recorder's one settings record, loaded from and saved to SettingsKey.
// Window thread only; other parts read the fields directly.
#pragma once

#include "platform/registry/RegistryTypes.h"
#include "recorder/settings/FileType.h"

#include <cstdint>
#include <string>

struct RecorderSettings {
    std::string savePath;
    std::string fileName; // not persisted: the recording being made
    // Not persisted: fileName was made from the clock, so the recorder may add "_2", "_3", …
    // rather than replace a file of the same name.
    bool fileNameAutomatic = false;
    int32_t fileType = kFileTypeMp3;
    int32_t fileSetting = 0;
    int32_t bitsPerSample = 0;
    int32_t channels = 0;
    int32_t sampleRate = 0; // Hz
    int32_t bitRate = 0;    // kbit/s; for WAV the byte rate in thousands per second
    int32_t autoFileName = 0;
    int32_t tagOpen = 0;
    int32_t mp3Id3v1 = 0;
    int32_t sysSoundOff = 0;
    int32_t topmost = 0;
    int32_t autoStop = 0;
    int32_t infoOpen = 0;
    bool unsavedChoices = false;
    platform::LSTATUS saveFailure = platform::ERROR_SUCCESS;

    // Reads every persisted value in one read of the store (defaults for the missing ones) and
    // derives the format; a stored type other than MP3 or WAV is MP3 at its first preset. While
    // choices could not be saved, the record keeps them instead: it is newer than the store.
    void Load();
    // Writes the persisted values except "CkMP3ID3V1" and "CkInfoOpen". False when the store
    // refused one; saveFailure then holds the first refusal's status.
    bool Save();
    // Sets sampleRate and bitRate from (fileType, fileSetting).
    void ApplyPreset();

    // "CkInfoOpen" alone: read at start-up by the main window, written by the information popup.
    int32_t LoadInfoOpen();
    void SaveInfoOpen(int32_t value);
};

// The process-wide record.
RecorderSettings& TheRecorderSettings();
