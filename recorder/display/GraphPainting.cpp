// Integer arithmetic as the display defines it; only the level length is computed in floating point.
#include "recorder/display/GraphPainting.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace graph {

int LitSegments(double value) {
    // Clamped before the conversion: a huge value lights every segment instead of overflowing.
    double v = std::trunc(std::clamp(value / 80.0, 0.0, 1000.0));
    return std::min(static_cast<int>(v) * kSegments / 100, kSegments);
}

int LevelLength(const double* values, int count, int width) {
    double a = 0, b = 0;
    for (int i = 0; i < count; ++i) {
        double v = std::fabs(values[i]);
        if (i % 2 == 0)
            a = std::max(a, v);
        else
            b = std::max(b, v);
    }
    double length = std::trunc((a + b) * width / 65536.0);
    // Anything past the right edge is clipped there anyway; keep the conversion defined.
    return static_cast<int>(std::clamp(length, 0.0, static_cast<double>(width) + 1));
}

Picture PictureOf(int mode, int width, int height, const double* values, int count) {
    Picture picture;
    picture.mode = mode;
    picture.width = width;
    picture.height = height;
    picture.count = count;
    if (mode == kModeSpectrum) {
        for (int i = 0; i < kColumns; ++i)
            picture.lit[i] = LitSegments(i < count ? values[i] : 0.0);
    } else if (mode == kModeLevel) {
        picture.lit[0] = LevelLength(values, count, width);
    }
    return picture;
}

namespace {

// Mode 7: segment (0 at the bottom) of column, lit or grey, over what was there.
void PaintSegment(QPainter& painter, int width, int height, int column, int segment, bool lit) {
    const int columnWidth = width / kColumns;
    const int segmentHeight = height / kSegments;
    const int firstZone = 60 * kSegments / 100;
    const int secondZone = 80 * kSegments / 100;
    const QColor& zone = segment < firstZone    ? kLowSegment
                         : segment < secondZone ? kMiddleSegment
                                                : kHighSegment;
    // One pixel stays black at the right and at the top of every segment.
    const int left = column * columnWidth;
    const int top = height - (segment + 1) * segmentHeight + 1;
    painter.fillRect(left, top, columnWidth - 1, segmentHeight - 1, lit ? zone : kUnlit);
}

} // namespace

void PaintSpectrumColumns(QPainter& painter, int width, int height, const double* values, int count) {
    painter.fillRect(0, 0, width, height, kBackground);
    for (int i = 0; i < kColumns; ++i) {
        const int lit = LitSegments(i < count ? values[i] : 0.0);
        for (int j = 0; j < kSegments; ++j)
            PaintSegment(painter, width, height, i, j, j < lit);
    }
}

void PaintLevelBar(QPainter& painter, int width, int height, const double* values, int count) {
    const int length = LevelLength(values, count, width);
    const int half = width / 2;
    const int ninety = width * 90 / 100;
    painter.fillRect(0, 0, width, height, kUnlit);
    auto zone = [&](int from, int to, const QColor& colour) {
        if (to - from > 0)
            painter.fillRect(from, 0, to - from, height, colour);
    };
    zone(0, std::min(length, half), kLevelLow);
    zone(half, std::min(length, ninety), kLevelMiddle);
    zone(ninety, length, kLevelHigh);
    painter.save();
    painter.setPen(QPen(kUnlit, 0));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(0, 0, width - 1, height - 1);
    painter.restore();
    for (int x = width - width % 5; x >= 0; x -= 5)
        painter.fillRect(x, 0, 1, height, kBackground);
}

} // namespace graph
