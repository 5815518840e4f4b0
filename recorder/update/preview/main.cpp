// quor_update_preview --about | --popup: one of the update windows on its own. The popup loads
// its page from the web host (QUOR_WEB_BASE_URL points it at a local server).
#include "recorder/update/CHelpDlg.h"
#include "recorder/update/CInfoPopupDlg.h"
#include "ui/Fonts.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    ui::SetUpFonts();
    if (app.arguments().contains(QStringLiteral("--popup"))) {
        QWidget owner; // stands in for the main window, not shown
        CInfoPopupDlg popup(&owner);
        popup.show();
        return app.exec();
    }
    CHelpDlg about;
    return about.exec();
}
