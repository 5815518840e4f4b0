// QuorSplit's pictures: the window face, transport and cut skins, thumbs, its dialogs' parts.
#include "ui/SplitterBitmaps.h"
#include "ui/skinpaint/SkinPaint.h"

#include <QPainterPath>

namespace skinpaint {
namespace {
using namespace SplitterBitmap;
constexpr const char* kProgram = "splitter";

const QColor kLabel(0x34, 0x3a, 0x40);
const QColor kWell(0xb3, 0xba, 0xc2);

void Well(QPainter& p, const QRectF& r, const QColor& fill = Qt::white) {
    p.setPen(QPen(kWell, 1));
    p.setBrush(fill);
    p.drawRoundedRect(r, 3, 3);
}

QImage Background() {
    QImage face = Canvas(500, 210);
    QPainter p(&face);
    Antialias(p);
    PaintWindowFace(p, LogicalSize(face), QColor(0xf1, 0xf3, 0xf5), QColor(0xd9, 0xde, 0xe3), Icon::Scissors,
                    QColor(0xff, 0x6b, 0x6b), QStringLiteral("쿠오르녹음기 자르개"));

    // File row: label and the well of the path box (68, 42, 260 x 16).
    p.setFont(CaptionFont(12));
    p.setPen(kLabel);
    p.drawText(QRectF(12, 40, 50, 20), Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("파일"));
    Well(p, QRectF(66.5, 40.5, 263, 19));

    // Play position row; the time itself is drawn by the window at 100..160.
    p.setPen(kLabel);
    p.drawText(QRectF(12, 72, 84, 18), Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("재생위치"));

    // Frame of the range slider (8, 96, 483 x 60).
    p.setPen(QPen(kWell, 1));
    p.setBrush(Qt::white);
    p.drawRoundedRect(QRectF(6.5, 94.5, 486, 63), 4, 4);

    // Start and end times (186..248 and 292..354, rows 176..191).
    p.setPen(kLabel);
    p.drawText(QRectF(136, 174, 42, 20), Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("시작"));
    p.drawText(QRectF(252, 174, 36, 20), Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("끝"));
    // The start well's amber edge sits left of the text, which begins at 186.
    Well(p, QRectF(180.5, 173.5, 70, 21));
    Well(p, QRectF(290.5, 173.5, 66, 21));
    p.setPen(Qt::NoPen);
    p.setBrush(colour::kAmber);
    p.drawRoundedRect(QRectF(180.5, 173.5, 3, 21), 1.5, 1.5);
    p.drawRoundedRect(QRectF(353.5, 173.5, 3, 21), 1.5, 1.5);

    FinishWindowFace(p, LogicalSize(face), QColor(0x2a, 0x2e, 0x33));
    return face;
}

// A flag hanging from the baseline: its straight edge marks the value (right edge for the
// start, left edge for the end).
QImage Thumb(bool start) {
    QImage thumb = Picture(19, 19, QImage::Format_RGB32);
    thumb.fill(Qt::white);
    QPainter p(&thumb);
    Antialias(p);
    if (!start) {
        p.translate(19, 0);
        p.scale(-1, 1);
    }
    QPainterPath flag;
    flag.moveTo(18.5, 0.5);
    flag.lineTo(18.5, 18.5);
    flag.lineTo(11, 12.5);
    flag.lineTo(4, 12.5);
    flag.quadTo(1.5, 12.5, 1.5, 10);
    flag.lineTo(1.5, 3);
    flag.quadTo(1.5, 0.5, 4, 0.5);
    flag.closeSubpath();
    QLinearGradient g(0, 0, 0, 19);
    g.setColorAt(0, QColor(0xff, 0xd8, 0x4d));
    g.setColorAt(1, QColor(0xf0, 0x8c, 0x00));
    p.setPen(QPen(QColor(0x8a, 0x52, 0x00), 1));
    p.setBrush(g);
    p.drawPath(flag);
    p.setPen(QPen(QColor(0x5c, 0x36, 0x00), 1.6, Qt::SolidLine, Qt::RoundCap));
    for (double x : {7.0, 10.5})
        p.drawLine(QPointF(x, 4), QPointF(x, 9));
    return thumb;
}

QImage SplitterPicture() {
    QImage pic = EmblemCanvas();
    QPainter p(&pic);
    Antialias(p);
    // A waveform with the kept range lit, and the scissors over it.
    p.setPen(QPen(QColor(0x6b, 0x73, 0x7c), 2, Qt::SolidLine, Qt::RoundCap));
    const int heights[] = {4, 8, 14, 9, 18, 12, 20, 10, 16, 7, 12, 5};
    for (int i = 0; i < 12; ++i) {
        const double x = 22 + i * 5;
        if (i >= 3 && i <= 8)
            p.setPen(QPen(colour::kAmber, 2, Qt::SolidLine, Qt::RoundCap));
        else
            p.setPen(QPen(QColor(0x6b, 0x73, 0x7c), 2, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(x, 60 - heights[i] / 2.0), QPointF(x, 60 + heights[i] / 2.0));
    }
    DrawIcon(p, Icon::Scissors, QRectF(33, 14, 34, 34), QColor(0xf1, 0xf3, 0xf5));
    return pic;
}

QImage StripButton(Icon icon, const QString& caption) {
    return Strip(70, 24, kThreeStates, [icon, caption](QPainter& p, const QRectF& r, State s) {
        DrawPillButton(p, r, icon, caption, s);
    });
}

} // namespace

void PaintSplitterSkin(Writer& out) {
    out.Save(kProgram, IDB_BACKGROUND, KeyedLike1x(Background));
    out.Save(kProgram, IDR_MAINFRAME, AppIcon(Icon::Scissors, QColor(0xff, 0x6b, 0x6b)));
    out.Save(kProgram, IDB_THUMB_START, Thumb(true));
    out.Save(kProgram, IDB_THUMB_END, Thumb(false));
    out.Save(kProgram, IDB_BTN_ABOUT, TitleButtonStrip(20, Icon::Info));
    out.Save(kProgram, IDB_BTN_CLOSE, TitleButtonStrip(22, Icon::Close));
    out.Save(kProgram, IDB_BTN_MINIMIZE, TitleButtonStrip(22, Icon::Minimise));
    out.Save(kProgram, IDB_BTN_FOLDER, StripButton(Icon::Folder, QStringLiteral("저장폴더")));
    out.Save(kProgram, IDB_BTN_OPEN, StripButton(Icon::OpenFile, QStringLiteral("파일열기")));

    out.Save(kProgram, IDB_ROUND_MASK, RoundMask(34));
    const struct {
        Icon icon;
        int normal, pressed, hover, disabled;
    } transport[] = {{Icon::Play, IDB_PLAY_NORMAL, IDB_PLAY_PRESSED, IDB_PLAY_HOVER, IDB_PLAY_DISABLED},
                     {Icon::Pause, IDB_PAUSE_NORMAL, IDB_PAUSE_PRESSED, IDB_PAUSE_HOVER, IDB_PAUSE_DISABLED},
                     {Icon::Stop, IDB_STOP_NORMAL, IDB_STOP_PRESSED, IDB_STOP_HOVER, IDB_STOP_DISABLED}};
    for (const auto& t : transport) {
        out.Save(kProgram, t.normal, RoundFace(t.icon, State::Normal));
        out.Save(kProgram, t.pressed, RoundFace(t.icon, State::Pressed));
        out.Save(kProgram, t.hover, RoundFace(t.icon, State::Hover));
        out.Save(kProgram, t.disabled, RoundFace(t.icon, State::Disabled));
    }

    const QString cut = QStringLiteral("자르기");
    out.Save(kProgram, IDB_CUT_MASK, PillMask(96, 30));
    out.Save(kProgram, IDB_CUT_NORMAL, PillFace(96, 30, Icon::Scissors, cut, State::Normal));
    out.Save(kProgram, IDB_CUT_PRESSED, PillFace(96, 30, Icon::Scissors, cut, State::Pressed));
    out.Save(kProgram, IDB_CUT_HOVER, PillFace(96, 30, Icon::Scissors, cut, State::Hover));

    PaintSharedDialogParts(out, kProgram, IDB_BTN_OK, IDB_BTN_CANCEL);
    out.Save(kProgram, IDB_BTN_HOMEPAGE, HomepageStrip());
    out.Save(kProgram, IDB_ABOUT_TITLE, TitleBar(Icon::Scissors, QStringLiteral("쿠오르녹음기 자르개 정보")));
    out.Save(kProgram, IDB_ABOUT_PICTURE, SplitterPicture());
    out.Save(kProgram, IDB_ABOUT_FOOTER, AboutFooter(QStringLiteral("QUOR TOOLS  ·  쿠오르녹음기 자르개")));
}

} // namespace skinpaint
