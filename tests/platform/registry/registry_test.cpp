// The registry functions over the user's hive file: handles, sizes, and what reads and writes do
// to the file and the folder.
#include "registry/FileHive.h"
#include "registry/HiveText.h"
#include "registry/Registry.h"
#include "support/HiveEnv.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <sys/stat.h>

using namespace platform;

namespace {

HKEY CreateKey(const std::string& path) {
    HKEY key = nullptr;
    EXPECT_EQ(RegCreateKeyEx(HKEY_CURRENT_USER, path, KEY_ALL_ACCESS, &key), ERROR_SUCCESS);
    return key;
}

LSTATUS SetString(HKEY key, const std::string& name, const std::string& text) {
    return RegSetValueEx(key, name, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                         static_cast<DWORD>(text.size() + 1));
}

LSTATUS SetNumber(HKEY key, const std::string& name, DWORD number) {
    return RegSetValueEx(key, name, REG_DWORD, reinterpret_cast<const BYTE*>(&number), 4);
}

// The string value, or "<missing>" when it cannot be read.
std::string GetString(const std::string& path, const std::string& name) {
    HKEY key = nullptr;
    if (RegOpenKeyEx(HKEY_CURRENT_USER, path, KEY_READ, &key) != ERROR_SUCCESS)
        return "<missing>";
    char buffer[512] = {};
    DWORD size = sizeof buffer;
    const LSTATUS status = RegQueryValueEx(key, name, nullptr, reinterpret_cast<BYTE*>(buffer), &size);
    RegCloseKey(key);
    return status == ERROR_SUCCESS ? std::string(buffer) : "<missing>";
}

} // namespace

TEST(Registry, ReadingAMissingHiveCreatesNothing) {
    quortest::HiveEnv env;
    HKEY key = nullptr;
    EXPECT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, "Software\\QuorRecorder", KEY_ALL_ACCESS, &key),
              ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(key, nullptr);
    EXPECT_FALSE(std::filesystem::exists(env.ConfigHome()));
}

TEST(Registry, HiveFollowsTheConfigurationFolder) {
    quortest::HiveEnv env;
    EXPECT_EQ(FileHive::UserHivePath(), env.HivePath());
    {
        quortest::ScopedEnv relative("XDG_CONFIG_HOME", "relative/config"); // invalid: ignored
        EXPECT_EQ(FileHive::UserHivePath(), env.Home() / ".config/QuorTools/HKEY_CURRENT_USER.reg");
    }
    quortest::ScopedEnv unset("XDG_CONFIG_HOME", std::nullopt);
    EXPECT_EQ(FileHive::UserHivePath(), env.Home() / ".config/QuorTools/HKEY_CURRENT_USER.reg");
}

TEST(Registry, CreatedKeysAndValuesPersistInTheFile) {
    quortest::HiveEnv env;
    DWORD disposition = 0;
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyEx(HKEY_CURRENT_USER, "Software\\QuorRecorder", KEY_ALL_ACCESS, &key, &disposition),
              ERROR_SUCCESS);
    EXPECT_EQ(disposition, REG_CREATED_NEW_KEY);
    EXPECT_EQ(SetString(key, "Savepath", "/home/mina/음악"), ERROR_SUCCESS);
    EXPECT_EQ(SetNumber(key, "FileTypeSel", 1), ERROR_SUCCESS);
    EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);

    HKEY again = nullptr;
    ASSERT_EQ(
        RegCreateKeyEx(HKEY_CURRENT_USER, "software\\quorrecorder", KEY_ALL_ACCESS, &again, &disposition),
        ERROR_SUCCESS);
    EXPECT_EQ(disposition, REG_OPENED_EXISTING_KEY);
    RegCloseKey(again);

    auto hive = ParseHiveText(quortest::ReadFile(env.HivePath()));
    ASSERT_TRUE(hive);
    const HiveKey* stored = hive->Find({"Software", "QuorRecorder"});
    ASSERT_NE(stored, nullptr);
    ASSERT_NE(stored->FindValue("Savepath"), nullptr);
    EXPECT_EQ(stored->FindValue("Savepath")->data.size(), std::string("/home/mina/음악").size() + 1);
    EXPECT_EQ(GetString("Software\\QuorRecorder", "SAVEPATH"), "/home/mina/음악");
    // Private to the user: the folders made for it and the file itself.
    using std::filesystem::perms;
    EXPECT_EQ(std::filesystem::status(env.HivePath()).permissions() & perms::all,
              perms::owner_read | perms::owner_write);
    EXPECT_EQ(std::filesystem::status(env.HiveFolder()).permissions() & perms::all, perms::owner_all);
    EXPECT_EQ(std::filesystem::status(env.ConfigHome()).permissions() & perms::all, perms::owner_all);
}

