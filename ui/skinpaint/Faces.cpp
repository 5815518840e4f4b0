// Button faces, masks, the title band and the picture writer.
#include "ui/skinpaint/SkinPaint.h"

#include <QPainterPath>

#include <cstdio>

namespace skinpaint {

namespace {
int g_scale = 1;
} // namespace

void SetScale(int scale) {
    g_scale = scale;
}

QImage Picture(int width, int height, QImage::Format format) {
    QImage image(width * g_scale, height * g_scale, format);
    image.setDevicePixelRatio(g_scale);
    return image;
}

QSize LogicalSize(const QImage& picture) {
    return picture.deviceIndependentSize().toSize();
}

QRect Pixels(const QRect& logical) {
    return QRect(logical.topLeft() * g_scale, logical.size() * g_scale);
}

QImage Canvas(int width, int height) {
    QImage image = Picture(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

void Antialias(QPainter& p) {
    p.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing | QPainter::SmoothPixmapTransform);
}

QColor TitleColour(int y) {
    const double t = std::clamp(y / 31.0, 0.0, 1.0);
    auto mix = [t](int a, int b) { return int(a + (b - a) * t + 0.5); };
    const QColor a = colour::kTitleTop, b = colour::kTitleBottom;
    return QColor(mix(a.red(), b.red()), mix(a.green(), b.green()), mix(a.blue(), b.blue()));
}

void FillTitleBand(QPainter& p, const QRect& rect, int firstRow) {
    for (int y = rect.top(); y <= rect.bottom(); ++y)
        p.fillRect(QRect(rect.left(), y, rect.width(), 1), TitleColour(firstRow + y - rect.top()));
}

QFont CaptionFont(int pixelSize, bool bold) {
    QFont font(QStringLiteral("NanumSquare"));
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    font.setHintingPreference(QFont::PreferFullHinting);
    return font;
}

namespace {

QLinearGradient Vertical(const QRectF& r, const QColor& top, const QColor& bottom) {
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0, top);
    g.setColorAt(1, bottom);
    return g;
}

// Silver cap colours by state; primary buttons are graphite.
std::pair<QColor, QColor> CapColours(State state, bool primary) {
    if (primary) {
        switch (state) {
        case State::Hover:
            return {QColor(0x5a, 0x63, 0x6e), QColor(0x36, 0x3c, 0x44)};
        case State::Pressed:
            return {QColor(0x22, 0x26, 0x2b), QColor(0x3a, 0x40, 0x48)};
        case State::Disabled:
            return {QColor(0x9a, 0xa0, 0xa7), QColor(0x9a, 0xa0, 0xa7)};
        default:
            return {QColor(0x4a, 0x52, 0x5b), QColor(0x2a, 0x2f, 0x35)};
        }
    }
    switch (state) {
    case State::Hover:
        return {QColor(0xff, 0xff, 0xff), QColor(0xd7, 0xdd, 0xe4)};
    case State::Pressed:
        return {QColor(0xb4, 0xbb, 0xc3), QColor(0xe2, 0xe6, 0xea)};
    case State::Disabled:
        return {QColor(0xdd, 0xe0, 0xe4), QColor(0xd3, 0xd7, 0xdc)};
    default:
        return {QColor(0xf8, 0xf9, 0xfa), QColor(0xc4, 0xca, 0xd2)};
    }
}

QColor IconInk(Icon icon, State state) {
    if (state == State::Disabled)
        return QColor(0xa6, 0xac, 0xb3);
    if (icon == Icon::Record)
        return state == State::Hover ? colour::kRecordRed.lighter(112) : colour::kRecordRed;
    return state == State::Hover ? QColor(0x1b, 0x1f, 0x24) : colour::kInk;
}

} // namespace

void DrawRoundButton(QPainter& p, const QRectF& box, Icon icon, State state) {
    p.save();
    p.setPen(Qt::NoPen);
    const QRectF ring = box.adjusted(0.5, 0.5, -0.5, -0.5);
    const bool off = state == State::Disabled;
    p.setBrush(Vertical(ring, off ? QColor(0x80, 0x87, 0x8f) : QColor(0x12, 0x14, 0x17),
                        off ? QColor(0xa9, 0xb0, 0xb7) : QColor(0x5e, 0x66, 0x70)));
    p.drawEllipse(ring);

    const QRectF cap = box.adjusted(3, 3, -3, -3);
    const auto [top, bottom] = CapColours(state, false);
    p.setBrush(Vertical(cap, top, bottom));
    p.drawEllipse(cap);
    if (state == State::Hover) {
        p.setPen(QPen(colour::kAccent, 1.6));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(cap.adjusted(0.6, 0.6, -0.6, -0.6));
        p.setPen(Qt::NoPen);
    }
    if (state != State::Pressed && !off) { // glossy upper rim
        QPainterPath shine;
        shine.addEllipse(cap.adjusted(2, 1, -2, -cap.height() * 0.45));
        p.fillPath(shine, QColor(255, 255, 255, 70));
    }
    const double s = cap.width() * 0.46;
    QRectF glyph(cap.center().x() - s / 2, cap.center().y() - s / 2, s, s);
    if (state == State::Pressed)
        glyph.translate(0.8, 0.8);
    DrawIcon(p, icon, glyph, IconInk(icon, state));
    p.restore();
}

static QPainterPath Pill(const QRectF& r) {
    QPainterPath path;
    const double radius = std::min(7.0, r.height() / 2);
    path.addRoundedRect(r, radius, radius);
    return path;
}

void DrawPillButton(QPainter& p, const QRectF& box, Icon icon, const QString& caption, State state,
                    bool primary) {
    p.save();
    const QRectF outer = box.adjusted(0.5, 0.5, -0.5, -0.5);
    const auto [top, bottom] = CapColours(state, primary);
    p.setPen(QPen(primary ? QColor(0x15, 0x18, 0x1b) : QColor(0x5b, 0x62, 0x6b), 1));
    p.setBrush(Vertical(outer, top, bottom));
    p.drawPath(Pill(outer));
    if (state == State::Hover) {
        p.setPen(QPen(colour::kAccent, 1.4));
        p.setBrush(Qt::NoBrush);
        p.drawPath(Pill(outer.adjusted(1, 1, -1, -1)));
    } else if (state != State::Pressed) {
        p.setPen(QPen(QColor(255, 255, 255, primary ? 40 : 150), 1));
        p.setBrush(Qt::NoBrush);
        p.drawLine(QPointF(outer.left() + 6, outer.top() + 1.5),
                   QPointF(outer.right() - 6, outer.top() + 1.5));
    }
    const QColor ink = state == State::Disabled ? QColor(0xa6, 0xac, 0xb3)
                       : primary                ? QColor(0xf8, 0xf9, 0xfa)
                                                : colour::kInk;
    QFont font = CaptionFont(box.height() >= 28 ? 14 : 12);
    const QFontMetricsF metrics(font);
    const double iconSize =
        icon == Icon::Home || icon == Icon::Scissors ? box.height() * 0.52 : box.height() * 0.48;
    const bool withIcon = icon != Icon::None;
    const double textWidth = metrics.horizontalAdvance(caption);
    const double total = (withIcon ? iconSize + 5 : 0) + textWidth;
    double x = box.center().x() - total / 2;
    const double shift = state == State::Pressed ? 1 : 0;
    if (withIcon) {
        DrawIcon(p, icon, QRectF(x + shift, box.center().y() - iconSize / 2 + shift, iconSize, iconSize),
                 icon == Icon::Scissors && !primary && state != State::Disabled ? QColor(0xc9, 0x2a, 0x2a)
                                                                                : ink);
        x += iconSize + 5;
    }
    p.setFont(font);
    p.setPen(ink);
    p.drawText(QRectF(x + shift, box.top() + shift, textWidth + 2, box.height()),
               Qt::AlignLeft | Qt::AlignVCenter, caption);
    p.restore();
}

void DrawTitleIconButton(QPainter& p, const QRectF& box, Icon icon, State state) {
    p.save();
    p.setPen(Qt::NoPen);
    const QRectF plate = box.adjusted(1, 1, -1, -1);
    if (state == State::Hover)
        p.setBrush(icon == Icon::Close ? colour::kCloseRed : QColor(255, 255, 255, 46));
    else if (state == State::Pressed)
        p.setBrush(icon == Icon::Close ? colour::kCloseRed.darker(130) : QColor(0, 0, 0, 90));
    else
        p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(plate, 4, 4);
    const double s = std::round(box.height() * 0.62);
    QRectF glyph(box.center().x() - s / 2, box.center().y() - s / 2, s, s);
    if (state == State::Pressed)
        glyph.translate(0.7, 0.7);
    const QColor ink = state == State::Normal ? QColor(0xc6, 0xcc, 0xd3) : QColor(0xff, 0xff, 0xff);
    DrawIcon(p, icon, glyph, ink);
    p.restore();
}

static QImage MaskFrom(int width, int height, const QPainterPath& shape) {
    QImage mask = Picture(width, height, QImage::Format_RGB32);
    mask.fill(Qt::white);
    QPainter p(&mask);
    Antialias(p);
    p.fillPath(shape, Qt::black);
    return mask;
}

QImage RoundMask(int size) {
    QPainterPath circle;
    circle.addEllipse(QRectF(0, 0, size, size));
    return MaskFrom(size, size, circle);
}

QImage PillMask(int width, int height) {
    return MaskFrom(width, height, Pill(QRectF(0, 0, width, height)));
}

QImage KeyOnMagenta(const QImage& source) {
    const QImage argb = source.convertToFormat(QImage::Format_ARGB32);
    QImage out(argb.size(), QImage::Format_RGB32);
    out.setDevicePixelRatio(argb.devicePixelRatio());
    for (int y = 0; y < argb.height(); ++y) {
        const auto* in = reinterpret_cast<const QRgb*>(argb.constScanLine(y));
        auto* o = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < argb.width(); ++x)
            o[x] = qAlpha(in[x]) < 128 ? 0xFFFF00FF : (in[x] | 0xFF000000u);
    }
    return out;
}

