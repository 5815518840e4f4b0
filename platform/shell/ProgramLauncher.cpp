// Program lookup and detached start through QProcess; addresses through QDesktopServices.
#include "platform/shell/ProgramLauncher.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

namespace platform {

std::string FindProgram(const std::string& name) {
    const QString program = QString::fromStdString(name);
    if (program.contains('/')) {
        QFileInfo info(program);
        return info.isFile() && info.isExecutable() ? name : std::string();
    }
    return QStandardPaths::findExecutable(program).toStdString();
}

bool StartDetached(const QString& program, const QStringList& arguments, const QString& workingDir) {
    return QProcess::startDetached(program, arguments, workingDir);
}

bool StartDetached(const std::string& program, const std::vector<std::string>& arguments) {
    QStringList list;
    for (const std::string& argument : arguments)
        list << QString::fromStdString(argument);
    return StartDetached(QString::fromStdString(program), list);
}

bool OpenInBrowser(const QUrl& url) {
    return QDesktopServices::openUrl(url);
}

} // namespace platform
