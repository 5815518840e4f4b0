// The settings record against the real hive file: defaults, stored oddities, what Save writes.
#include "platform/registry/CRegistry.h"
#include "platform/registry/HiveText.h"
#include "recorder/settings/RecorderSettings.h"
#include "recorder/settings/SettingsValues.h"
#include "tests/support/HiveEnv.h"

#include <gtest/gtest.h>

#include <random>

using namespace platform;

namespace {

void StoreDword(const std::string& name, DWORD value) {
    CRegistry reg;
    ASSERT_TRUE(reg.Open(HKEY_CURRENT_USER, kSettingsKey, 1));
    ASSERT_TRUE(reg.WriteDWORD(name, value));
}

void StoreString(const std::string& name, const std::string& text) {
    CRegistry reg;
    ASSERT_TRUE(reg.Open(HKEY_CURRENT_USER, kSettingsKey, 1));
    ASSERT_TRUE(reg.WriteString(name, text));
}

bool SettingsKeyExists() {
    CRegistry reg;
    return reg.KeyExists(HKEY_CURRENT_USER, kSettingsKey) == 1;
}

} // namespace

TEST(RecorderSettings, WithoutTheKeyLoadGivesTheDefaultsAndCreatesNothing) {
    quortest::HiveEnv env;
    RecorderSettings s;
    s.Load();
    EXPECT_EQ(s.savePath, (env.Home() / "Music").string());
    EXPECT_EQ(s.fileType, 0);
    EXPECT_EQ(s.fileSetting, 0);
    EXPECT_EQ(s.sampleRate, 44100);
    EXPECT_EQ(s.bitRate, 320);
    EXPECT_EQ(s.autoFileName, 1);
    EXPECT_EQ(s.topmost, 1);
    EXPECT_EQ(s.sysSoundOff, 0);
    EXPECT_EQ(s.autoStop, 0);
    EXPECT_EQ(s.tagOpen, 0);
    EXPECT_EQ(s.mp3Id3v1, 0);
    EXPECT_EQ(s.bitsPerSample, 16);
    EXPECT_EQ(s.channels, 2);
    EXPECT_EQ(s.LoadInfoOpen(), 0);
    std::string installDir;
    ReadInstallDir(installDir);
    EXPECT_EQ(installDir, DefaultInstallDir());
    EXPECT_TRUE(installDir.ends_with("/QuorRecorder"));

    EXPECT_FALSE(SettingsKeyExists());
    EXPECT_FALSE(std::filesystem::exists(env.ConfigHome())); // no hive, no lock file, no folder
    EXPECT_FALSE(std::filesystem::exists(env.Home() / "Music"));
}

TEST(RecorderSettings, MyMusicDefaultFollowsTheUserDirsFile) {
    quortest::HiveEnv env;
    std::filesystem::create_directories(env.ConfigHome());
    quortest::WriteFile(env.ConfigHome() / "user-dirs.dirs", "XDG_MUSIC_DIR=\"$HOME/음악\"\n");
    RecorderSettings s;
    s.Load();
    EXPECT_EQ(s.savePath, (env.Home() / "음악").string());
}

TEST(RecorderSettings, TheFirstWriteCreatesTheKey) {
    quortest::HiveEnv env;
    WriteCkInfoOpen(1);
    EXPECT_TRUE(SettingsKeyExists());
    EXPECT_EQ(ReadCkInfoOpen(0), 1);
}

TEST(RecorderSettings, SaveThenLoadKeepsEveryValue) {
    quortest::HiveEnv env;
    RecorderSettings saved;
    saved.savePath = "/home/mina/음악/\"녹음\"\\2026";
    saved.fileType = 1;
    saved.fileSetting = 3;
    saved.autoFileName = 0;
    saved.topmost = 0;
    saved.sysSoundOff = 1;
    saved.autoStop = 1;
    saved.tagOpen = 1;
    saved.Save();

    RecorderSettings loaded;
    loaded.Load();
    EXPECT_EQ(loaded.savePath, saved.savePath);
    EXPECT_EQ(loaded.fileType, 1);
    EXPECT_EQ(loaded.fileSetting, 3);
    EXPECT_EQ(loaded.sampleRate, 22050);
    EXPECT_EQ(loaded.bitRate, 88);
    EXPECT_EQ(loaded.autoFileName, 0);
    EXPECT_EQ(loaded.topmost, 0);
    EXPECT_EQ(loaded.sysSoundOff, 1);
    EXPECT_EQ(loaded.autoStop, 1);
    EXPECT_EQ(loaded.tagOpen, 1);
}

TEST(RecorderSettings, SaveLeavesTheId3AndInformationChoicesAlone) {
    quortest::HiveEnv env;
    WriteCkMP3ID3V1(1);
    WriteCkInfoOpen(1);
    RecorderSettings s; // mp3Id3v1 and infoOpen are 0 in the record
    s.Save();
    EXPECT_EQ(ReadCkMP3ID3V1(0), 1);
    EXPECT_EQ(ReadCkInfoOpen(0), 1);
    s.Load();
    EXPECT_EQ(s.mp3Id3v1, 1);

    s.SaveInfoOpen(0);
    EXPECT_EQ(s.infoOpen, 0);
    EXPECT_EQ(s.LoadInfoOpen(), 0);
}

