#include "ui/WindowSystemImages.h"

#include <QByteArray>
#include <QtGlobal>

namespace ui {

void SendWindowImagesThroughTheConnection() {
    if (!qEnvironmentVariableIsSet("QT_XCB_NO_MITSHM"))
        qputenv("QT_XCB_NO_MITSHM", QByteArray("1"));
}

} // namespace ui
