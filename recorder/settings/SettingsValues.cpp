// The per-value readers and writers of SettingsKey.
#include "recorder/settings/SettingsValues.h"

#include "platform/folders/SpecialFolders.h"
#include "platform/registry/CRegistry.h"

#include <algorithm>
#include <utility>

using platform::DWORD;
using platform::HKEY_CURRENT_USER;

namespace {

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

void WriteDwordValue(const char* name, int32_t value) {
    WriteToSettingsKey([&](CRegistry& reg) { return reg.WriteDWORD(name, static_cast<DWORD>(value)); });
}

// As CRegistry::ReadDWORD reads it: exactly 4 bytes, whatever the stored type.
int32_t DwordValue(const StoredSettings& stored, const char* name, int32_t fallback) {
    const platform::HiveValue* value = stored.Find(name);
    if (!value || value->data.size() != 4)
        return fallback;
    const std::vector<platform::BYTE>& b = value->data;
    return static_cast<int32_t>(b[0] | (b[1] << 8) | (b[2] << 16) | (static_cast<DWORD>(b[3]) << 24));
}

// As CRegistry::ReadString reads it into a buffer of bufferBytes: the text up to its first null;
// a larger value leaves `out` as it was.
void StringValue(const StoredSettings& stored, const std::string& name, std::string& out, DWORD bufferBytes) {
    const platform::HiveValue* value = stored.Find(name);
    if (!value || value->data.size() > bufferBytes)
        return;
    out.assign(value->data.begin(), std::find(value->data.begin(), value->data.end(), 0));
}

} // namespace

// Reading never creates the key.
StoredSettings StoredSettings::Read() {
    StoredSettings stored;
    CRegistry reg(HKEY_CURRENT_USER);
    if (reg.KeyExists(HKEY_CURRENT_USER, kSettingsKey) && reg.Open(HKEY_CURRENT_USER, kSettingsKey, 0))
        reg.ReadValues(stored.m_Values); // left empty when the read fails
    return stored;
}

const platform::HiveValue* StoredSettings::Find(const std::string& name) const {
    for (const platform::HiveValue& value : m_Values) {
        if (value.name == name)
            return &value;
    }
    return nullptr;
}

platform::LSTATUS TakeSettingsWriteFailure() {
    return std::exchange(g_FirstWriteFailure, platform::ERROR_SUCCESS);
}

std::string DefaultSavePath() {
    return platform::MyMusicFolder();
}

std::string DefaultInstallDir() {
    return platform::ProgramFilesFolder() + "/QuorRecorder";
}

void ReadSavePath(std::string& out, const StoredSettings& stored) {
    out = DefaultSavePath();
    // Only a text naming a folder from the root is a place: an empty, relative or mistyped value
    // would put recordings wherever the program happened to start (the root, for a timer).
    const platform::HiveValue* value = stored.Find("Savepath");
    std::string folder;
    StringValue(stored, "Savepath", folder, CRegistry::kPathBufferBytes);
    if (value && value->type == platform::REG_SZ && folder.starts_with('/'))
        out = folder;
}

bool WriteSavePath(const std::string& path) {
    if (path.size() + 1 > CRegistry::kPathBufferBytes)
        return false; // could never be read back: keep the folder stored before
    return WriteToSettingsKey([&](CRegistry& reg) { return reg.WriteString("Savepath", path); });
}

void ReadFileTypeSel(int32_t& out, const StoredSettings& stored) {
    out = 0;
    out = DwordValue(stored, "FileTypeSel", 0);
}
void WriteFileTypeSel(int32_t value) {
    WriteDwordValue("FileTypeSel", value);
}

void ReadFileSettingSel(int32_t& out, const StoredSettings& stored) {
    out = 0;
    out = DwordValue(stored, "FileSettingSel", 0);
}
void WriteFileSettingSel(int32_t value) {
    WriteDwordValue("FileSettingSel", value);
}

int32_t ReadAutoFileName(int32_t fallback, const StoredSettings& stored) {
    return DwordValue(stored, "Autofilename", fallback);
}
void WriteAutoFileName(int32_t value) {
    WriteDwordValue("Autofilename", value);
}
int32_t ReadCkMP3ID3V1(int32_t fallback, const StoredSettings& stored) {
    return DwordValue(stored, "CkMP3ID3V1", fallback);
}
void WriteCkMP3ID3V1(int32_t value) {
    WriteDwordValue("CkMP3ID3V1", value);
}
int32_t ReadCkTagOpen(int32_t fallback, const StoredSettings& stored) {
    return DwordValue(stored, "CkTagOpen", fallback);
}
void WriteCkTagOpen(int32_t value) {
    WriteDwordValue("CkTagOpen", value);
}
int32_t ReadCkAutoStop(int32_t fallback, const StoredSettings& stored) {
    return DwordValue(stored, "CkAutoStop", fallback);
}
void WriteCkAutoStop(int32_t value) {
    WriteDwordValue("CkAutoStop", value);
}
int32_t ReadCkTopmost(int32_t fallback, const StoredSettings& stored) {
    return DwordValue(stored, "CkTopmost", fallback);
}
void WriteCkTopmost(int32_t value) {
    WriteDwordValue("CkTopmost", value);
}
int32_t ReadCkSysSoundOff(int32_t fallback, const StoredSettings& stored) {
    return DwordValue(stored, "CkSysSoundOff", fallback);
}
void WriteCkSysSoundOff(int32_t value) {
    WriteDwordValue("CkSysSoundOff", value);
}
int32_t ReadCkInfoOpen(int32_t fallback, const StoredSettings& stored) {
    return DwordValue(stored, "CkInfoOpen", fallback);
}
void WriteCkInfoOpen(int32_t value) {
    WriteDwordValue("CkInfoOpen", value);
}

void ReadInstallDir(std::string& out, const StoredSettings& stored) {
    out = DefaultInstallDir();
    StringValue(stored, "Install_Dir", out, CRegistry::kPathBufferBytes);
}

void ReadSettingString(const std::string& name, std::string& out, const StoredSettings& stored) {
    StringValue(stored, name, out, CRegistry::kStringBufferBytes);
}

void WriteSettingString(const std::string& name, const std::string& text) {
    WriteToSettingsKey([&](CRegistry& reg) { return reg.WriteString(name, text); });
}
