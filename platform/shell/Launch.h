// Starting other programs and opening addresses with the desktop's handlers. No shell is involved:
// arguments go to the program as a list. GUI thread.
#pragma once

#include <QString>
#include <QStringList>
#include <QUrl>

namespace platform {

// Starts `program` with `args` in `workingDir` and does not wait for it. False when it could not
// be started (missing, not executable).
bool StartDetached(const QString& program, const QStringList& args, const QString& workingDir);

// Opens the address in the desktop's web browser (its handler for the scheme). False when the
// desktop has none.
bool OpenInBrowser(const QUrl& url);

} // namespace platform