TEST(Registry, QueryReportsTypeAndSizeAndRefusesSmallBuffers) {
    quortest::HiveEnv env;
    HKEY key = CreateKey("Software\\QuorRecorder");
    ASSERT_EQ(SetString(key, "Savepath", "0123456789"), ERROR_SUCCESS);

    DWORD type = 0;
    DWORD size = 0;
    EXPECT_EQ(RegQueryValueEx(key, "Savepath", &type, nullptr, &size), ERROR_SUCCESS);
    EXPECT_EQ(type, REG_SZ);
    EXPECT_EQ(size, 11u);

    char buffer[11];
    std::memset(buffer, 'x', sizeof buffer);
    size = 10;
    EXPECT_EQ(RegQueryValueEx(key, "Savepath", &type, reinterpret_cast<BYTE*>(buffer), &size),
              ERROR_MORE_DATA);
    EXPECT_EQ(size, 11u);
    EXPECT_EQ(buffer[0], 'x'); // never a partial value

    size = 11;
    EXPECT_EQ(RegQueryValueEx(key, "Savepath", &type, reinterpret_cast<BYTE*>(buffer), &size), ERROR_SUCCESS);
    EXPECT_STREQ(buffer, "0123456789");
    EXPECT_EQ(RegQueryValueEx(key, "Nothing", &type, reinterpret_cast<BYTE*>(buffer), &size),
              ERROR_FILE_NOT_FOUND);
    RegCloseKey(key);
}

TEST(Registry, ClosedAndUnknownHandlesAndBadNamesAreRefused) {
    quortest::HiveEnv env;
    HKEY key = CreateKey("Software\\QuorRecorder");
    HKEY sub = nullptr;
    EXPECT_EQ(RegCreateKeyEx(key, "Sub\\Deeper", KEY_ALL_ACCESS, &sub), ERROR_SUCCESS);
    EXPECT_EQ(SetNumber(sub, "n", 5), ERROR_SUCCESS);
    EXPECT_EQ(RegCloseKey(sub), ERROR_SUCCESS);
    EXPECT_EQ(RegCloseKey(sub), ERROR_INVALID_HANDLE);
    EXPECT_EQ(SetNumber(sub, "n", 6), ERROR_INVALID_HANDLE);
    EXPECT_EQ(RegCloseKey(nullptr), ERROR_INVALID_HANDLE);
    EXPECT_EQ(RegCloseKey(HKEY_CURRENT_USER), ERROR_SUCCESS); // the root stays usable
    EXPECT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, "Software\\QuorRecorder\\Sub\\Deeper", KEY_READ, &sub),
              ERROR_SUCCESS);
    RegCloseKey(sub);

    EXPECT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, "Software\\\\QuorRecorder", KEY_READ, &sub),
              ERROR_INVALID_PARAMETER);
    EXPECT_EQ(SetNumber(key, "line\nbreak", 1), ERROR_INVALID_PARAMETER);
    // Deeper than the registry allows, even when reached step by step from an open key.
    std::string half = "k";
    for (size_t level = 1; level < kMaxKeyDepth / 2 + 1; ++level)
        half += "\\k";
    HKEY deep = nullptr;
    ASSERT_EQ(RegCreateKeyEx(HKEY_CURRENT_USER, half, KEY_ALL_ACCESS, &deep), ERROR_SUCCESS);
    EXPECT_EQ(RegCreateKeyEx(deep, half, KEY_ALL_ACCESS, &sub), ERROR_INVALID_PARAMETER);
    RegCloseKey(deep);
    RegCloseKey(key);
}

