// The per-value readers and writers of SettingsKey.
#include "SettingsValues.h"

#include "CRegistry.h"
#include "shell/SpecialFolders.h"

#include <utility>

using platform::DWORD;
using platform::HKEY_CURRENT_USER;

namespace {

// Reading never creates the key.
template <class Read> void ReadFromSettingsKey(Read read) {
    CRegistry reg(HKEY_CURRENT_USER);
    if (reg.KeyExists(HKEY_CURRENT_USER, kSettingsKey) && reg.Open(HKEY_CURRENT_USER, kSettingsKey, 0))
        read(reg);
    reg.Close();
}

platform::LSTATUS g_FirstWriteFailure = platform::ERROR_SUCCESS;

void NoteWriteFailure(platform::LSTATUS status) {
    if (g_FirstWriteFailure == platform::ERROR_SUCCESS)
        g_FirstWriteFailure = status == platform::ERROR_SUCCESS ? platform::ERROR_WRITE_FAULT : status;
}

// Writing creates the key first when it is missing.
template <class Write> bool WriteToSettingsKey(Write write) {
    CRegistry reg(HKEY_CURRENT_USER);
    if (!reg.KeyExists(HKEY_CURRENT_USER, kSettingsKey) && !reg.CreateKey(HKEY_CURRENT_USER, kSettingsKey))
        NoteWriteFailure(reg.LastStatus());
    const bool written = reg.Open(HKEY_CURRENT_USER, kSettingsKey, 0) && write(reg);
    if (!written)
        NoteWriteFailure(reg.LastStatus());
    reg.Close();
    return written;
}

int32_t ReadDwordValue(const char* name, int32_t fallback) {
    int32_t result = fallback;
    ReadFromSettingsKey([&](CRegistry& reg) {
        DWORD stored = 0;
        if (reg.ReadDWORD(name, stored))
            result = static_cast<int32_t>(stored);
    });
    return result;
}

void WriteDwordValue(const char* name, int32_t value) {
    WriteToSettingsKey([&](CRegistry& reg) { return reg.WriteDWORD(name, static_cast<DWORD>(value)); });
}

void ReadStringValue(const std::string& name, std::string& out, DWORD bufferBytes) {
    ReadFromSettingsKey([&](CRegistry& reg) { reg.ReadString(name, out, bufferBytes); });
}

} // namespace

platform::LSTATUS TakeSettingsWriteFailure() {
    return std::exchange(g_FirstWriteFailure, platform::ERROR_SUCCESS);
}

std::string DefaultSavePath() {
    return platform::MyMusicFolder();
}

std::string DefaultInstallDir() {
    return platform::ProgramFilesFolder() + "/QuorRecorder";
}

void ReadSavePath(std::string& out) {
    out = DefaultSavePath();
    ReadFromSettingsKey([&](CRegistry& reg) {
        std::string stored;
        // Only a text naming a folder from the root is a place: an empty, relative or mistyped value
        // would put recordings wherever the program happened to start (the root, for a timer).
        if (reg.ReadString("Savepath", stored, CRegistry::kPathBufferBytes) &&
            reg.LastType() == platform::REG_SZ && stored.starts_with('/'))
            out = stored;
    });
}

bool WriteSavePath(const std::string& path) {
    if (path.size() + 1 > CRegistry::kPathBufferBytes)
        return false; // could never be read back: keep the folder stored before
    return WriteToSettingsKey([&](CRegistry& reg) { return reg.WriteString("Savepath", path); });
}

void ReadFileTypeSel(int32_t& out) {
    out = 0;
    out = ReadDwordValue("FileTypeSel", 0);
}
void WriteFileTypeSel(int32_t value) {
    WriteDwordValue("FileTypeSel", value);
}

void ReadFileSettingSel(int32_t& out) {
    out = 0;
    out = ReadDwordValue("FileSettingSel", 0);
}
void WriteFileSettingSel(int32_t value) {
    WriteDwordValue("FileSettingSel", value);
}

int32_t ReadAutoFileName(int32_t fallback) {
    return ReadDwordValue("Autofilename", fallback);
}
void WriteAutoFileName(int32_t value) {
    WriteDwordValue("Autofilename", value);
}
int32_t ReadCkMP3ID3V1(int32_t fallback) {
    return ReadDwordValue("CkMP3ID3V1", fallback);
}
void WriteCkMP3ID3V1(int32_t value) {
    WriteDwordValue("CkMP3ID3V1", value);
}
int32_t ReadCkTagOpen(int32_t fallback) {
    return ReadDwordValue("CkTagOpen", fallback);
}
void WriteCkTagOpen(int32_t value) {
    WriteDwordValue("CkTagOpen", value);
}
int32_t ReadCkAutoStop(int32_t fallback) {
    return ReadDwordValue("CkAutoStop", fallback);
}
void WriteCkAutoStop(int32_t value) {
    WriteDwordValue("CkAutoStop", value);
}
int32_t ReadCkTopmost(int32_t fallback) {
    return ReadDwordValue("CkTopmost", fallback);
}
void WriteCkTopmost(int32_t value) {
    WriteDwordValue("CkTopmost", value);
}
int32_t ReadCkSysSoundOff(int32_t fallback) {
    return ReadDwordValue("CkSysSoundOff", fallback);
}
void WriteCkSysSoundOff(int32_t value) {
    WriteDwordValue("CkSysSoundOff", value);
}
int32_t ReadCkInfoOpen(int32_t fallback) {
    return ReadDwordValue("CkInfoOpen", fallback);
}
void WriteCkInfoOpen(int32_t value) {
    WriteDwordValue("CkInfoOpen", value);
}

void ReadInstallDir(std::string& out) {
    out = DefaultInstallDir();
    ReadStringValue("Install_Dir", out, CRegistry::kPathBufferBytes);
}

void ReadSettingString(const std::string& name, std::string& out) {
    ReadStringValue(name, out, CRegistry::kStringBufferBytes);
}

void WriteSettingString(const std::string& name, const std::string& text) {
    WriteToSettingsKey([&](CRegistry& reg) { return reg.WriteString(name, text); });
}
