// The per-user hive file: $XDG_CONFIG_HOME/QuorTools/HKEY_CURRENT_USER.reg.
//
// Writers take an advisory lock (flock on a lock file beside the hive), read the file again,
// change it and replace it atomically (temporary file, fsync, rename), so programs writing at
// the same time keep each other's values and a crash leaves the old or the new file. Readers
// need no lock. A file that does not parse is renamed aside ("….broken-YYYYmmdd-HHMMSS") and
// reads as empty; the next write starts a fresh hive.
#pragma once

#include "platform/registry/IRegistryHive.h"

#include <filesystem>
#include <optional>

namespace platform {

class FileHive : public IRegistryHive {
public:
    // Follows the current user's configuration folder at every call.
    FileHive() = default;
    explicit FileHive(std::filesystem::path file) : file_(std::move(file)) {}

    static std::filesystem::path UserHivePath();
    std::filesystem::path Path() const { return file_ ? *file_ : UserHivePath(); }

    LSTATUS OpenKey(const KeyPath& path) override;
    LSTATUS CreateKey(const KeyPath& path, bool* created) override;
    LSTATUS QueryValue(const KeyPath& path, const std::string& name, HiveValue* value) override;
    LSTATUS SetValue(const KeyPath& path, const HiveValue& value) override;
    LSTATUS ListValues(const KeyPath& path, std::vector<HiveValue>* values) override;

private:
    std::optional<std::filesystem::path> file_;
};

} // namespace platform
