// A small wrapper over one registry key, shared by the recorder and the splitter.
// Every operation returns 1 on success and 0 on failure and records the last status, type and size.
#pragma once

#include "platform/registry/Registry.h"

#include <climits>
#include <string>
#include <vector>

class CRegistry {
public:
    // ReadString's buffer, as callers have always been told: 199 bytes of text and the null.
    static constexpr platform::DWORD kStringBufferBytes = 200;
    // A buffer for folder paths, which may be as long as the platform allows.
    static constexpr platform::DWORD kPathBufferBytes = PATH_MAX;

    explicit CRegistry(platform::HKEY root = platform::HKEY_CURRENT_USER);
    virtual ~CRegistry();
    CRegistry(const CRegistry&) = delete;
    CRegistry& operator=(const CRegistry&) = delete;

    // Whether root\path exists and opens with full access; the key is closed again at once.
    int KeyExists(platform::HKEY root, const std::string& path);
    // Creates root\path (and what leads to it) and closes it at once.
    int CreateKey(platform::HKEY root, const std::string& path);
    // Closes the current key, then opens root\path into it; creates it when asked to.
    int Open(platform::HKEY root, const std::string& path, int create = 0);
    int Close();

    int WriteDWORD(const std::string& name, platform::DWORD value);
    int WriteString(const std::string& name, const std::string& text);
    // Reads 4 bytes whatever the stored type; anything else than exactly 4 bytes fails.
    int ReadDWORD(const std::string& name, platform::DWORD& out);
    // Reads the text up to its first null; a value larger than the buffer fails. `out` is
    // changed only on success.
    int ReadString(const std::string& name, std::string& out,
                   platform::DWORD bufferBytes = kStringBufferBytes);
    // Every value of the key at once, in the order they were first set.
    int ReadValues(std::vector<platform::HiveValue>& out);

    // Bookkeeping of the last call.
    platform::HKEY KeyHandle() const { return m_hKey; }
    platform::LSTATUS LastStatus() const { return m_lastStatus; }
    platform::DWORD LastType() const { return m_lastType; }
    platform::DWORD LastSize() const { return m_lastSize; }
    const std::string& GetKeyPath() const { return m_keyPath; }

private:
    int Record(platform::LSTATUS status, platform::DWORD type, platform::DWORD size);

    platform::HKEY m_hKey;
    platform::LSTATUS m_lastStatus = platform::ERROR_SUCCESS;
    platform::DWORD m_lastType = 0;
    platform::DWORD m_lastSize = 0;
    std::string m_keyPath;
};
