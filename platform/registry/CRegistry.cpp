// CRegistry over the platform's registry functions.
#include "platform/registry/CRegistry.h"

#include <cstring>
#include <vector>

using namespace platform;

CRegistry::CRegistry(HKEY root) : m_hKey(root) {}

CRegistry::~CRegistry() {
    Close();
}

int CRegistry::Record(LSTATUS status, DWORD type, DWORD size) {
    m_lastStatus = status;
    m_lastType = type;
    m_lastSize = size;
    return status == ERROR_SUCCESS ? 1 : 0;
}

int CRegistry::KeyExists(HKEY root, const std::string& path) {
    HKEY key = nullptr;
    const LSTATUS status = RegOpenKeyEx(root, path, KEY_ALL_ACCESS, &key);
    if (status == ERROR_SUCCESS)
        RegCloseKey(key);
    return Record(status, 0, 0);
}

int CRegistry::CreateKey(HKEY root, const std::string& path) {
    HKEY key = nullptr;
    const LSTATUS status = RegCreateKeyEx(root, path, KEY_ALL_ACCESS, &key);
    if (status == ERROR_SUCCESS)
        RegCloseKey(key);
    return Record(status, 0, 0);
}

int CRegistry::Open(HKEY root, const std::string& path, int create) {
    m_keyPath = path;
    Close();
    LSTATUS status = RegOpenKeyEx(root, path, KEY_ALL_ACCESS, &m_hKey);
    if (status != ERROR_SUCCESS && create)
        status = RegCreateKeyEx(root, path, KEY_ALL_ACCESS, &m_hKey);
    return Record(status, 0, 0);
}

int CRegistry::Close() {
    if (m_hKey) {
        RegCloseKey(m_hKey);
        m_hKey = nullptr;
    }
    return 1;
}

int CRegistry::WriteDWORD(const std::string& name, DWORD value) {
    BYTE bytes[4] = {static_cast<BYTE>(value), static_cast<BYTE>(value >> 8), static_cast<BYTE>(value >> 16),
                     static_cast<BYTE>(value >> 24)};
    return Record(RegSetValueEx(m_hKey, name, REG_DWORD, bytes, sizeof bytes), REG_DWORD, sizeof bytes);
}

int CRegistry::WriteString(const std::string& name, const std::string& text) {
    const auto size = static_cast<DWORD>(text.size() + 1);
    return Record(RegSetValueEx(m_hKey, name, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()), size),
                  REG_SZ, size);
}

int CRegistry::ReadDWORD(const std::string& name, DWORD& out) {
    BYTE bytes[4] = {};
    DWORD type = 0;
    DWORD size = sizeof bytes;
    LSTATUS status = RegQueryValueEx(m_hKey, name, &type, bytes, &size);
    // A shorter value would leave part of the number unfilled: no partial values.
    if (status == ERROR_SUCCESS && size != sizeof bytes)
        status = ERROR_INVALID_DATA;
    if (status == ERROR_SUCCESS)
        out = bytes[0] | (bytes[1] << 8) | (bytes[2] << 16) | (static_cast<DWORD>(bytes[3]) << 24);
    return Record(status, type, size);
}

int CRegistry::ReadString(const std::string& name, std::string& out, DWORD bufferBytes) {
    std::vector<BYTE> buffer(bufferBytes);
    DWORD type = 0;
    DWORD size = bufferBytes;
    const LSTATUS status = RegQueryValueEx(m_hKey, name, &type, buffer.data(), &size);
    if (status == ERROR_SUCCESS) {
        const char* text = reinterpret_cast<const char*>(buffer.data());
        out.assign(text, strnlen(text, size));
    }
    return Record(status, type, size);
}

int CRegistry::ReadValues(std::vector<HiveValue>& out) {
    return Record(RegEnumValues(m_hKey, &out), 0, 0);
}
