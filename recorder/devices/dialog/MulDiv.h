// The rounded scaling between mixer values and slider positions.
#pragma once

#include <cstdint>

// (a × b + c / 2) / c with a 64-bit intermediate; 0 when c is 0 (a slider of range 0 … 0).
constexpr int32_t MulDiv(int32_t a, int32_t b, int32_t c) {
    if (c == 0)
        return 0;
    return static_cast<int32_t>((static_cast<int64_t>(a) * b + c / 2) / c);
}
