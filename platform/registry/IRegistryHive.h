// Where the registry functions keep HKEY_CURRENT_USER: the user's hive file, or a scripted one in tests.
#pragma once

#include "platform/registry/Hive.h"

namespace platform {

// Every call stands alone: no state is kept between calls, so another process's writes are seen
// by the next call. Paths are below HKEY_CURRENT_USER.
class IRegistryHive {
public:
    virtual ~IRegistryHive() = default;

    // ERROR_SUCCESS when the key exists.
    virtual LSTATUS OpenKey(const KeyPath& path) = 0;
    virtual LSTATUS CreateKey(const KeyPath& path, bool* created) = 0;
    virtual LSTATUS QueryValue(const KeyPath& path, const std::string& name, HiveValue* value) = 0;
    // Creates the key again if it vanished since it was opened (a hive set aside meanwhile).
    virtual LSTATUS SetValue(const KeyPath& path, const HiveValue& value) = 0;
    virtual LSTATUS ListValues(const KeyPath& path, std::vector<HiveValue>* values) = 0;
};

} // namespace platform
