// The two-thumb slider's arithmetic: range rules, clamping, pixel scale and the ruler's marks.
// Free of widgets so that it is tested on its own.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace slider {

constexpr int kMargin = 18;    // scale margin at both ends
constexpr int kThumbSize = 19; // thumb windows are square
constexpr int kHeight = 60;    // the horizontal slider's fixed height

struct Range {
    int minimum = 0;
    int maximum = 1;
    int tick = 10;
    int start = 0;
    int end = 1;
    int initialStart = 0;
    int initialEnd = 1;
};

// SetRange's rules: refuses fewer than 2 units; tick 1 for short ranges; selection = whole range.
bool ApplyRange(Range& range, int minimum, int maximum, int tick);

// The selection PlaceThumbs would store: clamped into the range, the moving thumb stopped at the
// other one.
std::pair<int, int> ClampSelection(const Range& range, int start, int end, bool moveStart, bool moveEnd);

// Pixels per second over a client width.
double Scale(int clientWidth, const Range& range);
// x of a value (already relative to the minimum) on the scale.
int ValueX(int value, double scale);
// Seconds moved by a drag of px pixels.
int DragSeconds(int px, double scale);

// Every how many ticks a label is drawn, for N ticks.
int LabelInterval(int ticks);

struct ScaleMark {
    int x = 0;
    bool longTick = false; // long line to t + 25 (with a label); else a short one to t + 22
    std::string label;     // empty for the short end tick
};
// The ruler's ticks and labels over a client width, in drawing order.
std::vector<ScaleMark> ScaleMarks(const Range& range, int clientWidth);

} // namespace slider
