// What the programs' windows ask of the desktop shell: start a program detached, open a folder,
// open an address in the browser. A window holds one of these so that tests can watch what it
// asks for. GUI thread.
#pragma once

#include <string>
#include <vector>

class QUrl;

class IShellActions {
public:
    virtual ~IShellActions() = default;
    virtual bool StartDetached(const std::string& program, const std::vector<std::string>& arguments) = 0;
    virtual bool OpenFolder(const std::string& folder) = 0;
    virtual bool OpenInBrowser(const QUrl& address) = 0;
};

// The real desktop: platform/shell.
class DesktopShellActions : public IShellActions {
public:
    bool StartDetached(const std::string& program, const std::vector<std::string>& arguments) override;
    bool OpenFolder(const std::string& folder) override;
    bool OpenInBrowser(const QUrl& address) override;
};
