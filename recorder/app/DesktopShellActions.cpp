// The main window's shell actions on the real desktop.
#include "IShellActions.h"

#include "shell/FolderOpener.h"
#include "shell/ProgramLauncher.h"

bool DesktopShellActions::StartDetached(const std::string& program,
                                        const std::vector<std::string>& arguments) {
    return platform::StartDetached(program, arguments);
}

bool DesktopShellActions::OpenFolder(const std::string& folder) {
    return platform::OpenFolder(folder);
}
