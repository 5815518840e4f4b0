// Program launching through QProcess and addresses through QDesktopServices.
#include "shell/Launch.h"

#include <QDesktopServices>
#include <QProcess>

namespace platform {

bool StartDetached(const QString& program, const QStringList& args, const QString& workingDir) {
    return QProcess::startDetached(program, args, workingDir);
}

bool OpenInBrowser(const QUrl& url) {
    return QDesktopServices::openUrl(url);
}

} // namespace platform
