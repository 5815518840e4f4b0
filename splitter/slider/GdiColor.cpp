// Row-by-row gradients, so each pixel's colour is known exactly.
#include "splitter/slider/GdiColor.h"

#include <vector>

namespace {
int Mix(int a, int b, int num, int den) {
    return den == 0 ? a : a + (b - a) * num / den;
}
} // namespace

void FillVerticalGradient(QPainter& painter, const QRect& rect, std::initializer_list<uint32_t> colours) {
    std::vector<QRgb> c;
    for (uint32_t colour : colours)
        c.push_back(FromColorRef(colour));
    if (c.empty() || rect.isEmpty())
        return;
    if (c.size() == 1) {
        painter.fillRect(rect, QColor(c[0]));
        return;
    }
    const int bands = static_cast<int>(c.size()) - 1;
    const int bandHeight = rect.height() / bands;
    for (int band = 0; band < bands; ++band) {
        const QRgb from = c[band], to = c[band + 1];
        const int top = rect.top() + band * bandHeight;
        for (int row = 0; row < bandHeight; ++row) {
            QColor colour(Mix(qRed(from), qRed(to), row, bandHeight - 1),
                          Mix(qGreen(from), qGreen(to), row, bandHeight - 1),
                          Mix(qBlue(from), qBlue(to), row, bandHeight - 1));
            painter.fillRect(QRect(rect.left(), top + row, rect.width(), 1), colour);
        }
    }
}

void FrameRect(QPainter& painter, const QRect& rect, QRgb colour) {
    if (rect.isEmpty())
        return;
    const QColor c(colour);
    painter.fillRect(QRect(rect.left(), rect.top(), rect.width(), 1), c);
    painter.fillRect(QRect(rect.left(), rect.bottom(), rect.width(), 1), c);
    painter.fillRect(QRect(rect.left(), rect.top(), 1, rect.height()), c);
    painter.fillRect(QRect(rect.right(), rect.top(), 1, rect.height()), c);
}
