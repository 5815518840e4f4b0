// The About box: what the program does, a button to the help page on the maker's web site, and a
// close button, on a skinned frameless window that the user drags by its body.
#pragma once

#include <QDialog>

class CHoverButton;

namespace CHelpDlgIds {
constexpr int IDD_HELP = 139;
constexpr int IDC_BTN_CLOSE = 1017;
constexpr int IDC_BTN_HOMEPAGE = 1018;
constexpr int IDC_STATIC_DESCRIPTION = -1; // static texts without an id of their own
constexpr int IDC_STATIC_RIGHTS = -1;
} // namespace CHelpDlgIds

class CHelpDlg : public QDialog {
    Q_OBJECT
public:
    explicit CHelpDlg(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void OnHomepage();

    CHoverButton* m_Close;
};
