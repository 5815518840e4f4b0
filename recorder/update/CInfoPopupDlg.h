// The information popup shown beside the main window at start-up: the maker's news page, a
// close button and a check box to decline the popup from now on. Modeless; the page loads in the
// background, so showing the popup never waits on the network. GUI thread.
#pragma once

#include <QDialog>
#include <QPoint>
#include <QRect>

class QCheckBox;
class QTextBrowser;

namespace CInfoPopupDlgIds {
constexpr int IDD_INFOPOPUP = 103;
constexpr int IDC_BTN_CLOSE = 1056;
constexpr int IDC_CHK_DONT_OPEN = 1057;
constexpr int IDC_STATIC_DONT_OPEN = 1058;
constexpr int IDC_INFO_VIEW = 2000;
} // namespace CInfoPopupDlgIds

class CInfoPopupDlg : public QDialog {
    Q_OBJECT
public:
    // `parent` is the main window; the page request starts at once.
    explicit CInfoPopupDlg(QWidget* parent);

    // Top-left corner on a screen of that geometry: just right of a centred main window,
    // vertically centred ((W / 2 + 175, H / 2 - 220) on a screen at the origin).
    static QPoint PositionOnScreen(const QRect& screen);

    // Texts shown in the page view before the page arrives and when it cannot.
    static QString LoadingText();
    static QString UnavailableText();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void OnClose();
    void ShowPage(bool ok, const QByteArray& body);
    void ShowNotice(const QString& text);
    void OpenLink(const QUrl& link);

    QCheckBox* m_DontOpen;
    QTextBrowser* m_View;
};
