// Program lookup and detached start through QProcess.
#include "shell/ProgramLauncher.h"

#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QStringList>

namespace platform {

std::string FindProgram(const std::string& name) {
    const QString program = QString::fromStdString(name);
    if (program.contains('/')) {
        QFileInfo info(program);
        return info.isFile() && info.isExecutable() ? name : std::string();
    }
    return QStandardPaths::findExecutable(program).toStdString();
}

bool StartDetached(const std::string& program, const std::vector<std::string>& arguments) {
    QStringList list;
    for (const std::string& argument : arguments)
        list << QString::fromStdString(argument);
    return QProcess::startDetached(QString::fromStdString(program), list);
}

} // namespace platform
