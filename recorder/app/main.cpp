// QuorRecorder: records what the computer plays to MP3 or WAV.
#include "platform/pulse/SoundClientIdentity.h"
#include "recorder/app/CQuorRecorderApp.h"
#include "ui/DisplayPlatform.h"
#include "ui/FontWarmUp.h"
#include "ui/Fonts.h"
#include "ui/SystemMessageBox.h"
#include "ui/WindowSystemImages.h"

#include <QApplication>

#include <clocale>
#include <cstdio>
#include <cstring>
#include <langinfo.h>

namespace {
// File names reach the C library as UTF-8: make its character type agree when the
// environment leaves it at "C".
void UseUtf8CharacterType() {
    const char* codeset = nl_langinfo(CODESET);
    if (!codeset || std::strcmp(codeset, "UTF-8") != 0)
        std::setlocale(LC_CTYPE, "C.UTF-8");
}
} // namespace

int main(int argc, char** argv) {
    const std::string commandLine = CQuorRecorderApp::CommandLineText(argc, argv);
    // Decided before any connection to the window system: a wrong start opens no window, and only
    // someone at a terminal sees how it is started.
    if (!CQuorRecorderApp::RunsWith(commandLine)) {
        std::fputs("QuorRecorder: start it from the menu or with the command quorrecorder "
                   "(the program itself runs only as \"QuorRecorder QuorRecorder\").\n",
                   stderr);
        return 0;
    }

    const ui::FontWarmUp fonts;
    platform::SetSoundClientIdentity(
        {"QuorRecorder", "kr.quortools.QuorRecorder", "kr.quortools.QuorRecorder"});
    ui::PreferX11OnWayland();
    ui::SendWindowImagesThroughTheConnection();
    QApplication application(argc, argv);
    // Before the first window: the class of WM_CLASS is the program's name, as the menu entry's
    // StartupWMClass says, and the desktop file names the window's application on Wayland.
    QApplication::setApplicationName(QStringLiteral("QuorRecorder"));
    QGuiApplication::setDesktopFileName(QStringLiteral("kr.quortools.QuorRecorder"));
    ui::SetSystemMessageBoxCaption(QStringLiteral("쿠오르녹음기 응용 프로그램"));
    UseUtf8CharacterType();
    ui::SetUpFonts();
    ui::InstallPlainMessageBoxHandler();

    CQuorRecorderApp app(commandLine);
    app.InitInstance();
    return 0;
}
