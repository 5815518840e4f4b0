// A private configuration and home folder for one test: the registry hive and My Music live in it.
#pragma once

#include "tests/support/TempDir.h"

#include <filesystem>
#include <string>
#include <vector>

namespace quortest {

class HiveEnv {
public:
    HiveEnv()
        : dir_("quorhive"), config_("XDG_CONFIG_HOME", (dir_ / "config").string()),
          home_("HOME", (dir_ / "home").string()) {}

    std::filesystem::path ConfigHome() const { return dir_ / "config"; }
    std::filesystem::path Home() const { return dir_ / "home"; }
    std::filesystem::path HiveFolder() const { return ConfigHome() / "QuorTools"; }
    std::filesystem::path HivePath() const { return HiveFolder() / "HKEY_CURRENT_USER.reg"; }

    // Files of the hive folder whose names contain `part` (".broken-", ".tmp-").
    std::vector<std::filesystem::path> FilesNamed(const std::string& part) const {
        std::vector<std::filesystem::path> found;
        std::error_code ec;
        for (const auto& entry : std::filesystem::directory_iterator(HiveFolder(), ec)) {
            if (entry.path().filename().string().find(part) != std::string::npos)
                found.push_back(entry.path());
        }
        return found;
    }

private:
    TempDir dir_;
    ScopedEnv config_;
    ScopedEnv home_;
};

} // namespace quortest
