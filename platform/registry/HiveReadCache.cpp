#include "registry/HiveReadCache.h"

namespace platform {

namespace {

bool SameTime(const timespec& a, const timespec& b) {
    return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
}

} // namespace

FileStamp FileStamp::Of(const struct stat& info) {
    return {info.st_dev, info.st_ino, info.st_size, info.st_mtim, info.st_ctim};
}

bool FileStamp::operator==(const FileStamp& other) const {
    return device == other.device && inode == other.inode && size == other.size &&
           SameTime(modified, other.modified) && SameTime(changed, other.changed);
}

std::optional<Hive> HiveReadCache::Find(const std::filesystem::path& file, const FileStamp& stamp) const {
    std::lock_guard<std::mutex> guard(lock_);
    if (!hive_ || file != file_ || !(stamp == stamp_))
        return std::nullopt;
    return hive_;
}

void HiveReadCache::Keep(const std::filesystem::path& file, const FileStamp& stamp, const Hive& hive,
                         timespec readAt) {
    std::lock_guard<std::mutex> guard(lock_);
    const std::time_t latest = std::max(stamp.modified.tv_sec, stamp.changed.tv_sec);
    if (latest > readAt.tv_sec - kSettledSeconds) {
        hive_.reset(); // too fresh to vouch for: the next read parses again
        return;
    }
    file_ = file;
    stamp_ = stamp;
    hive_ = hive;
}

void HiveReadCache::Forget() {
    std::lock_guard<std::mutex> guard(lock_);
    hive_.reset();
}

} // namespace platform
