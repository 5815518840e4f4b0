// Opening the files recordings go to: one writer per file, and free automatic names.
#pragma once

#include <optional>
#include <string>

namespace platform {

// Opens path for writing, creating it when missing, and takes an exclusive lock on it; only then
// is a regular file truncated, so a file another writer holds is refused, never cut short.
// A descriptor, or -1 with errno set.
int OpenRecordingFile(const std::string& path);

// Creates a new empty file in folder under name, or, when that name is taken, under "stem_2.ext",
// "stem_3.ext", … and returns the name it got; nullopt (errno set) when none could be created.
// The creation itself claims the name, so two recorders never get the same one.
std::optional<std::string> CreateUnderFreeName(const std::string& folder, const std::string& name);

} // namespace platform