QImage KeyedLike1x(QImage (*paint)()) {
    const int scale = g_scale;
    g_scale = 1;
    const QImage key = KeyOnMagenta(paint());
    g_scale = scale;
    if (scale == 1)
        return key;
    const QImage argb = paint().convertToFormat(QImage::Format_ARGB32);
    QImage out(argb.size(), QImage::Format_RGB32);
    out.setDevicePixelRatio(scale);
    for (int y = 0; y < argb.height(); ++y) {
        const auto* in = reinterpret_cast<const QRgb*>(argb.constScanLine(y));
        const auto* keyRow = reinterpret_cast<const QRgb*>(key.constScanLine(y / scale));
        auto* o = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < argb.width(); ++x) {
            const QRgb k = keyRow[x / scale];
            // A faint pixel inside the shape takes the colour the 1x edge pixel has.
            o[x] = k == 0xFFFF00FFu ? k : qAlpha(in[x]) >= 128 ? (in[x] | 0xFF000000u) : k;
        }
    }
    return out;
}

void Writer::Save(const char* program, int id, const QImage& image) {
    root_.mkpath(QLatin1String(program));
    const QString suffix = g_scale == 1 ? QString() : QStringLiteral("@%1x").arg(g_scale);
    const QString path =
        root_.filePath(QStringLiteral("%1/%2%3.png").arg(QLatin1String(program)).arg(id).arg(suffix));
    const bool opaque = !image.hasAlphaChannel();
    const QImage out = image.convertToFormat(opaque ? QImage::Format_RGB32 : QImage::Format_ARGB32);
    if (!out.save(path, "PNG", 9))
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
    ++count_;
}

} // namespace skinpaint
