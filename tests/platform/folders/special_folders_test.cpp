// My Music from the XDG user-dirs file, and the other special folders.
#include "platform/folders/SpecialFolders.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace platform;

class SpecialFolders : public ::testing::Test {
protected:
    void WriteUserDirs(const std::string& text) {
        std::filesystem::create_directories(dir_ / "config");
        quortest::WriteFile(dir_ / "config/user-dirs.dirs", text);
    }

    quortest::TempDir dir_{"quorshell"};
    quortest::ScopedEnv home_{"HOME", (dir_ / "home").string()};
    quortest::ScopedEnv config_{"XDG_CONFIG_HOME", (dir_ / "config").string()};
};

TEST_F(SpecialFolders, MyMusicIsTheUsersMusicFolderWithoutAUserDirsFile) {
    EXPECT_EQ(MyMusicFolder(), (dir_ / "home/Music").string());
    EXPECT_FALSE(std::filesystem::exists(dir_ / "home/Music")); // looked up, never created
}

TEST_F(SpecialFolders, MyMusicComesFromXdgMusicDir) {
    WriteUserDirs("# written by xdg-user-dirs-update\n"
                  "XDG_DESKTOP_DIR=\"$HOME/바탕화면\"\n"
                  "XDG_MUSIC_DIR=\"$HOME/음악\"\n");
    EXPECT_EQ(MyMusicFolder(), (dir_ / "home/음악").string());

    WriteUserDirs("XDG_MUSIC_DIR=\"/srv/music/my \\\"best\\\" songs\"\n");
    EXPECT_EQ(MyMusicFolder(), "/srv/music/my \"best\" songs");

    // Commented, relative or broken lines do not count.
    WriteUserDirs("#XDG_MUSIC_DIR=\"/commented\"\nXDG_MUSIC_DIR=\"relative/music\"\nXDG_MUSIC_DIR=\"/open\n");
    EXPECT_EQ(MyMusicFolder(), (dir_ / "home/Music").string());
}

TEST_F(SpecialFolders, ConfigurationFolderFallsBackToDotConfig) {
    EXPECT_EQ(ConfigHomeFolder(), (dir_ / "config").string());
    quortest::ScopedEnv relative("XDG_CONFIG_HOME", "not/absolute");
    EXPECT_EQ(ConfigHomeFolder(), (dir_ / "home/.config").string());
    quortest::ScopedEnv unset("XDG_CONFIG_HOME", std::nullopt);
    EXPECT_EQ(ConfigHomeFolder(), (dir_ / "home/.config").string());
}

TEST_F(SpecialFolders, ProgramFilesIsTheInstallsLibraryFolder) {
    const std::filesystem::path folder = ProgramFilesFolder();
    EXPECT_TRUE(folder.is_absolute()) << folder;
    EXPECT_NE(folder.string().find("lib"), std::string::npos) << folder;
}
