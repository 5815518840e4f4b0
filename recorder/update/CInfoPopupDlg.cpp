// Layout, page loading and the close command of the information popup.
#include "recorder/update/CInfoPopupDlg.h"

#include "platform/net/NetHosts.h"
#include "platform/net/PageFetch.h"
#include "platform/shell/ProgramLauncher.h"
#include "recorder/settings/RecorderSettings.h"
#include "recorder/update/FlatCheckBox.h"
#include "recorder/update/UpdateEndpoints.h"
#include "ui/CHoverButton.h"
#include "ui/ControlId.h"
#include "ui/Fonts.h"
#include "ui/RecorderBitmaps.h"
#include "ui/Skin.h"
#include "ui/WindowDragger.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPainter>
#include <QScreen>
#include <QStringDecoder>
#include <QTextBrowser>
#include <QTextDocument>

using namespace CInfoPopupDlgIds;

namespace {
constexpr QSize kPopupSize(330, 440);
constexpr QRgb kFrame = 0x1C1C1C;     // RGB(28, 28, 28)
constexpr QRgb kLabelText = 0x787878; // RGB(120, 120, 120)
constexpr qint64 kPageBytes = 2 * 1024 * 1024;
constexpr int kPageTimeoutMs = 15000; // in the background: the popup stays usable meanwhile

// The page in the character set it declares (UTF-8 when it declares none this build can read).
QString DecodePage(const QByteArray& body) {
    QStringDecoder decoder = QStringDecoder::decoderForHtml(body);
    if (!decoder.isValid())
        decoder = QStringDecoder(QStringDecoder::Utf8);
    return decoder.decode(body);
}
} // namespace

CInfoPopupDlg::CInfoPopupDlg(QWidget* parent) : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint) {
    setObjectName(QStringLiteral("IDD_INFOPOPUP"));
    setWindowTitle(QStringLiteral("쿠오르녹음기 안내"));
    setModal(false);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFixedSize(kPopupSize);
    const QScreen* screen = parent && parent->screen() ? parent->screen() : QGuiApplication::primaryScreen();
    move(PositionOnScreen(screen->geometry()));

    auto* close = new CHoverButton(this);
    QUOR_SET_ID(close, IDC_BTN_CLOSE);
    close->setText(QStringLiteral("x"));
    close->setAccessibleName(QStringLiteral("닫기"));
    close->LoadBitmap(SkinSet::Recorder, RecorderBitmap::IDB_POPUP_CLOSE, 3);
    close->setGeometry(305, 7, 19, 19);
    connect(close, &QAbstractButton::clicked, this, &CInfoPopupDlg::OnClose);

    m_DontOpen = new FlatCheckBox(this);
    QUOR_SET_ID(m_DontOpen, IDC_CHK_DONT_OPEN);
    m_DontOpen->setGeometry(100, 417, 13, 13);

    auto* label = new QLabel(QStringLiteral("다시 이 창을 열지않음"), this);
    QUOR_SET_ID(label, IDC_STATIC_DONT_OPEN);
    label->setFont(ui::CellHeightFont(QStringLiteral("돋움"), 12));
    QPalette words = label->palette();
    words.setColor(QPalette::WindowText, QColor(kLabelText));
    label->setPalette(words);
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    label->setGeometry(117, 416, 150, 10);
    m_DontOpen->setAccessibleName(label->text());
    label->setAttribute(Qt::WA_TransparentForMouseEvents);

    m_View = new QTextBrowser(this);
    QUOR_SET_ID(m_View, IDC_INFO_VIEW);
    m_View->setGeometry(QRect(QPoint(1, 62), QPoint(327, 409))); // (1, 62)-(328, 410), right/bottom open
    m_View->setFrameShape(QFrame::NoFrame);
    m_View->document()->setDocumentMargin(10);
    m_View->setOpenLinks(false);
    connect(m_View, &QTextBrowser::anchorClicked, this, &CInfoPopupDlg::OpenLink);
    ShowNotice(LoadingText());

    new WindowDragger(this);

    platform::TransferLimits limits;
    limits.timeoutMs = kPageTimeoutMs;
    limits.maxBytes = kPageBytes;
    platform::FetchPage(
        platform::WebSiteUrl(QLatin1String(UpdateEndpoints::kInfoPage)), this,
        [this](bool ok, const QByteArray& body) { ShowPage(ok, body); }, limits);
}

QPoint CInfoPopupDlg::PositionOnScreen(const QRect& screen) {
    return screen.topLeft() + QPoint(screen.width() / 2 + 175, screen.height() / 2 - 220);
}

QString CInfoPopupDlg::LoadingText() {
    return QStringLiteral("안내 페이지를 불러오는 중입니다…");
}

QString CInfoPopupDlg::UnavailableText() {
    return QStringLiteral("인터넷에 연결할 수 없어\n안내 페이지를 표시하지 못했습니다.");
}

void CInfoPopupDlg::ShowNotice(const QString& text) {
    const QString lines = text.toHtmlEscaped().replace(QLatin1Char('\n'), QLatin1String("<br>"));
    m_View->setHtml(QStringLiteral("<p align=\"center\" style=\"color:#787878;\">%1</p>").arg(lines));
}

void CInfoPopupDlg::ShowPage(bool ok, const QByteArray& body) {
    if (!ok) {
        ShowNotice(UnavailableText());
        return;
    }
    m_View->setHtml(DecodePage(body));
}

void CInfoPopupDlg::OpenLink(const QUrl& link) {
    const QUrl page = platform::WebSiteUrl(QLatin1String(UpdateEndpoints::kInfoPage));
    const QUrl target = page.resolved(link);
    if (target.scheme() == QLatin1String("https") || target.scheme() == QLatin1String("http"))
        platform::OpenInBrowser(target);
}

void CInfoPopupDlg::OnClose() {
    TheRecorderSettings().SaveInfoOpen(m_DontOpen->isChecked() ? 1 : 0);
    accept();
}

void CInfoPopupDlg::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    painter.drawPixmap(0, 0, Skin::Bitmap(SkinSet::Recorder, RecorderBitmap::IDB_POPUP_HEADER));
    painter.drawPixmap(0, 410, Skin::Bitmap(SkinSet::Recorder, RecorderBitmap::IDB_POPUP_FOOTER));
    painter.setPen(QColor(kFrame));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}
