// X11 through XWayland where a Wayland session offers it.
#include "ui/DisplayPlatform.h"

#include <QByteArray>
#include <QtGlobal>

namespace ui {

void PreferX11OnWayland() {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM") && !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") &&
        !qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", QByteArray("xcb"));
}

} // namespace ui
