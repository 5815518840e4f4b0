// Finding QuorSplit: the recorder's install folder first, then the folder of the running program.
#include "recorder/app/SplitterLocation.h"

#include "platform/registry/CRegistry.h"
#include "recorder/settings/SettingsValues.h"

#include <filesystem>

namespace {
constexpr const char* kSplitterName = "/QuorSplit";

bool IsFile(const std::string& path) {
    std::error_code error;
    return std::filesystem::is_regular_file(path, error);
}
} // namespace

std::string FindSplitterProgram(const std::string& ownFolder) {
    CRegistry registry;
    if (registry.KeyExists(platform::HKEY_CURRENT_USER, kSettingsKey)) {
        std::string installDir;
        ReadInstallDir(installDir);
        const std::string installed = installDir + kSplitterName;
        if (IsFile(installed))
            return installed;
    }
    const std::string beside = ownFolder + kSplitterName;
    return IsFile(beside) ? beside : std::string();
}

bool IsWavFileName(const std::string& fileName) {
    const size_t at = fileName.find(".wav");
    return at != std::string::npos && at > 0;
}
