// File operations behind FileHive: locked read-modify-replace and the setting aside of bad files.
#pragma once

#include "platform/registry/Hive.h"

#include <filesystem>
#include <functional>

namespace platform {

// Reads the hive without a lock. A missing file is an empty hive; a file that does not parse is
// set aside (under the lock) and read as empty.
LSTATUS ReadHiveFile(const std::filesystem::path& file, Hive* hive);

// Called (on the reading or writing thread) when a file that does not parse was renamed aside;
// null stops the calls. Programs that talk to a person install one to say so.
using SetAsideObserver =
    std::function<void(const std::filesystem::path& file, const std::filesystem::path& aside)>;
void SetHiveSetAsideObserver(SetAsideObserver observer);

// Under the writers' lock: reads the hive, lets `change` edit it and, when `change` reports a
// change, replaces the file atomically. The folder is created when missing.
LSTATUS ChangeHiveFile(const std::filesystem::path& file, const std::function<bool(Hive&)>& change);

} // namespace platform
