// The splitter's About box: a short description, a button to the help page and a close button.
#pragma once

#include <QDialog>
#include <QUrl>

class CHoverButton;

class IShellActions;

class CSplitAboutDlg : public QDialog {
    Q_OBJECT
public:
    // The help button opens its page through the shell.
    explicit CSplitAboutDlg(IShellActions& shell, QWidget* parent = nullptr);
    // The help page the help button opens.
    static QUrl HelpPage();

protected:
    void paintEvent(QPaintEvent*) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    CHoverButton* m_Close;
};
