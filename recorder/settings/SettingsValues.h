// One reader and one writer per value of the recorder's registry key (SettingsKey).
// Each call opens and closes the key; failures are silent: readers give the default, writers
// leave the stored value as it was. A reader answers from the values one read of the key found
// (StoredSettings): by default its own read, or one that a caller of several readers passes on.
#pragma once

#include "platform/registry/Hive.h"
#include "platform/registry/ProgramKeys.h"
#include "platform/registry/RegistryTypes.h"

#include <cstdint>
#include <string>
#include <vector>

// Every value of SettingsKey as one read of the store found them; none when the key is missing or
// cannot be read. A snapshot: later writes are not seen.
class StoredSettings {
public:
    static StoredSettings Read();
    // The value of this name, or null.
    const platform::HiveValue* Find(const std::string& name) const;

private:
    std::vector<platform::HiveValue> m_Values;
};

// The status of the first writer that failed since the last call (ERROR_SUCCESS when none did),
// so that one notice can tell why the settings were not saved. Window thread.
platform::LSTATUS TakeSettingsWriteFailure();

// Defaults of the values that name folders.
std::string DefaultSavePath();   // the user's My Music folder
std::string DefaultInstallDir(); // "%s/QuorRecorder" of the program-files folder

// Folders are read with a buffer of the platform's path limit, so any folder the writer stored
// reads back; the writer refuses a longer one and keeps the stored value (returns false). A stored
// save folder that is empty, relative or not text reads as the default.
void ReadSavePath(std::string& out, const StoredSettings& stored = StoredSettings::Read());
bool WriteSavePath(const std::string& path);

// Set `out` to 0 first, then to the stored value when there is one.
void ReadFileTypeSel(int32_t& out, const StoredSettings& stored = StoredSettings::Read());
void WriteFileTypeSel(int32_t value);
void ReadFileSettingSel(int32_t& out, const StoredSettings& stored = StoredSettings::Read());
void WriteFileSettingSel(int32_t value);

int32_t ReadAutoFileName(int32_t fallback, const StoredSettings& stored = StoredSettings::Read());
void WriteAutoFileName(int32_t value);
int32_t ReadCkMP3ID3V1(int32_t fallback, const StoredSettings& stored = StoredSettings::Read());
void WriteCkMP3ID3V1(int32_t value);
int32_t ReadCkTagOpen(int32_t fallback, const StoredSettings& stored = StoredSettings::Read());
void WriteCkTagOpen(int32_t value);
int32_t ReadCkAutoStop(int32_t fallback, const StoredSettings& stored = StoredSettings::Read());
void WriteCkAutoStop(int32_t value);
int32_t ReadCkTopmost(int32_t fallback, const StoredSettings& stored = StoredSettings::Read());
void WriteCkTopmost(int32_t value);
int32_t ReadCkSysSoundOff(int32_t fallback, const StoredSettings& stored = StoredSettings::Read());
void WriteCkSysSoundOff(int32_t value);
int32_t ReadCkInfoOpen(int32_t fallback, const StoredSettings& stored = StoredSettings::Read());
void WriteCkInfoOpen(int32_t value);

// "Install_Dir" (the recorder's install folder, to find QuorSplit); default DefaultInstallDir().
void ReadInstallDir(std::string& out, const StoredSettings& stored = StoredSettings::Read());

// Any other string value of SettingsKey (the date values "actionapp", "upchkdate", "update"):
// `out` keeps its value when none is stored. Read with the 200-byte buffer.
void ReadSettingString(const std::string& name, std::string& out,
                       const StoredSettings& stored = StoredSettings::Read());
void WriteSettingString(const std::string& name, const std::string& text);
