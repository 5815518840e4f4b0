// QuorRecorder's pictures: the face with its display, lamp, digits, buttons, dialogs' parts.
#include "ui/RecorderBitmaps.h"
#include "ui/skinpaint/SkinPaint.h"

#include <QPainterPath>

namespace skinpaint {
namespace {
using namespace RecorderBitmap;
constexpr const char* kProgram = "recorder";

const QColor kLcdTop(0x0b, 0x15, 0x19);
const QColor kLcdBottom(0x10, 0x1e, 0x24);
const QColor kDigitOn(0x86, 0xea, 0xff);
const QColor kDigitOff(0x16, 0x2c, 0x33);
const QRectF kLcd(8.5, 40.5, 313, 69);

// The face unkeyed; the lamp and the volume track are cut from it so they sit seamlessly.
QImage PaintFace() {
    QImage face = Canvas(330, 158);
    QPainter p(&face);
    Antialias(p);
    PaintWindowFace(p, LogicalSize(face), QColor(0x2f, 0x34, 0x3b), QColor(0x1a, 0x1d, 0x21), Icon::Record,
                    colour::kRecordRed, QStringLiteral("쿠오르녹음기"));
    p.fillRect(QRect(0, 32, 330, 1), QColor(0x44, 0x4a, 0x52));

    // Display panel.
    QPainterPath lcd;
    lcd.addRoundedRect(kLcd, 6, 6);
    QLinearGradient screen(kLcd.topLeft(), kLcd.bottomLeft());
    screen.setColorAt(0, kLcdTop);
    screen.setColorAt(1, kLcdBottom);
    p.fillPath(lcd, screen);
    p.setPen(QPen(QColor(0x05, 0x07, 0x09), 1));
    p.drawPath(lcd);
    p.setPen(QPen(QColor(255, 255, 255, 28), 1));
    p.drawLine(QPointF(kLcd.left() + 6, kLcd.bottom() + 1), QPointF(kLcd.right() - 6, kLcd.bottom() + 1));
    p.setPen(QPen(QColor(0x1f, 0x35, 0x3d), 1));
    p.drawLine(QPointF(16, 66.5), QPointF(314, 66.5)); // under the format line

    // Colons of the elapsed time, and the recess of the spectrum.
    p.setPen(Qt::NoPen);
    p.setBrush(kDigitOn.darker(110));
    for (double cx : {84.0, 116.0})
        for (double cy : {79.5, 87.5})
            p.drawRect(QRectF(cx - 1, cy - 1, 2, 2));
    p.setPen(QPen(QColor(0x1f, 0x35, 0x3d), 1));
    p.setBrush(QColor(0x07, 0x0f, 0x12));
    p.drawRoundedRect(QRectF(170.5, 67.5, 124, 36), 3, 3);

    // Engraved name between the transport and the two wide buttons.
    p.setFont(CaptionFont(9));
    p.setPen(QColor(0x6b, 0x73, 0x7c));
    p.drawText(QRectF(88, 122, 78, 12), Qt::AlignCenter, QStringLiteral("QUOR"));
    p.setPen(QColor(0x4d, 0x54, 0x5d));
    p.drawText(QRectF(88, 134, 78, 12), Qt::AlignCenter, QStringLiteral("RECORDER"));

    FinishWindowFace(p, LogicalSize(face), QColor(0x0a, 0x0b, 0x0d));
    p.setPen(QPen(QColor(255, 255, 255, 30), 1));
    p.drawRoundedRect(QRectF(1.5, 1.5, 327, 155), 8.5, 8.5);
    return face;
}

QImage Lamp(const QImage& face) {
    QImage strip = Canvas(56, 28);
    QPainter p(&strip);
    Antialias(p);
    for (int lit = 0; lit < 2; ++lit) {
        const QPointF c(lit * 28 + 14, 14);
        p.drawImage(QPointF(lit * 28, 0), face, Pixels(QRect(17, 71, 28, 28)));
        if (lit) {
            QRadialGradient glow(c, 14);
            glow.setColorAt(0, QColor(255, 60, 60, 150));
            glow.setColorAt(1, QColor(255, 60, 60, 0));
            p.setPen(Qt::NoPen);
            p.setBrush(glow);
            p.drawEllipse(c, 14, 14);
        }
        p.setPen(QPen(QColor(0x05, 0x07, 0x09), 1));
        QRadialGradient dome(c - QPointF(2, 2.5), 8);
        dome.setColorAt(0, lit ? QColor(0xff, 0xd0, 0xc8) : QColor(0x6a, 0x26, 0x26));
        dome.setColorAt(0.45, lit ? QColor(0xff, 0x3b, 0x30) : QColor(0x45, 0x14, 0x14));
        dome.setColorAt(1, lit ? QColor(0xc0, 0x12, 0x12) : QColor(0x2a, 0x0b, 0x0b));
        p.setBrush(dome);
        p.drawEllipse(c, 7.5, 7.5);
    }
    return strip;
}

// Seven segments on a 13 x 18 cell, hard-edged for the colour key.
QImage Digits() {
    static const char* kSegments[10] = {"abcdef", "bc",     "abged", "abgcd",   "fgbc",
                                        "afgcd",  "afgedc", "abc",   "abcdefg", "abcdfg"};
    const QRect seg[7] = {{3, 1, 7, 2},  {10, 3, 2, 5}, {10, 10, 2, 5}, {3, 15, 7, 2},
                          {1, 10, 2, 5}, {1, 3, 2, 5},  {3, 8, 7, 2}};
    QImage digits = Picture(130, 18, QImage::Format_RGB32);
    digits.fill(colour::kMagenta);
    QPainter p(&digits);
    for (int d = 0; d < 10; ++d)
        for (int s = 0; s < 7; ++s) {
            const bool on = std::strchr(kSegments[d], 'a' + s) != nullptr;
            p.fillRect(seg[s].translated(d * 13, 0), on ? kDigitOn : kDigitOff);
        }
    return digits;
}

QImage VolumeTrack(const QImage& face) {
    QImage track = Canvas(18, 40);
    QPainter p(&track);
    Antialias(p);
    p.drawImage(QPointF(0, 0), face, Pixels(QRect(300, 68, 18, 40)));
    p.setPen(QPen(QColor(0x1f, 0x35, 0x3d), 1));
    for (int y = 6; y <= 34; y += 7)
        p.drawLine(QPointF(2, y + 0.5), QPointF(5, y + 0.5));
    p.setPen(QPen(QColor(0x03, 0x05, 0x06), 1));
    p.setBrush(QColor(0x04, 0x08, 0x0a));
    p.drawRoundedRect(QRectF(7.5, 3.5, 4, 33), 2, 2);
    QLinearGradient fill(0, 36, 0, 4);
    fill.setColorAt(0, QColor(0x3b, 0xc9, 0xdb));
    fill.setColorAt(1, QColor(0x86, 0xea, 0xff, 40));
    p.setPen(Qt::NoPen);
    p.setBrush(fill);
    p.drawRoundedRect(QRectF(8.5, 4.5, 2, 31), 1, 1);
    return track;
}

QImage VolumeThumb() {
    QImage thumb = Canvas(18, 10);
    QPainter p(&thumb);
    Antialias(p);
    QLinearGradient g(0, 0, 0, 10);
    g.setColorAt(0, QColor(0xfa, 0xfb, 0xfc));
    g.setColorAt(1, QColor(0xb8, 0xbf, 0xc7));
    p.setPen(QPen(QColor(0x11, 0x13, 0x16), 1));
    p.setBrush(g);
    p.drawRoundedRect(QRectF(0.5, 0.5, 17, 9), 3, 3);
    p.setPen(QPen(QColor(0x6b, 0x73, 0x7c), 1));
    p.drawLine(QPointF(5, 5), QPointF(13, 5));
    return thumb;
}

QImage PageStrip(const QString& caption) {
    // Picture 0 is the page on show (locked), picture 1 the others.
    QImage strip = Canvas(200, 30);
    QPainter p(&strip);
    Antialias(p);
    for (int i = 0; i < 2; ++i) {
        const QRectF tab(i * 100 + 0.5, 0.5, 99, 29);
        QPainterPath shape;
        shape.addRoundedRect(tab, 5, 5);
        if (i == 0) {
            QLinearGradient g(tab.topLeft(), tab.bottomLeft());
            g.setColorAt(0, QColor(0x4a, 0x52, 0x5b));
            g.setColorAt(1, QColor(0x2a, 0x2f, 0x35));
            p.fillPath(shape, g);
            p.fillRect(QRectF(tab.left() + 12, 25, tab.width() - 24, 2.5), colour::kAccent);
        } else {
            p.fillPath(shape, QColor(0xf1, 0xf3, 0xf5));
            p.setPen(QPen(QColor(0xc9, 0xce, 0xd4), 1));
            p.drawPath(shape);
        }
        p.setFont(CaptionFont(13));
        p.setPen(i == 0 ? QColor(0xff, 0xff, 0xff) : QColor(0x49, 0x50, 0x57));
        p.drawText(tab.adjusted(0, -1, 0, -1), Qt::AlignCenter, caption);
    }
    return strip;
}

// The emblem of the About box: a studio microphone on a graphite tile with a level arc.
QImage AboutPicture() {
    QImage pic = EmblemCanvas();
    QPainter p(&pic);
    Antialias(p);
    p.setPen(QPen(QColor(0x86, 0xea, 0xff), 3, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(28, 20, 44, 44), 200 * 16, 140 * 16);
    DrawIcon(p, Icon::Record, QRectF(32, 24, 36, 36), colour::kRecordRed);
    p.setPen(QPen(QColor(0xf1, 0xf3, 0xf5), 2.4, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(50, 62), QPointF(50, 70));
    p.drawLine(QPointF(42, 70.5), QPointF(58, 70.5));
    return pic;
}

QImage PopupHeader() {
    QImage header = Picture(330, 62, QImage::Format_RGB32);
    QPainter p(&header);
    Antialias(p);
    QLinearGradient g(0, 0, 0, 62);
    g.setColorAt(0, colour::kTitleTop);
    g.setColorAt(1, QColor(0x1c, 0x1f, 0x24));
    p.fillRect(QRect(0, 0, 330, 62), g);
    p.fillRect(QRect(0, 61, 330, 1), QColor(0x86, 0xea, 0xff, 160));
    DrawIcon(p, Icon::Record, QRectF(14, 16, 30, 30), colour::kRecordRed);
    p.setFont(CaptionFont(17));
    p.setPen(QColor(0xff, 0xff, 0xff));
    p.drawText(QRectF(52, 10, 240, 24), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("쿠오르녹음기"));
    p.setFont(CaptionFont(11, false));
    p.setPen(QColor(0xad, 0xb5, 0xbd));
    p.drawText(QRectF(53, 33, 240, 18), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("새 소식과 사용 안내"));
    return header;
}

QImage PopupFooter() {
    QImage footer = Picture(330, 30, QImage::Format_RGB32);
    footer.fill(QColor(0xf3, 0xf4, 0xf6));
    QPainter p(&footer);
    p.fillRect(QRect(0, 0, 330, 1), QColor(0xd0, 0xd4, 0xd9));
    return footer;
}

} // namespace

void PaintRecorderSkin(Writer& out) {
    const QImage face = PaintFace();
    out.Save(kProgram, IDB_FACE, KeyedLike1x(PaintFace));
    out.Save(kProgram, IDB_LAMP, Lamp(face));
    out.Save(kProgram, IDB_DIGITS, Digits());
    out.Save(kProgram, IDB_VOLUME_TRACK, VolumeTrack(face));
    out.Save(kProgram, IDB_VOLUME_THUMB, VolumeThumb());
    out.Save(kProgram, IDR_MAINFRAME, AppIcon(Icon::Record, colour::kRecordRed));

    out.Save(kProgram, IDB_BTN_CLOSE, TitleButtonStrip(22, Icon::Close));
    out.Save(kProgram, IDB_BTN_MINIMIZE, TitleButtonStrip(22, Icon::Minimise));
    out.Save(kProgram, IDB_BTN_ABOUT, TitleButtonStrip(20, Icon::Info));
    out.Save(kProgram, IDB_BTN_SETTINGS, TitleButtonStrip(20, Icon::Gear));
    out.Save(kProgram, IDB_POPUP_CLOSE, TitleButtonStrip(19, Icon::Close));

    auto round = [](Icon icon, State s) { return RoundFace(icon, s); };
    out.Save(kProgram, IDB_ROUND_MASK, RoundMask(34));
    out.Save(kProgram, IDB_RECORD_NORMAL, round(Icon::Record, State::Normal));
    out.Save(kProgram, IDB_RECORD_PRESSED, round(Icon::Record, State::Pressed));
    out.Save(kProgram, IDB_RECORD_HOVER, round(Icon::Record, State::Hover));
    out.Save(kProgram, IDB_PAUSE_NORMAL, round(Icon::Pause, State::Normal));
    out.Save(kProgram, IDB_PAUSE_PRESSED, round(Icon::Pause, State::Pressed));
    out.Save(kProgram, IDB_PAUSE_HOVER, round(Icon::Pause, State::Hover));
    out.Save(kProgram, IDB_STOP_NORMAL, round(Icon::Stop, State::Normal));
    out.Save(kProgram, IDB_STOP_PRESSED, round(Icon::Stop, State::Pressed));
    out.Save(kProgram, IDB_STOP_HOVER, round(Icon::Stop, State::Hover));

    auto pill = [](Icon icon, const QString& caption, State s) { return PillFace(75, 26, icon, caption, s); };
    out.Save(kProgram, IDB_WIDE_MASK, PillMask(75, 26));
    const QString split = QStringLiteral("자르개"), folder = QStringLiteral("저장폴더");
    out.Save(kProgram, IDB_SPLIT_NORMAL, pill(Icon::Scissors, split, State::Normal));
    out.Save(kProgram, IDB_SPLIT_PRESSED, pill(Icon::Scissors, split, State::Pressed));
    out.Save(kProgram, IDB_SPLIT_HOVER, pill(Icon::Scissors, split, State::Hover));
    out.Save(kProgram, IDB_FOLDER_NORMAL, pill(Icon::Folder, folder, State::Normal));
    out.Save(kProgram, IDB_FOLDER_PRESSED, pill(Icon::Folder, folder, State::Pressed));
    out.Save(kProgram, IDB_FOLDER_HOVER, pill(Icon::Folder, folder, State::Hover));

    PaintSharedDialogParts(out, kProgram, IDB_BTN_OK, IDB_BTN_CANCEL);
    out.Save(kProgram, IDB_PAGE_FILE, PageStrip(QStringLiteral("파일설정")));
    out.Save(kProgram, IDB_PAGE_RECORD, PageStrip(QStringLiteral("녹음설정")));
    out.Save(kProgram, IDB_PAGE_VOLUME, PageStrip(QStringLiteral("볼륨설정")));
    out.Save(kProgram, IDB_SETTINGS_TITLE, TitleBar(Icon::Gear, QStringLiteral("환경설정")));
    out.Save(kProgram, IDB_ABOUT_TITLE, TitleBar(Icon::Info, QStringLiteral("쿠오르녹음기 정보")));
    out.Save(kProgram, IDB_ABOUT_PICTURE, AboutPicture());
    out.Save(kProgram, IDB_ABOUT_FOOTER, AboutFooter(QStringLiteral("QUOR TOOLS  ·  쿠오르녹음기 1.0.2")));
    out.Save(kProgram, IDB_POPUP_HEADER, PopupHeader());
    out.Save(kProgram, IDB_POPUP_FOOTER, PopupFooter());
    out.Save(kProgram, IDB_BTN_HOMEPAGE, HomepageStrip());
}

} // namespace skinpaint
