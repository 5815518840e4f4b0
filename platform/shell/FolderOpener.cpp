// Folders open through the desktop's URL handler (xdg-open behind QDesktopServices).
#include "platform/shell/FolderOpener.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QUrl>

namespace platform {

bool OpenFolder(const std::string& folder) {
    const QString path = QString::fromStdString(folder);
    if (!QFileInfo(path).isDir())
        return false;
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

} // namespace platform
