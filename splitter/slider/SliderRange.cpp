// Range rules and ruler layout of the two-thumb slider.
#include "splitter/slider/SliderRange.h"

#include "splitter/slider/TimeText.h"

#include <cmath>

namespace slider {

bool ApplyRange(Range& range, int minimum, int maximum, int tick) {
    const int d = maximum - minimum;
    if (d < 2)
        return false;
    if (tick < 1)
        tick = 1;
    if (d / tick == 1 || d < tick)
        tick = 1;
    if (d <= 60)
        tick = 1;
    range.minimum = minimum;
    range.maximum = maximum;
    range.tick = tick;
    range.start = range.initialStart = minimum;
    range.end = range.initialEnd = maximum;
    return true;
}

std::pair<int, int> ClampSelection(const Range& range, int a, int b, bool moveStart, bool moveEnd) {
    if (a < range.minimum)
        a = range.minimum;
    if (b > range.maximum)
        b = range.maximum;
    if (moveStart && a > b)
        a = b;
    if (moveEnd && b < a)
        b = a;
    return {a, b};
}

double Scale(int clientWidth, const Range& range) {
    return (clientWidth - 2 * kMargin) * 1.0 / (range.maximum - range.minimum);
}

int ValueX(int value, double scale) {
    return static_cast<int>(std::trunc(value * scale)) + kMargin;
}

int DragSeconds(int px, double scale) {
    return static_cast<int>(std::trunc(px / scale));
}

int LabelInterval(int ticks) {
    if (ticks <= 10)
        return 2;
    if (ticks <= 30)
        return 5;
    if (ticks <= 60)
        return 10;
    if (ticks <= 300)
        return 30;
    if (ticks <= 499)
        return 60;
    return 120;
}

std::vector<ScaleMark> ScaleMarks(const Range& range, int clientWidth) {
    std::vector<ScaleMark> marks;
    const int n = (range.maximum - range.minimum) / range.tick;
    if (n <= 0)
        return marks;
    const double step = (clientWidth - 2 * kMargin) * 1.0 / n;
    const int k = LabelInterval(n);
    double position = kMargin;
    for (int i = 0; i <= n; ++i, position += step) {
        const int x = static_cast<int>(std::trunc(position));
        if (i == 0)
            marks.push_back({x, true, "0"});
        else if (i % k == 0)
            marks.push_back({x, true, SplitTimeText(static_cast<long>(i) * range.tick)});
        else if (i == n)
            marks.push_back({x, false, ""});
    }
    return marks;
}

} // namespace slider
