// Starting other programs and opening addresses as the desktop shell would: programs found on
// PATH (or by path) and started detached with an argument list, never through a shell, so no
// argument is ever re-parsed; addresses through the desktop's handler. GUI thread.
#pragma once

#include <QString>
#include <QStringList>
#include <QUrl>

#include <string>
#include <vector>

namespace platform {

// The full path of an executable program: `name` itself when it holds a '/', else its place on
// PATH. Empty when there is none.
std::string FindProgram(const std::string& name);

// Starts the program detached from this process (in workingDir when given); false when it could
// not be started (missing, not executable).
bool StartDetached(const QString& program, const QStringList& arguments, const QString& workingDir = {});
bool StartDetached(const std::string& program, const std::vector<std::string>& arguments);

// Opens the address in the desktop's handler for its scheme (the web browser for http/https).
// False when the desktop has none.
bool OpenInBrowser(const QUrl& url);

} // namespace platform
