// Keyboard cues per window, and the ring by erosion of the shape's alpha.
#include "ui/FocusMark.h"

#include <QApplication>
#include <QEvent>
#include <QWidget>

#include <algorithm>
#include <vector>

namespace {

const char* const kKeyboardCues = "quorKeyboardCues";

// Any key pressed in a window turns its cues on, a mouse press turns them off; a new window takes
// them from its owner.
class KeyboardCueWatch : public QObject {
protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        const QEvent::Type type = event->type();
        if (type != QEvent::KeyPress && type != QEvent::MouseButtonPress && type != QEvent::Show)
            return false;
        auto* widget = qobject_cast<QWidget*>(watched);
        if (!widget)
            return false;
        if (type == QEvent::Show) {
            // A box opened from the keyboard shows where the keyboard is in it from the start.
            const QWidget* owner =
                widget->parentWidget() ? widget->parentWidget()->window() : QApplication::activeWindow();
            if (widget->isWindow() && owner && !widget->property(kKeyboardCues).isValid())
                widget->setProperty(kKeyboardCues, owner->property(kKeyboardCues).toBool());
            return false;
        }
        QWidget* window = widget->window();
        const bool cues = type == QEvent::KeyPress;
        if (window->property(kKeyboardCues).toBool() != cues) {
            window->setProperty(kKeyboardCues, cues);
            if (QWidget* focused = window->focusWidget())
                focused->update();
        }
        return false;
    }
};

void WatchOnce() {
    static KeyboardCueWatch* watch = nullptr;
    if (!watch && qApp) {
        watch = new KeyboardCueWatch;
        watch->setParent(qApp);
        qApp->installEventFilter(watch);
    }
}

} // namespace

namespace ui {

bool ShowsFocusMark(const QWidget* control) {
    WatchOnce();
    return control->hasFocus() && control->window()->property(kKeyboardCues).toBool();
}

QImage FocusRing(const QImage& shape, int width) {
    const QImage source = shape.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const int w = source.width(), h = source.height();
    width = qRound(width * shape.devicePixelRatio()); // the ring is as wide on every screen
    std::vector<int> alpha(size_t(w) * h);
    for (int y = 0; y < h; ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(source.constScanLine(y));
        for (int x = 0; x < w; ++x)
            alpha[size_t(y) * w + x] = qAlpha(line[x]);
    }
    const auto at = [&](int x, int y) {
        return x < 0 || y < 0 || x >= w || y >= h ? 0 : alpha[size_t(y) * w + x];
    };

    // What lies more than `width` pixels inside the edge stays clear: the ring is the shape minus
    // its erosion by a disc of that radius.
    QImage ring(w, h, QImage::Format_ARGB32_Premultiplied);
    ring.setDevicePixelRatio(shape.devicePixelRatio());
    const QRgb accent = kFocusAccent.rgb();
    for (int y = 0; y < h; ++y) {
        auto* out = reinterpret_cast<QRgb*>(ring.scanLine(y));
        for (int x = 0; x < w; ++x) {
            int inner = at(x, y);
            for (int dy = -width; dy <= width && inner > 0; ++dy)
                for (int dx = -width; dx <= width; ++dx)
                    if (dx * dx + dy * dy <= width * width)
                        inner = std::min(inner, at(x + dx, y + dy));
            const int a = at(x, y) - inner;
            out[x] = qRgba(qRed(accent) * a / 255, qGreen(accent) * a / 255, qBlue(accent) * a / 255, a);
        }
    }
    return ring;
}

} // namespace ui
