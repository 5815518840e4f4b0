// The notification box: its painting, its button layouts, its keys and its results.
#include "tests/support/gui/GuiHelpers.h"
#include "ui/CHoverButton.h"
#include "ui/CMssageBoxDlg.h"
#include "ui/ControlId.h"

#include <QAccessible>
#include <QApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QTest>
#include <QTimer>

#include <cstdlib>

#include <gtest/gtest.h>

using namespace quortest::gui;

namespace {

constexpr QRgb kFrame = 0x4C4C4C;

// Darkest grey level among the pixels of rows [top, top + 20) inside the body.
int DarkestInBand(const QImage& shot, int top) {
    int darkest = 255;
    for (int y = top; y < top + 20; ++y)
        for (int x = 10; x < shot.width() - 10; ++x)
            darkest = std::min(darkest, qGray(shot.pixel(x, y)));
    return darkest;
}

bool BandIsBlank(const QImage& shot, int top, int bottom) {
    for (int y = top; y < bottom; ++y)
        for (int x = 2; x < shot.width() - 2; ++x)
            if (Rgb(shot, x, y) != 0xFFFFFF)
                return false;
    return true;
}

QImage Shown(CMssageBoxDlg& box) {
    box.show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&box));
    return Grab(&box);
}

} // namespace

TEST(MessageBox, TitleBandGradientAndFrame) {
    CMssageBoxDlg box;
    box.Configure(QStringLiteral("녹음 장치가 오픈되어 있지 않습니다."), QStringLiteral("알림"), 1, 300, 150);
    const QImage shot = Shown(box);
    ASSERT_EQ(shot.size(), QSize(300, 150));

    const int x = 200; // clear of the title text
    EXPECT_EQ(Rgb(shot, x, 24), 0x424242u) << "gradient ends at row 24";
    EXPECT_GE(qGray(shot.pixel(x, 1)), 0x9B) << "gradient starts at 0xA0A0A0 (row 0 is under the frame)";
    for (int y = 2; y <= 24; ++y)
        EXPECT_LT(qGray(shot.pixel(x, y)), qGray(shot.pixel(x, y - 1))) << "row " << y;
    EXPECT_EQ(Rgb(shot, x, 25), 0xFFFFFFu) << "white body below the band";

    for (QPoint p :
         {QPoint(x, 0), QPoint(0, 70), QPoint(299, 70), QPoint(x, 149), QPoint(0, 0), QPoint(299, 149)})
        EXPECT_EQ(Rgb(shot, p.x(), p.y()), kFrame) << p.x() << "," << p.y();
    EXPECT_EQ(Rgb(shot, 1, 70), 0xFFFFFFu);

    // The title is white over the band, left where its label is.
    bool whiteTitle = false;
    for (int y = 6; y < 24 && !whiteTitle; ++y)
        for (int x2 = 10; x2 < 40 && !whiteTitle; ++x2)
            whiteTitle = Rgb(shot, x2, y) == 0xFFFFFFu;
    EXPECT_TRUE(whiteTitle);
}

TEST(MessageBox, MessageLinesAreCentredFirstDarker) {
    CMssageBoxDlg box;
    box.Configure(
        QStringLiteral("녹음을 위해서 스테레오 장치가 필요합니다.\r\n스테레오 믹스를 사용 및 기본 장치로 "
                       "설정해 주세요.\r\n사운드 설정탭을 오픈합니다."),
        QStringLiteral("알림"), 1, 350, 180);
    const QImage shot = Shown(box);
    const int firstTop = (180 - 2 * 20 - 20) / 2; // 60
    EXPECT_TRUE(BandIsBlank(shot, 26, firstTop));
    EXPECT_EQ(DarkestInBand(shot, firstTop), 0x4B);
    EXPECT_EQ(DarkestInBand(shot, firstTop + 20), 0x69);
    EXPECT_EQ(DarkestInBand(shot, firstTop + 40), 0x69);
    EXPECT_TRUE(BandIsBlank(shot, firstTop + 60, 180 - 30));

    box.Configure(QStringLiteral("mp3파일만 지원합니다."), QStringLiteral("알림"), 1, 300, 150);
    const QImage one = Grab(&box);
    EXPECT_TRUE(BandIsBlank(one, 26, 65)) << "a single line sits in the middle band";
    EXPECT_EQ(DarkestInBand(one, 65), 0x4B);
    EXPECT_TRUE(BandIsBlank(one, 85, 120));
}

TEST(MessageBox, TooWideLineContinuesInTheNextBandInsteadOfLosingItsEnd) {
    CMssageBoxDlg box;
    box.Configure(QStringLiteral("녹음중 입니다. 쿠오르녹음기를 종료하시겠습니까?"), QStringLiteral("알림"),
                  2, 300, 150);
    const QImage shot = Shown(box);
    const int firstTop = (150 - 20 - 20) / 2; // two bands
    EXPECT_TRUE(BandIsBlank(shot, 26, firstTop));
    EXPECT_EQ(DarkestInBand(shot, firstTop), 0x4B);
    EXPECT_EQ(DarkestInBand(shot, firstTop + 20), 0x4B) << "both pieces belong to the first line";
    EXPECT_TRUE(BandIsBlank(shot, firstTop + 40, 120));
}

