// CRegistry's bookkeeping and the settings store when the hive refuses or cannot be reached.
#include "platform/registry/CRegistry.h"
#include "recorder/settings/RecorderSettings.h"
#include "recorder/settings/SettingsValues.h"
#include "tests/recorder/settings/ScriptedHive.h"
#include "tests/support/HiveEnv.h"

#include <gtest/gtest.h>

using namespace platform;

TEST(RegistryFailures, AccessDeniedEverywhereGivesDefaultsAndWritesNothing) {
    quortest::HiveEnv env;
    ScopedScriptedHive scripted;
    scripted.hive->readStatus = ERROR_ACCESS_DENIED;
    scripted.hive->writeStatus = ERROR_ACCESS_DENIED;

    RecorderSettings s;
    s.Load();
    EXPECT_EQ(s.savePath, (env.Home() / "Music").string());
    EXPECT_EQ(s.autoFileName, 1);
    EXPECT_EQ(s.topmost, 1);
    EXPECT_EQ(s.bitRate, 320);
    s.Save();
    EXPECT_TRUE(scripted.hive->hive.root.subkeys.empty());

    CRegistry reg;
    EXPECT_EQ(reg.KeyExists(HKEY_CURRENT_USER, kSettingsKey), 0);
    EXPECT_EQ(reg.LastStatus(), ERROR_ACCESS_DENIED);
    EXPECT_EQ(reg.Open(HKEY_CURRENT_USER, kSettingsKey, 1), 0);
    EXPECT_EQ(reg.KeyHandle(), nullptr);
    EXPECT_EQ(reg.WriteDWORD("FileTypeSel", 1), 0); // no key open: refused, nothing crashes
    EXPECT_EQ(reg.LastStatus(), ERROR_INVALID_HANDLE);
}

TEST(RegistryFailures, ReadsSucceedWhileWritesAreDeniedAndTheRecordKeepsTheUnsavedChoice) {
    quortest::HiveEnv env;
    ScopedScriptedHive scripted;
    scripted.hive->hive.Create({"Software", "QuorRecorder"}).SetValue("FileTypeSel", REG_DWORD, {1, 0, 0, 0});
    scripted.hive->writeStatus = ERROR_ACCESS_DENIED;
    RecorderSettings s;
    s.Load();
    s.fileType = 0;
    EXPECT_FALSE(s.Save());
    EXPECT_EQ(s.saveFailure, ERROR_ACCESS_DENIED) << "the first refusal says why";
    int32_t stored = 0;
    ReadFileTypeSel(stored);
    EXPECT_EQ(stored, 1) << "the store still holds the old value";
    s.Load();
    EXPECT_EQ(s.fileType, 0) << "the running program keeps the choice";

    // Once the store takes the values again, it is the one read.
    scripted.hive->writeStatus = ERROR_SUCCESS;
    s.fileType = 1;
    EXPECT_TRUE(s.Save());
    scripted.hive->hive.Create({"Software", "QuorRecorder"}).SetValue("FileTypeSel", REG_DWORD, {0, 0, 0, 0});
    s.Load();
    EXPECT_EQ(s.fileType, 0);
}

TEST(RegistryFailures, SaveWritesTheValuesInTheirOrderAndLoadReadsTheKeyOnce) {
    quortest::HiveEnv env;
    ScopedScriptedHive scripted;
    RecorderSettings s;
    s.Save();
    EXPECT_EQ(scripted.hive->Names("set "),
              (std::vector<std::string>{"Savepath", "Autofilename", "CkTopmost", "CkSysSoundOff",
                                        "CkAutoStop", "CkTagOpen", "FileSettingSel", "FileTypeSel"}));
    // Only the first write creates the key; every write opens it first.
    EXPECT_EQ(std::count(scripted.hive->calls.begin(), scripted.hive->calls.end(), "create"), 1);

    // Load reads the key once, whatever it holds, and writes nothing.
    scripted.hive->calls.clear();
    s.Load();
    EXPECT_EQ(scripted.hive->calls, (std::vector<std::string>{"open", "open", "list"}));
}

TEST(RegistryFailures, CRegistryRecordsStatusTypeAndSize) {
    quortest::HiveEnv env;
    CRegistry reg;
    EXPECT_EQ(reg.KeyHandle(), HKEY_CURRENT_USER);
    EXPECT_EQ(reg.KeyExists(HKEY_CURRENT_USER, kSettingsKey), 0);
    EXPECT_EQ(reg.LastStatus(), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(reg.Open(HKEY_CURRENT_USER, kSettingsKey, 0), 0);
    EXPECT_EQ(reg.GetKeyPath(), kSettingsKey);
    EXPECT_EQ(reg.Open(HKEY_CURRENT_USER, kSettingsKey, 1), 1);
    EXPECT_NE(reg.KeyHandle(), nullptr);

    EXPECT_EQ(reg.WriteString("Savepath", "/음악"), 1);
    EXPECT_EQ(reg.LastType(), REG_SZ);
    EXPECT_EQ(reg.LastSize(), 8u); // UTF-8 bytes and the null
    EXPECT_EQ(reg.WriteDWORD("FileTypeSel", 2), 1);
    EXPECT_EQ(reg.LastType(), REG_DWORD);
    EXPECT_EQ(reg.LastSize(), 4u);

    // ReadString's 200-byte buffer: 199 bytes and the null fit, one more does not.
    std::string out = "untouched";
    ASSERT_EQ(reg.WriteString("Fits", std::string(199, 'f')), 1);
    ASSERT_EQ(reg.WriteString("TooLong", std::string(200, 't')), 1);
    EXPECT_EQ(reg.ReadString("TooLong", out), 0);
    EXPECT_EQ(reg.LastStatus(), ERROR_MORE_DATA);
    EXPECT_EQ(out, "untouched");
    EXPECT_EQ(reg.ReadString("Fits", out), 1);
    EXPECT_EQ(out, std::string(199, 'f'));
    EXPECT_EQ(reg.ReadString("TooLong", out, CRegistry::kPathBufferBytes), 1);
    EXPECT_EQ(out, std::string(200, 't'));

    DWORD number = 99;
    EXPECT_EQ(reg.ReadDWORD("Missing", number), 0);
    EXPECT_EQ(reg.LastStatus(), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(number, 99u);

    EXPECT_EQ(reg.Close(), 1);
    EXPECT_EQ(reg.KeyHandle(), nullptr);
    EXPECT_EQ(reg.Close(), 1);
}
