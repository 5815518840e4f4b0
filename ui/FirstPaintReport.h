// Opt-in start-up probe for the benchmarks in bench/startup: with QUOR_REPORT_FIRST_PAINT=1 in the
// environment, a window calls this at the end of each paintEvent and the first call prints one
// line to stderr; the splitter also marks the first paint that shows an opened file's length.
// Without the variable nothing is printed and nothing else changes.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace ui {

// Prints "QUOR_<mark> <window>" once per mark, when reports are asked for.
template <const char* Mark> void ReportOnce(const char* windowName) {
    static bool reported = false;
    if (reported)
        return;
    reported = true;
    const char* flag = std::getenv("QUOR_REPORT_FIRST_PAINT");
    if (flag && std::strcmp(flag, "1") == 0) {
        std::fprintf(stderr, "QUOR_%s %s\n", Mark, windowName);
        std::fflush(stderr);
    }
}

inline constexpr char kFirstPaintMark[] = "FIRST_PAINT";
inline constexpr char kFileShownMark[] = "FILE_SHOWN";

inline void ReportFirstPaint(const char* windowName) {
    ReportOnce<kFirstPaintMark>(windowName);
}
inline void ReportFileShown(const char* windowName) {
    ReportOnce<kFileShownMark>(windowName);
}

} // namespace ui
