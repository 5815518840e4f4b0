// What the main window asks of the desktop shell: start a program detached, open a folder.
// The window holds one of these so that tests can watch what it starts.
#pragma once

#include <string>
#include <vector>

class IShellActions {
public:
    virtual ~IShellActions() = default;
    virtual bool StartDetached(const std::string& program, const std::vector<std::string>& arguments) = 0;
    virtual bool OpenFolder(const std::string& folder) = 0;
};

// The real desktop: platform/shell.
class DesktopShellActions : public IShellActions {
public:
    bool StartDetached(const std::string& program, const std::vector<std::string>& arguments) override;
    bool OpenFolder(const std::string& folder) override;
};
