// Layout, background and commands of the About box.
#include "recorder/update/CHelpDlg.h"

#include "platform/net/NetHosts.h"
#include "platform/shell/ProgramLauncher.h"
#include "recorder/update/UpdateEndpoints.h"
#include "ui/CHoverButton.h"
#include "ui/CentreOverOwner.h"
#include "ui/ControlId.h"
#include "ui/DialogKeys.h"
#include "ui/Fonts.h"
#include "ui/RecorderBitmaps.h"
#include "ui/Skin.h"
#include "ui/WindowDragger.h"

#include <QLabel>
#include <QPainter>

using namespace CHelpDlgIds;

namespace {
constexpr QSize kBoxSize(356, 226);
constexpr QRgb kFace = 0xECECEC;  // RGB(236, 236, 236)
constexpr QRgb kFrame = 0xB5B5B5; // RGB(181, 181, 181)

QLabel* AddText(QWidget* parent, const QString& text, const QFont& font, const QRect& place) {
    auto* label = new QLabel(text, parent);
    label->setTextFormat(Qt::PlainText);
    label->setFont(font);
    label->setStyleSheet(QStringLiteral("color: #000000; background: transparent;"));
    label->setAttribute(Qt::WA_TransparentForMouseEvents); // the body under it still drags the box
    label->setGeometry(place);
    return label;
}
} // namespace

CHelpDlg::CHelpDlg(QWidget* parent) : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint) {
    setObjectName(QStringLiteral("IDD_HELP"));
    setWindowTitle(QStringLiteral("쿠오르녹음기 정보"));
    setModal(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFixedSize(kBoxSize);

    auto* homepage = new CHoverButton(this);
    QUOR_SET_ID(homepage, IDC_BTN_HOMEPAGE);
    homepage->setText(QStringLiteral("홈페이지"));
    homepage->LoadBitmap(SkinSet::Recorder, RecorderBitmap::IDB_BTN_HOMEPAGE, 3);
    homepage->move(145, 150);
    connect(homepage, &QAbstractButton::clicked, this, &CHelpDlg::OnHomepage);

    m_Close = new CHoverButton(this);
    QUOR_SET_ID(m_Close, IDC_BTN_CLOSE);
    m_Close->setText(QStringLiteral("닫기"));
    m_Close->LoadBitmap(SkinSet::Recorder, RecorderBitmap::IDB_BTN_CLOSE, 3);
    m_Close->setGeometry(322, 3, 22, 22);
    connect(m_Close, &QAbstractButton::clicked, this, &QDialog::reject);

    QLabel* description = AddText(this,
                                  QStringLiteral("쿠오르녹음기는 컴퓨터에서 나는\n"
                                                 "모든 소리를 MP3,WAV파일로\n"
                                                 "녹음하여 주는 프로그램 입니다."),
                                  ui::CellHeightFont(QStringLiteral("돋움"), 15), QRect(145, 62, 200, 66));
    QUOR_SET_ID(description, IDC_STATIC_DESCRIPTION);
    QLabel* rights = AddText(this, QStringLiteral("© Quortools. All rights reserved."),
                             ui::CellHeightFont(QStringLiteral("돋움"), 12), QRect(145, 130, 200, 14));
    QUOR_SET_ID(rights, IDC_STATIC_RIGHTS);

    new WindowDragger(this);
}

void CHelpDlg::showEvent(QShowEvent* event) {
    ui::CentreOverOwner(this);
    QDialog::showEvent(event);
}

void CHelpDlg::keyPressEvent(QKeyEvent* event) {
    // Return closes the box like Escape, unless the homepage button has the focus.
    if (!ui::HandleDialogKey(this, event, m_Close))
        QDialog::keyPressEvent(event);
}

void CHelpDlg::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), QColor(kFace));
    painter.setPen(QColor(kFrame));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    painter.drawPixmap(0, 0, Skin::Bitmap(SkinSet::Recorder, RecorderBitmap::IDB_ABOUT_TITLE));
    painter.drawPixmap(25, 60, Skin::Bitmap(SkinSet::Recorder, RecorderBitmap::IDB_ABOUT_PICTURE));
    painter.drawPixmap(25, 197, Skin::Bitmap(SkinSet::Recorder, RecorderBitmap::IDB_ABOUT_FOOTER));
}

void CHelpDlg::OnHomepage() {
    platform::OpenInBrowser(platform::WebSiteUrl(QLatin1String(UpdateEndpoints::kHelpPage)));
}
