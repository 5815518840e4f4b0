// The kept hive: found only while the file is provably the one read, never for a file that had
// just changed when it was read, and never again after a write through this process.
#include "registry/FileHive.h"
#include "registry/HiveFile.h"
#include "registry/HiveReadCache.h"
#include "support/HiveEnv.h"

#include <gtest/gtest.h>

#include <fstream>

using namespace platform;

namespace {

Hive HiveWith(const std::string& value) {
    Hive hive;
    hive.Create({"Software", "Test"}).SetValue("Name", REG_SZ, std::vector<BYTE>(value.begin(), value.end()));
    return hive;
}

FileStamp SettledStamp() {
    FileStamp stamp;
    stamp.device = 1;
    stamp.inode = 100;
    stamp.size = 325;
    stamp.modified = {1000, 5};
    stamp.changed = {1000, 7};
    return stamp;
}

constexpr timespec kReadLater{1000 + HiveReadCache::kSettledSeconds + 1, 0};

TEST(HiveReadCache, AKeptHiveIsFoundOnlyWhileFileAndEveryPartOfItsStampAgree) {
    HiveReadCache cache;
    const FileStamp stamp = SettledStamp();
    cache.Keep("/a.reg", stamp, HiveWith("kept"), kReadLater);
    const std::optional<Hive> found = cache.Find("/a.reg", stamp);
    ASSERT_TRUE(found.has_value());
    EXPECT_EQ(*found, HiveWith("kept"));

    EXPECT_FALSE(cache.Find("/b.reg", stamp).has_value());
    std::vector<FileStamp> changed(5, stamp);
    changed[0].device = 2;
    changed[1].inode = 101; // replaced by a writer
    changed[2].size = 326;
    changed[3].modified.tv_nsec = 6;
    changed[4].changed.tv_sec = 1001; // touched back, but the change time moved
    for (size_t i = 0; i < changed.size(); ++i)
        EXPECT_FALSE(cache.Find("/a.reg", changed[i]).has_value()) << "stamp change " << i;
}

TEST(HiveReadCache, AFileChangedJustBeforeTheReadIsNotKeptAndForgetDropsTheHive) {
    HiveReadCache cache;
    FileStamp fresh = SettledStamp();
    fresh.changed = {kReadLater.tv_sec - 1, 0};
    cache.Keep("/a.reg", fresh, HiveWith("fresh"), kReadLater);
    EXPECT_FALSE(cache.Find("/a.reg", fresh).has_value());

    // A fresh read also replaces what was kept before for the same file.
    cache.Keep("/a.reg", SettledStamp(), HiveWith("kept"), kReadLater);
    cache.Keep("/a.reg", fresh, HiveWith("fresh"), kReadLater);
    EXPECT_FALSE(cache.Find("/a.reg", SettledStamp()).has_value());

    cache.Keep("/a.reg", SettledStamp(), HiveWith("kept"), kReadLater);
    cache.Forget();
    EXPECT_FALSE(cache.Find("/a.reg", SettledStamp()).has_value());
}

TEST(HiveReadCache, ReadsSeeEveryWriteAndEveryReplacementOfTheFile) {
    quortest::HiveEnv env;
    const std::filesystem::path file = FileHive::UserHivePath();
    const auto read = [&] {
        Hive hive;
        EXPECT_EQ(ReadHiveFile(file, &hive), ERROR_SUCCESS);
        const HiveKey* key = hive.Find({"Software", "Test"});
        const HiveValue* value = key ? key->FindValue("Name") : nullptr;
        return value ? std::string(value->data.begin(), value->data.end()) : std::string("<none>");
    };
    EXPECT_EQ(read(), "<none>");
    for (const std::string value : {"one", "two"}) {
        ASSERT_EQ(ChangeHiveFile(file,
                                 [&](Hive& hive) {
                                     hive = HiveWith(value);
                                     return true;
                                 }),
                  ERROR_SUCCESS);
        EXPECT_EQ(read(), value);
        EXPECT_EQ(read(), value);
    }
    // Another program replaces the file with one of the very same size.
    const std::filesystem::path other = file.string() + ".other";
    {
        Hive hive = HiveWith("six");
        ASSERT_EQ(ChangeHiveFile(other,
                                 [&](Hive& h) {
                                     h = hive;
                                     return true;
                                 }),
                  ERROR_SUCCESS);
    }
    std::filesystem::rename(other, file);
    EXPECT_EQ(read(), "six");
}

} // namespace