TEST(Registry, UnparsableHiveReadsEmptyIsKeptAsideAndTheNextWriteStartsAfresh) {
    quortest::HiveEnv env;
    HKEY key = CreateKey("Software\\QuorRecorder");
    for (int i = 0; i < 20; ++i)
        ASSERT_EQ(SetString(key, "Value" + std::to_string(i), std::string(40, 'a' + i)), ERROR_SUCCESS);
    RegCloseKey(key);
    const std::string good = quortest::ReadFile(env.HivePath());

    const unsigned seed = std::random_device{}();
    SCOPED_TRACE("seed " + std::to_string(seed));
    std::mt19937 random(seed);
    for (int round = 0; round < 6; ++round) {
        std::string broken;
        if (round % 2 == 0) {
            broken = good.substr(0, random() % (good.size() - 1)); // cut at a random byte
        } else {
            broken.resize(1 + random() % 2000);
            for (auto& byte : broken)
                byte = static_cast<char>(random());
        }
        std::filesystem::remove(env.HivePath());
        quortest::WriteFile(env.HivePath(), broken);

        EXPECT_EQ(GetString("Software\\QuorRecorder", "Value1"), "<missing>");
        EXPECT_FALSE(std::filesystem::exists(env.HivePath()));
        bool keptAside = false;
        for (const auto& aside : env.FilesNamed(".broken-"))
            keptAside = keptAside || quortest::ReadFile(aside) == broken;
        EXPECT_TRUE(keptAside) << "round " << round;
        EXPECT_EQ(env.FilesNamed(".broken-").size(), static_cast<size_t>(round + 1)); // none replaced

        HKEY fresh = CreateKey("Software\\QuorRecorder");
        EXPECT_EQ(SetString(fresh, "Savepath", "/fresh"), ERROR_SUCCESS);
        RegCloseKey(fresh);
        EXPECT_EQ(GetString("Software\\QuorRecorder", "Savepath"), "/fresh");
    }
}

TEST(Registry, AWriteToAKeyWhoseHiveWasSetAsideStillLands) {
    quortest::HiveEnv env;
    HKEY key = CreateKey("Software\\QuorRecorder");
    quortest::WriteFile(env.HivePath(), "not a hive");
    EXPECT_EQ(SetNumber(key, "FileTypeSel", 1), ERROR_SUCCESS);
    RegCloseKey(key);
    EXPECT_EQ(env.FilesNamed(".broken-").size(), 1u);
    auto hive = ParseHiveText(quortest::ReadFile(env.HivePath()));
    ASSERT_TRUE(hive);
    ASSERT_NE(hive->Find({"Software", "QuorRecorder"}), nullptr);
}

TEST(Registry, AnOversizedFileOrAPipeIsNotReadAndIsKeptAside) {
    quortest::HiveEnv env;
    HKEY key = CreateKey("Software\\QuorRecorder");
    RegCloseKey(key);
    std::string text = quortest::ReadFile(env.HivePath());
    text.insert(text.rfind("; end"), "; " + std::string(17 * 1024 * 1024, 'x') + "\n");
    ASSERT_TRUE(ParseHiveText(text)); // well-formed, only too large
    quortest::WriteFile(env.HivePath(), text);
    EXPECT_EQ(GetString("Software\\QuorRecorder", "Savepath"), "<missing>");
    EXPECT_EQ(env.FilesNamed(".broken-").size(), 1u);

    // A pipe nobody writes to would block a reader for ever: it is set aside at once as well, and
    // the next write makes a hive again.
    ASSERT_EQ(mkfifo(env.HivePath().c_str(), 0600), 0);
    EXPECT_EQ(GetString("Software\\QuorRecorder", "Savepath"), "<missing>");
    const auto aside = env.FilesNamed(".broken-");
    EXPECT_EQ(
        std::count_if(aside.begin(), aside.end(), [](const auto& f) { return std::filesystem::is_fifo(f); }),
        1);
    key = CreateKey("Software\\QuorRecorder");
    EXPECT_EQ(SetString(key, "Savepath", "/again"), ERROR_SUCCESS);
    RegCloseKey(key);
    EXPECT_EQ(GetString("Software\\QuorRecorder", "Savepath"), "/again");
    EXPECT_TRUE(std::filesystem::is_regular_file(env.HivePath()));
}
