// A shell for window tests: starts programs for real (so a test program can report its
// arguments) and keeps a list of them; folders and addresses are only noted, nothing opens.
#pragma once

#include "platform/shell/IShellActions.h"

#include <QUrl>

#include <string>
#include <vector>

class WatchedShell : public IShellActions {
public:
    struct Call {
        std::string program;
        std::vector<std::string> arguments;
    };
    bool StartDetached(const std::string& program, const std::vector<std::string>& arguments) override;
    bool OpenFolder(const std::string& folder) override;
    bool OpenInBrowser(const QUrl& address) override;

    std::vector<Call> started;
    std::vector<std::string> openedFolders;
    std::vector<QUrl> openedAddresses;
};
