// The watched shell: real starts, noted folders and addresses.
#include "tests/support/gui/WatchedShell.h"

bool WatchedShell::StartDetached(const std::string& program, const std::vector<std::string>& arguments) {
    started.push_back({program, arguments});
    return DesktopShellActions().StartDetached(program, arguments);
}

bool WatchedShell::OpenFolder(const std::string& folder) {
    openedFolders.push_back(folder);
    return true;
}

bool WatchedShell::OpenInBrowser(const QUrl& address) {
    openedAddresses.push_back(address);
    return true;
}
