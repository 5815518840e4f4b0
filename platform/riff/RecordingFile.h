// Opening the files recordings go to: one writer per file, free automatic names, and telling
// whether the file a recording writes into is still the one at its path.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <sys/types.h>

namespace platform {

// Opens path for writing, creating it when missing, and takes an exclusive lock on it; only then
// is a regular file truncated, so a file another writer holds is refused, never cut short.
// A descriptor, or -1 with errno set.
int OpenRecordingFile(const std::string& path);

// Creates a new empty file in folder under name, or, when that name is taken, under "stem_2.ext",
// "stem_3.ext", … and returns the name it got; nullopt (errno set) when none could be created.
// The creation itself claims the name, so two recorders never get the same one.
std::optional<std::string> CreateUnderFreeName(const std::string& folder, const std::string& name);

// Which file a path names now; nullopt when nothing is there.
struct FileIdentity {
    dev_t device = 0;
    ino_t inode = 0;
    bool operator==(const FileIdentity&) const = default;
};
std::optional<FileIdentity> IdentityOf(const std::string& path);

} // namespace platform
