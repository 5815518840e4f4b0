// QuorSplit: cuts a range of an MP3 through the converter.
#include "platform/pulse/SoundClientIdentity.h"
#include "splitter/window/CQuorSplitApp.h"
#include "ui/DisplayPlatform.h"
#include "ui/FontWarmUp.h"
#include "ui/WindowSystemImages.h"

#include <QApplication>

int main(int argc, char** argv) {
    const ui::FontWarmUp fonts;
    platform::SetSoundClientIdentity({"QuorSplit", "kr.quortools.QuorSplit", "kr.quortools.QuorSplit"});
    ui::PreferX11OnWayland();
    ui::SendWindowImagesThroughTheConnection();
    QApplication app(argc, argv);
    QApplication::setApplicationName("QuorSplit"); // WM_CLASS, as the menu entry's StartupWMClass
    QGuiApplication::setDesktopFileName("kr.quortools.QuorSplit");
    return CQuorSplitApp().Run();
}