namespace {

// Where the buttons sit, as properties of every layout and size: inside the box below the title
// band, on the bottom row, OK alone centred, or OK and Cancel side by side 8 pixels apart and
// centred as a pair; a message label between the title band and the buttons.
void ExpectButtonRow(CMssageBoxDlg& box, int layout, int width, int height) {
    const QString where = QStringLiteral("layout %1 at %2x%3").arg(layout).arg(width).arg(height);
    const QRect inside = box.rect();
    QWidget* ok = FindControl(&box, "IDC_BTN_OK");
    QWidget* cancel = FindControl(&box, "IDC_BTN_CANCEL");
    EXPECT_EQ(box.size(), QSize(width, height)) << where.toStdString();
    EXPECT_EQ(ok->size(), QSize(75, 23)) << "the button picture's size";
    EXPECT_TRUE(inside.contains(ok->geometry())) << where.toStdString();
    EXPECT_GE(ok->y(), 30) << "below the title band";
    EXPECT_LE(height - ok->geometry().bottom() - 1, 10) << "on the bottom row";
    EXPECT_EQ(cancel->isVisible(), layout != kBoxOkOnly) << where.toStdString();
    if (layout == kBoxOkOnly) {
        EXPECT_LE(std::abs(ok->geometry().center().x() * 2 + 1 - width), 2) << "centred";
    } else {
        EXPECT_TRUE(inside.contains(cancel->geometry())) << where.toStdString();
        EXPECT_EQ(cancel->size(), ok->size());
        EXPECT_EQ(cancel->y(), ok->y()) << "one row";
        EXPECT_EQ(cancel->x() - ok->geometry().right() - 1, 8) << "8-pixel gap, OK on the left";
        EXPECT_LE(std::abs(ok->x() + cancel->geometry().right() + 1 - width), 1) << "centred as a pair";
    }
    if (auto* label = box.findChild<QLabel*>(QStringLiteral("IDC_STATIC_MESSAGE"))) {
        EXPECT_TRUE(inside.contains(label->geometry())) << where.toStdString();
        EXPECT_GE(label->y(), 24) << "below the title band";
        EXPECT_LT(label->geometry().bottom(), ok->y()) << "above the buttons";
        EXPECT_EQ(label->x(), width - label->geometry().right() - 1) << "equal margins";
    }
}

} // namespace

TEST(MessageBox, ButtonLayoutsAtEverySize) {
    CMssageBoxDlg recorder;
    CMssageBoxDlg splitter(nullptr, MessageBoxTemplate::Splitter());
    for (CMssageBoxDlg* box : {&recorder, &splitter}) {
        box->show();
        for (int layout : {kBoxOkOnly, kBoxOkCancel})
            for (QSize size :
                 {QSize(kBoxWidth, kBoxHeight), QSize(350, 180), QSize(200, 130), QSize(420, 180)}) {
                box->Configure(QStringLiteral("녹음중 입니다. 쿠오르녹음기를 종료하시겠습니까?"),
                               QStringLiteral("알림"), layout, size.width(), size.height());
                ExpectButtonRow(*box, layout, size.width(), size.height());
            }
    }
    EXPECT_EQ(ui::ControlIdOf(FindControl(&recorder, "IDC_BTN_OK")), 1006);
    EXPECT_EQ(ui::ControlIdOf(FindControl(&recorder, "IDC_BTN_CANCEL")), 1052);
    EXPECT_EQ(ui::ControlIdOf(FindControl(&recorder, "IDC_STATIC_TITLE")), 1054);
    EXPECT_TRUE(QRect(0, 0, kBoxWidth, 24).contains(FindControl(&recorder, "IDC_STATIC_TITLE")->geometry()))
        << "the title sits in the title band";
}

TEST(MessageBox, SplitterTemplateUsesItsLabelAndButtonRow) {
    CMssageBoxDlg box(nullptr, MessageBoxTemplate::Splitter());
    box.Configure(QStringLiteral("\r\n\r\n저장이 완료되었습니다."), QStringLiteral("알림"), 2, 300, 150);
    const QImage shot = Shown(box);
    auto* label = FindControlAs<QLabel>(&box, "IDC_STATIC_MESSAGE");
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->text(), QStringLiteral("\n\n저장이 완료되었습니다."));
    EXPECT_EQ(ui::ControlIdOf(FindControl(&box, "IDC_BTN_OK")), 1013);
    EXPECT_EQ(ui::ControlIdOf(label), 1015);
    EXPECT_EQ(Rgb(shot, 200, 24), 0x424242u);
    EXPECT_EQ(Rgb(shot, 0, 70), kFrame);

    box.Configure(QStringLiteral("\r\n\r\n<b>a.mp3</b> 파일이 없습니다."), QStringLiteral("알림"), 1, 200,
                  130);
    EXPECT_EQ(label->textFormat(), Qt::PlainText) << "a file name is never markup";
}

