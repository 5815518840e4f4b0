// The registry functions the programs call, over HKEY_CURRENT_USER only.
//
// Any thread may call them (handles are guarded).
// Strings are UTF-8; a REG_SZ holds the text and a terminating null, so its size is bytes + 1.
#pragma once

#include "platform/registry/IRegistryHive.h"
#include "platform/registry/RegistryTypes.h"

#include <memory>
#include <string>
#include <vector>

namespace platform {

struct HKEY__;
using HKEY = HKEY__*;

// The predefined root key. Closing it is allowed and does nothing.
extern HKEY const HKEY_CURRENT_USER;

LSTATUS RegOpenKeyEx(HKEY root, const std::string& subKey, REGSAM access, HKEY* result);
LSTATUS RegCreateKeyEx(HKEY root, const std::string& subKey, REGSAM access, HKEY* result,
                       DWORD* disposition = nullptr);
LSTATUS RegCloseKey(HKEY key);

// With data null, only *type and *size are filled. A buffer smaller than the value gives
// ERROR_MORE_DATA with the needed size in *size and leaves the buffer untouched.
LSTATUS RegQueryValueEx(HKEY key, const std::string& name, DWORD* type, BYTE* data, DWORD* size);
LSTATUS RegSetValueEx(HKEY key, const std::string& name, DWORD type, const BYTE* data, DWORD size);

// Every value of the key, in the order they were first set.
LSTATUS RegEnumValues(HKEY key, std::vector<HiveValue>* values);

// Puts another hive behind the functions (tests script failures this way) and returns the
// previous one; null restores the user's hive file.
std::shared_ptr<IRegistryHive> SetRegistryHive(std::shared_ptr<IRegistryHive> hive);

} // namespace platform
