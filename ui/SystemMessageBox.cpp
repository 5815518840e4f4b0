// QMessageBox behind the plain message box hook.
#include "ui/SystemMessageBox.h"

#include "platform/dialogs/PlainMessageBox.h"

#include <QApplication>
#include <QMessageBox>
#include <QThread>

#include <cstdio>

namespace ui {

namespace {
QString& ProgramCaption() {
    static QString caption;
    return caption;
}
} // namespace

void SetSystemMessageBoxCaption(const QString& caption) {
    ProgramCaption() = caption;
}

void ShowSystemMessageBox(QWidget* parent, const QString& text, const QString& caption, bool error) {
    QString title = caption;
    if (title.isEmpty())
        title = ProgramCaption().isEmpty() ? QCoreApplication::applicationName() : ProgramCaption();
    QMessageBox box(error ? QMessageBox::Critical : QMessageBox::NoIcon, title, text, QMessageBox::Ok,
                    parent);
    box.setTextFormat(Qt::PlainText); // file names are text, never markup
    box.exec();
}

void InstallPlainMessageBoxHandler() {
    platform::SetPlainMessageBoxHandler(
        [](const std::string& text, const std::string& caption, platform::MessageBoxIcon icon) {
            QCoreApplication* app = QCoreApplication::instance();
            const QString qtext = QString::fromStdString(text);
            const QString qcaption = QString::fromStdString(caption);
            const bool error = icon == platform::MessageBoxIcon::Error;
            auto show = [=] { ShowSystemMessageBox(QApplication::activeWindow(), qtext, qcaption, error); };
            if (!app) {
                std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
            } else if (QThread::currentThread() == app->thread()) {
                show();
            } else {
                QMetaObject::invokeMethod(app, show, Qt::BlockingQueuedConnection);
            }
        });
}

} // namespace ui
