// Start-up of QuorSplit.
#include "splitter/window/CQuorSplitApp.h"

#include "splitter/media/MediaQuery.h"
#include "splitter/window/CQuorSplitDlg.h"
#include "ui/FontWarmUp.h"
#include "ui/Fonts.h"
#include "ui/MainWindowRun.h"
#include "ui/SystemMessageBox.h"
#include "ui/TerminationSignals.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>

std::string CQuorSplitApp::InputPathFrom(const QStringList& arguments) {
    return arguments.size() > 1 ? arguments.at(1).toStdString() : std::string();
}

int CQuorSplitApp::Run() {
    ui::SetUpFonts();
    ui::InstallPlainMessageBoxHandler();
    // The media library reads file names through the character-type locale; QApplication has
    // just set it from the environment, which may not be UTF-8.
    EnsureUtf8CharacterLocale();
    // The file dialogs speak Korean like the rest of the program, where Qt's translations are
    // installed (qt6-translations-l10n); otherwise they stay in English.
    QTranslator qtKorean;
    if (qtKorean.load("qtbase_ko", QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(&qtKorean);
    ui::FontWarmUp::WaitUntilRead(); // the window lays out text as it is built
    CQuorSplitDlg dialog;
    dialog.SetInputPath(InputPathFrom(QCoreApplication::arguments()));
    // Log-out or shut-down during a cut: the converter is ended and its file removed.
    TerminationSignals closeOnSignal(&dialog, [&dialog] { dialog.OnTerminationSignal(); });
    ui::RunMainWindow(dialog);
    return 0;
}
