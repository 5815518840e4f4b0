// Finding and running the updater; it lies outside this system, only its place is fixed.
#include "recorder/app/UpdaterLaunch.h"

#include "platform/registry/CRegistry.h"
#include "platform/shell/ProgramRunner.h"
#include "recorder/settings/SettingsValues.h"

#include <filesystem>

std::string FindUpdaterProgram() {
    CRegistry registry;
    if (!registry.Open(platform::HKEY_CURRENT_USER, kQuortoolsKey))
        return {};
    std::string installDir;
    if (!registry.ReadString("Install_dir", installDir, CRegistry::kPathBufferBytes))
        return {};
    const std::string program = installDir + "/QuorToolUpdate";
    std::error_code error;
    return std::filesystem::is_regular_file(program, error) ? program : std::string();
}

bool RunUpdaterIfInstalled(const std::string& commandLine) {
    const std::string program = FindUpdaterProgram();
    if (program.empty())
        return false;
    // The updater may replace our files: the recorder starts only after it has ended.
    return platform::RunAndWait(program, {commandLine});
}
