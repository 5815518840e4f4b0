// Opt-in start-up probe for the benchmarks in bench/startup: with QUOR_REPORT_FIRST_PAINT=1 in the
// environment, a window calls this at the end of each paintEvent and the first call prints one
// line to stderr. Without the variable nothing is printed and nothing else changes.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace ui {

inline void ReportFirstPaint(const char* windowName) {
    static bool reported = false;
    if (reported)
        return;
    reported = true;
    const char* flag = std::getenv("QUOR_REPORT_FIRST_PAINT");
    if (flag && std::strcmp(flag, "1") == 0) {
        std::fprintf(stderr, "QUOR_FIRST_PAINT %s\n", windowName);
        std::fflush(stderr);
    }
}

} // namespace ui