TEST(MessageBox, KeysAnswerAsItsButtonsAndScreenReadersHearAnAlertWithItsText) {
    // Return presses OK, or Cancel when it has the focus; Escape cancels.
    const auto keyed = [](Qt::Key key, bool onCancel) {
        CMssageBoxDlg box;
        box.Configure(QStringLiteral("종료하시겠습니까?"), QStringLiteral("알림"), 2, 300, 150);
        QTimer::singleShot(0, &box, [&] {
            if (onCancel)
                FindControl(&box, "IDC_BTN_CANCEL")->setFocus();
            PressKey(box.focusWidget() ? box.focusWidget() : &box, key);
        });
        return box.DoModal();
    };
    EXPECT_EQ(keyed(Qt::Key_Return, false), ui::IDOK);
    EXPECT_EQ(keyed(Qt::Key_Escape, false), ui::IDCANCEL);
    EXPECT_EQ(keyed(Qt::Key_Return, true), ui::IDCANCEL);

    // The recorder's box paints its lines, the splitter's shows them in a label: either way a
    // text under the alert holds the message, without the blank lead lines.
    for (const MessageBoxTemplate* form :
         {&MessageBoxTemplate::Recorder(), &MessageBoxTemplate::Splitter()}) {
        CMssageBoxDlg box(nullptr, *form);
        box.Configure(QStringLiteral("\r\n\r\n저장이 완료되었습니다.\r\n다음 파일"), QStringLiteral("알림"),
                      1, 300, 150);
        QAccessibleInterface* alert = QAccessible::queryAccessibleInterface(&box);
        EXPECT_EQ(alert->role(), QAccessible::AlertMessage);
        EXPECT_EQ(alert->text(QAccessible::Name), QStringLiteral("알림"));
        int holding = 0;
        for (int i = 0; i < alert->childCount(); ++i)
            holding += alert->child(i)->role() == QAccessible::StaticText &&
                       alert->child(i)->text(QAccessible::Name).trimmed() ==
                           QStringLiteral("저장이 완료되었습니다.\n다음 파일");
        EXPECT_EQ(holding, 1);
    }

    ModalAnswerer answer(ModalAnswerer::Answer::Ok);
    EXPECT_EQ(CMssageBoxDlg::Show(nullptr, QStringLiteral("확인하시겠습니까?"), QStringLiteral("알림"), 2,
                                  300, 150),
              ui::IDOK);
    answer.SetAnswer(ModalAnswerer::Answer::Cancel);
    EXPECT_EQ(
        CMssageBoxDlg::Show(nullptr, QStringLiteral("취소할까요?"), QStringLiteral("알림"), 2, 300, 150),
        ui::IDCANCEL);
    ASSERT_EQ(answer.Seen().size(), 2u);
    EXPECT_EQ(answer.Seen()[0].message, QStringLiteral("확인하시겠습니까?"));
    EXPECT_EQ(answer.Seen()[1].buttonLayout, 2);
    EXPECT_EQ(answer.Seen()[1].size, QSize(300, 150));
}

TEST(MessageBox, ClosedByOtherMeansCountsAsCancel) {
    CMssageBoxDlg box;
    box.Configure(QStringLiteral("종료하시겠습니까?"), QStringLiteral("알림"), 2, 300, 150);
    QTimer::singleShot(0, [&] { box.close(); });
    EXPECT_EQ(box.DoModal(), ui::IDCANCEL);
}

TEST(MessageBox, CentredOverItsParentAndDraggedByItsBody) {
    QWidget parent;
    parent.setGeometry(100, 120, 400, 300);
    parent.show();
    CMssageBoxDlg box(&parent);
    box.Configure(QStringLiteral("알림 내용"), QStringLiteral("알림"), 1, 300, 150);
    EXPECT_EQ(box.pos(), parent.frameGeometry().center() - QPoint(150, 75));

    box.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&box));
    const QPoint start = box.pos();
    const QPoint grip(150, 60);
    QMouseEvent press(QEvent::MouseButtonPress, grip, box.mapToGlobal(grip), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(&box, &press);
    const QPoint to = box.mapToGlobal(grip) + QPoint(35, -20);
    QMouseEvent move(QEvent::MouseMove, grip + QPoint(35, -20), to, Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
    QApplication::sendEvent(&box, &move);
    QMouseEvent release(QEvent::MouseButtonRelease, grip, to, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(&box, &release);
    EXPECT_EQ(box.pos(), start + QPoint(35, -20));
    EXPECT_TRUE(box.isVisible());
}
