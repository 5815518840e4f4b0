// The last hive parsed from a file, kept while the file provably has not changed: the programs
// read one value at a time, and each read would otherwise open and parse the whole file again
// (the recorder read it three dozen times before its window showed).
//
// A file counts as unchanged when its device, inode, size, modification and change times are
// the ones it had when it was read. File systems stamp those times from a coarse clock, so a
// file changed twice within one tick could keep its stamp: a hive is kept only when the file's
// last change lies well before the moment it was read, and any later change then stamps it
// with a visibly later time.
#pragma once

#include "registry/Hive.h"

#include <sys/stat.h>

#include <ctime>
#include <filesystem>
#include <mutex>
#include <optional>

namespace platform {

struct FileStamp {
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    timespec modified{};
    timespec changed{};

    static FileStamp Of(const struct stat& info);
    bool operator==(const FileStamp& other) const;
};

class HiveReadCache {
public:
    // How long before the reading a file must have changed last for its hive to be kept.
    static constexpr std::time_t kSettledSeconds = 2;

    // The kept hive when `file` still carries `stamp`.
    std::optional<Hive> Find(const std::filesystem::path& file, const FileStamp& stamp) const;
    // Keeps `hive`, read from `file` with `stamp` at `readAt` (real time), if the file had settled.
    void Keep(const std::filesystem::path& file, const FileStamp& stamp, const Hive& hive, timespec readAt);
    void Forget();

private:
    mutable std::mutex lock_;
    std::filesystem::path file_;
    FileStamp stamp_;
    std::optional<Hive> hive_;
};

} // namespace platform
