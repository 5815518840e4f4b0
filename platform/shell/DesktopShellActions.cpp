// The windows' shell actions on the real desktop.
#include "platform/shell/IShellActions.h"

#include "platform/shell/FolderOpener.h"
#include "platform/shell/ProgramLauncher.h"

bool DesktopShellActions::StartDetached(const std::string& program,
                                        const std::vector<std::string>& arguments) {
    return platform::StartDetached(program, arguments);
}

bool DesktopShellActions::OpenFolder(const std::string& folder) {
    return platform::OpenFolder(folder);
}

bool DesktopShellActions::OpenInBrowser(const QUrl& address) {
    return platform::OpenInBrowser(address);
}
