// The two pictures of the display control, drawn on any painter over a W x H rectangle at the
// origin, with the integer geometry and the colours of the display.
#pragma once

#include <QColor>

#include <array>

class QPainter;

namespace graph {

inline const QColor kUnlit(64, 64, 64);
inline const QColor kBackground(0, 0, 0);
inline const QColor kLowSegment(195, 245, 55);
inline const QColor kMiddleSegment(255, 195, 0);
inline const QColor kHighSegment(250, 40, 0);
inline const QColor kLevelLow(30, 180, 0);
inline const QColor kLevelMiddle(255, 255, 0);
inline const QColor kLevelHigh(255, 0, 0);

constexpr int kModeSpectrum = 7;
constexpr int kModeLevel = 9;
constexpr int kColumns = 10;
constexpr int kSegments = 8;

// Segments lit by one spectrum value: value / 80 truncated, times 8, divided by 100.
int LitSegments(double value);
// Level bar length in pixels for width W: (a + b) * W / 65536, truncated, where a and b are the
// largest values at even and odd positions.
int LevelLength(const double* values, int count, int width);

// What a paint of a value set shows, reduced to the numbers the painting depends on: the lit
// segments of each column (mode 7) or the bar's length (mode 9), with the size painted. Value
// sets with equal pictures paint the same pixels.
struct Picture {
    int mode = 0;
    int width = 0;
    int height = 0;
    int count = 0;
    std::array<int, kColumns> lit{};
    bool operator==(const Picture&) const = default;
};
Picture PictureOf(int mode, int width, int height, const double* values, int count);

// Mode 7: ten columns of eight segments showing values 0..9 (missing values count as 0).
void PaintSpectrumColumns(QPainter& painter, int width, int height, const double* values, int count);
// Mode 9: the green, yellow and red bar over grey, framed, cut every 5 pixels.
void PaintLevelBar(QPainter& painter, int width, int height, const double* values, int count);

} // namespace graph