TEST(RecorderSettings, StoredOdditiesAreTakenAsTheyAre) {
    quortest::HiveEnv env;
    RecorderSettings s;
    s.bitRate = 777; // left from an earlier format

    // WAV with a preset index past its rows: 44100 Hz, the bit rate left as it was.
    StoreDword("FileTypeSel", 1);
    StoreDword("FileSettingSel", 9);
    s.Load();
    EXPECT_EQ(s.fileType, 1);
    EXPECT_EQ(s.fileSetting, 9);
    EXPECT_EQ(s.sampleRate, 44100);
    EXPECT_EQ(s.bitRate, 777);

    // A stored 0xFFFFFFFF is -1: the MP3 fallback row.
    StoreDword("FileTypeSel", 0);
    StoreDword("FileSettingSel", 0xFFFFFFFF);
    s.Load();
    EXPECT_EQ(s.fileSetting, -1);
    EXPECT_EQ(s.sampleRate, 44100);
    EXPECT_EQ(s.bitRate, 192);

    // A type that cannot be recorded (the old OGG, or garbage) is MP3 at its first preset; the
    // store keeps what it holds.
    for (const uint32_t type : {2u, 5u, 0xFFFFFFFFu}) {
        StoreDword("FileTypeSel", type);
        StoreDword("FileSettingSel", 7);
        s.bitsPerSample = 8;
        s.channels = 1;
        s.Load();
        EXPECT_EQ(s.fileType, 0) << type;
        EXPECT_EQ(s.fileSetting, 0) << type;
        EXPECT_EQ(s.sampleRate, 44100) << type;
        EXPECT_EQ(s.bitRate, 320) << type;
        EXPECT_EQ(s.bitsPerSample, 16);
        EXPECT_EQ(s.channels, 2);
        int32_t stored = 0;
        ReadFileTypeSel(stored);
        EXPECT_EQ(stored, static_cast<int32_t>(type));
    }

    // A string where a number belongs: more than 4 bytes fails, the default stays.
    StoreString("CkTopmost", "enabled");
    StoreString("Autofilename", "x"); // 2 bytes: no partial number either
    s.Load();
    EXPECT_EQ(s.topmost, 1);
    EXPECT_EQ(s.autoFileName, 1);
    // Exactly 4 bytes read as a number whatever the type, as stored settings expect.
    StoreString("CkTopmost", "abc");
    EXPECT_EQ(ReadCkTopmost(1), 0x00636261);
}

TEST(RecorderSettings, AStoredSaveFolderThatNamesNoPlaceIsTheMusicFolder) {
    quortest::HiveEnv env;
    const std::string music = (env.Home() / "Music").string();
    RecorderSettings s;
    // Empty, relative or stored as a number: recordings would land wherever the program started.
    for (const char* folder : {"", "Music", "./recordings", "~/Music"}) {
        StoreString("Savepath", folder);
        s.Load();
        EXPECT_EQ(s.savePath, music) << '"' << folder << '"';
    }
    for (DWORD number : {0u, 5u, 0x2F2F2F2Fu}) { // the last one reads as the text "////"
        StoreDword("Savepath", number);
        s.Load();
        EXPECT_EQ(s.savePath, music) << number;
    }
    StoreString("Savepath", "/srv/녹음");
    s.Load();
    EXPECT_EQ(s.savePath, "/srv/녹음");
}

TEST(RecorderSettings, LongSaveFoldersReadBackAndTooLongOnesKeepTheStoredFolder) {
    quortest::HiveEnv env;
    const std::string longFolder = "/home/mina/" + std::string(150, 'a') + "/음악/" + std::string(100, 'b');
    RecorderSettings s;
    s.savePath = longFolder;
    s.Save();
    s.savePath.clear();
    s.Load();
    EXPECT_EQ(s.savePath, longFolder);

    EXPECT_FALSE(WriteSavePath("/" + std::string(PATH_MAX, 'c')));
    s.Load();
    EXPECT_EQ(s.savePath, longFolder);

    // Other strings keep the 200-byte rule: a longer one is not read, the caller's value stays.
    WriteSettingString("upchkdate", std::string(199, '1'));
    std::string date = "before";
    ReadSettingString("upchkdate", date);
    EXPECT_EQ(date, std::string(199, '1'));
    WriteSettingString("upchkdate", std::string(200, '2'));
    ReadSettingString("upchkdate", date);
    EXPECT_EQ(date, std::string(199, '1'));
}

TEST(RecorderSettings, ABrokenHiveLoadsDefaultsAndTheProgramGoesOn) {
    quortest::HiveEnv env;
    RecorderSettings s;
    s.savePath = "/music";
    s.fileType = 1;
    s.Save();
    const std::string good = quortest::ReadFile(env.HivePath());

    const unsigned seed = std::random_device{}();
    SCOPED_TRACE("seed " + std::to_string(seed));
    std::mt19937 random(seed);
    const std::string broken = good.substr(0, 1 + random() % (good.size() - 2));
    quortest::WriteFile(env.HivePath(), broken);

    RecorderSettings loaded;
    loaded.Load();
    EXPECT_EQ(loaded.savePath, (env.Home() / "Music").string());
    EXPECT_EQ(loaded.fileType, 0);
    const auto aside = env.FilesNamed(".broken-");
    ASSERT_EQ(aside.size(), 1u);
    EXPECT_EQ(quortest::ReadFile(aside[0]), broken);

    loaded.savePath = "/again";
    loaded.Save();
    RecorderSettings reloaded;
    reloaded.Load();
    EXPECT_EQ(reloaded.savePath, "/again");
    EXPECT_TRUE(ParseHiveText(quortest::ReadFile(env.HivePath())));
}
