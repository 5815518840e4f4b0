// One reader and one writer per value of the recorder's registry key (SettingsKey).
// Each call opens and closes the key; failures are silent: readers give the default, writers
// leave the stored value as it was.
#pragma once

#include "ProgramKeys.h"
#include "registry/RegistryTypes.h"

#include <cstdint>
#include <string>

// The status of the first writer that failed since the last call (ERROR_SUCCESS when none did),
// so that one notice can tell why the settings were not saved. Window thread.
platform::LSTATUS TakeSettingsWriteFailure();

// Defaults of the values that name folders.
std::string DefaultSavePath();   // the user's My Music folder
std::string DefaultInstallDir(); // "%s/QuorRecorder" of the program-files folder

// Folders are read with a buffer of the platform's path limit, so any folder the writer stored
// reads back; the writer refuses a longer one and keeps the stored value (returns false). A stored
// save folder that is empty, relative or not text reads as the default.
void ReadSavePath(std::string& out);
bool WriteSavePath(const std::string& path);

// Set `out` to 0 first, then to the stored value when there is one.
void ReadFileTypeSel(int32_t& out);
void WriteFileTypeSel(int32_t value);
void ReadFileSettingSel(int32_t& out);
void WriteFileSettingSel(int32_t value);

int32_t ReadAutoFileName(int32_t fallback);
void WriteAutoFileName(int32_t value);
int32_t ReadCkMP3ID3V1(int32_t fallback);
void WriteCkMP3ID3V1(int32_t value);
int32_t ReadCkTagOpen(int32_t fallback);
void WriteCkTagOpen(int32_t value);
int32_t ReadCkAutoStop(int32_t fallback);
void WriteCkAutoStop(int32_t value);
int32_t ReadCkTopmost(int32_t fallback);
void WriteCkTopmost(int32_t value);
int32_t ReadCkSysSoundOff(int32_t fallback);
void WriteCkSysSoundOff(int32_t value);
int32_t ReadCkInfoOpen(int32_t fallback);
void WriteCkInfoOpen(int32_t value);

// "Install_Dir" (the recorder's install folder, to find QuorSplit); default DefaultInstallDir().
void ReadInstallDir(std::string& out);

// Any other string value of SettingsKey (the date values "actionapp", "upchkdate", "update"):
// `out` keeps its value when none is stored. Read with the 200-byte buffer.
void ReadSettingString(const std::string& name, std::string& out);
void WriteSettingString(const std::string& name, const std::string& text);
