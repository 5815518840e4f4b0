// Program start and wait through QProcess; the child's output goes where ours goes.
#include "shell/ProgramRunner.h"

#include <QFileInfo>
#include <QProcess>
#include <QStringList>

namespace platform {

bool RunAndWait(const std::string& program, const std::vector<std::string>& arguments) {
    const QString path = QString::fromStdString(program);
    const QFileInfo info(path);
    if (!info.isFile() || !info.isExecutable())
        return false;
    QStringList list;
    for (const std::string& argument : arguments)
        list << QString::fromStdString(argument);
    QProcess process;
    process.setProcessChannelMode(QProcess::ForwardedChannels);
    process.start(path, list);
    if (!process.waitForStarted(-1))
        return false;
    process.waitForFinished(-1);
    return true;
}

} // namespace platform
