// Start-up of QuorSplit.
#include "CQuorSplitApp.h"

#include "CQuorSplitDlg.h"
#include "Fonts.h"
#include "MediaQuery.h"
#include "SystemMessageBox.h"

#include <QApplication>

std::string CQuorSplitApp::InputPathFrom(const QStringList& arguments) {
    return arguments.size() > 1 ? arguments.at(1).toStdString() : std::string();
}

int CQuorSplitApp::Run() {
    ui::SetUpFonts();
    ui::InstallPlainMessageBoxHandler();
    // The media library reads file names through the character-type locale; QApplication has
    // just set it from the environment, which may not be UTF-8.
    EnsureUtf8CharacterLocale();
    CQuorSplitDlg dialog;
    dialog.SetInputPath(InputPathFrom(QCoreApplication::arguments()));
    dialog.exec();
    return 0;
}
