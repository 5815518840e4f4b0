// Shows the settings dialog on one page with live sound from a private PulseAudio server, for
// looking at it and taking screenshots: settings_dialog_preview file|volume|record [seconds].
// The record page has no visible button; this program opens it directly.
#include "recorder/devices/dialog/CSettingDlg_Volume.h"
#include "recorder/settings/dialog/StarOptionDlg.h"
#include "tests/support/pulse/PulseServer.h"
#include "tests/support/pulse/SignalPlayer.h"
#include "ui/Fonts.h"

#include <QApplication>
#include <QListWidget>
#include <QTimer>

#include <cstdlib>
#include <cstring>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    ui::SetUpFonts();
    quortest::PulseServer server;
    server.WakeSink();
    quortest::SignalPlayer tone(330.0, 0.35);

    const char* page = argc > 1 ? argv[1] : "file";
    StarOptionDlg dialog(&CSettingDlg_Volume::Create, nullptr);
    if (std::strcmp(page, "volume") == 0) {
        dialog.ShowPage(StarOptionDlgIds::IDC_BTN_PAGE_VOLUME);
        auto* lines = dialog.findChild<QListWidget*>(QStringLiteral("IDC_LIST_RECORD_LINES"));
        const auto mix = lines->findItems(QStringLiteral("녹음"), Qt::MatchExactly);
        if (!mix.isEmpty())
            lines->setCurrentItem(mix.front());
    } else if (std::strcmp(page, "record") == 0) {
        dialog.ShowPage(StarOptionDlgIds::IDC_BTN_PAGE_RECORD);
    }
    dialog.show();
    QTimer::singleShot((argc > 2 ? std::atoi(argv[2]) : 5) * 1000, &app, &QApplication::quit);
    return app.exec();
}
