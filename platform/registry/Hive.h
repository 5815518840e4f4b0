// The in-memory tree of one hive: keys with subkeys and typed values, names compared as Windows does.
#pragma once

#include "platform/registry/RegistryTypes.h"

#include <list>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

using KeyPath = std::vector<std::string>;

struct HiveValue {
    std::string name; // "" is the key's default value
    DWORD type = REG_NONE;
    std::vector<BYTE> data;

    bool operator==(const HiveValue&) const = default;
};

struct HiveKey {
    std::string name;
    std::vector<HiveValue> values; // in the order they were first set
    std::list<HiveKey> subkeys;    // in the order they were created; a list keeps pointers valid

    const HiveKey* FindSubkey(std::string_view subkey) const;
    HiveKey* FindSubkey(std::string_view subkey);
    const HiveValue* FindValue(std::string_view value) const;
    // Replaces the data and type of an existing value (keeping its first spelling) or appends one.
    void SetValue(std::string_view value, DWORD type, std::vector<BYTE> data);

    bool operator==(const HiveKey&) const = default;
};

struct Hive {
    HiveKey root; // HKEY_CURRENT_USER itself

    const HiveKey* Find(const KeyPath& path) const;
    // Finds or creates every key along the path; `created` tells whether the last one is new.
    HiveKey& Create(const KeyPath& path, bool* created = nullptr);

    bool operator==(const Hive&) const = default;
};

// Key and value names are compared without regard to ASCII case, as the Windows registry does.
bool SameName(std::string_view a, std::string_view b);

// The registry's own limits, which also keep every walk over the tree shallow.
constexpr size_t kMaxKeyDepth = 512;
constexpr size_t kMaxKeyNameBytes = 255;

// Splits "Software\QuorRecorder" into its names; "" is the root. Empty or overlong names, control
// characters and paths deeper than kMaxKeyDepth are refused.
std::optional<KeyPath> SplitKeyPath(std::string_view path);

// Text that one line of the hive file can hold: valid UTF-8 without control characters but tab.
bool IsCleanText(std::string_view text);

} // namespace platform
