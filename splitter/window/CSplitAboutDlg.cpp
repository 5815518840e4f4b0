// About box: light grey face with a frame, the title, picture and footer bitmaps, two buttons.
#include "splitter/window/CSplitAboutDlg.h"

#include "platform/shell/IShellActions.h"
#include "splitter/window/SplitterIds.h"
#include "ui/AccessibleName.h"
#include "ui/CHoverButton.h"
#include "ui/CentreOverOwner.h"
#include "ui/ControlId.h"
#include "ui/DialogKeys.h"
#include "ui/Fonts.h"
#include "ui/SplitterBitmaps.h"
#include "ui/WindowDragger.h"

#include <QLabel>
#include <QPainter>

#ifndef QUOR_WEB_HOST
#define QUOR_WEB_HOST "www.quortools.co.kr"
#endif

using namespace CSplitAboutDlgIds;

CSplitAboutDlg::CSplitAboutDlg(IShellActions& shell, QWidget* parent)
    : QDialog(parent, Qt::FramelessWindowHint | Qt::Dialog) {
    setObjectName("IDD_ABOUT");
    setWindowTitle("쿠오르녹음기 자르개");
    setFixedSize(356, 226);
    ui::CentreOverOwner(this);

    m_Close = new CHoverButton(this);
    QUOR_SET_ID(m_Close, IDC_BTN_CLOSE);
    m_Close->LoadBitmap(SkinSet::Splitter, SplitterBitmap::IDB_BTN_CLOSE, 3);
    m_Close->setGeometry(322, 5, 22, 22);
    ui::NameControl(m_Close, "닫기");
    connect(m_Close, &QAbstractButton::clicked, this, &QDialog::accept);

    auto* help = new CHoverButton(this);
    QUOR_SET_ID(help, IDC_BTN_HELP);
    help->LoadBitmap(SkinSet::Splitter, SplitterBitmap::IDB_BTN_HOMEPAGE, 3);
    help->move(240, 160);
    ui::NameControl(help, "홈페이지");
    connect(help, &QAbstractButton::clicked, this, [&shell] { shell.OpenInBrowser(HelpPage()); });

    auto* text = new QLabel(
        "쿠오르녹음기 자르개는\nMP3 파일을 원하는 시간만큼 선택해\n저장할 수 있는 프로그램입니다.", this);
    text->setFont(ui::CellHeightFont("돋움", 12));
    text->setStyleSheet("color: black; background: transparent;");
    text->setGeometry(140, 62, 206, 80);
    new WindowDragger(this);
}

QUrl CSplitAboutDlg::HelpPage() {
    return QUrl(QStringLiteral("https://" QUOR_WEB_HOST "/home/help_03.html"));
}

void CSplitAboutDlg::keyPressEvent(QKeyEvent* event) {
    // Return closes the box like Escape, unless the homepage button has the focus.
    if (!ui::HandleDialogKey(this, event, m_Close))
        QDialog::keyPressEvent(event);
}

void CSplitAboutDlg::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), QColor(236, 236, 236));
    p.setPen(QColor(181, 181, 181));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
    p.drawPixmap(0, 0, Skin::Bitmap(SkinSet::Splitter, SplitterBitmap::IDB_ABOUT_TITLE));
    p.drawPixmap(25, 60, Skin::Bitmap(SkinSet::Splitter, SplitterBitmap::IDB_ABOUT_PICTURE));
    p.drawPixmap(25, 197, Skin::Bitmap(SkinSet::Splitter, SplitterBitmap::IDB_ABOUT_FOOTER));
}
