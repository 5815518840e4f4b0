// Formatting the live line; the bar spans -60..0 dBFS.
#include "tools/quor-record/StatusLine.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {
constexpr int kBarWidth = 20;
constexpr double kBarFloorDb = -60.0;
} // namespace

std::string StatusLine(uint64_t elapsedSeconds, uint64_t fileBytes, int peak) {
    const double db = peak > 0 ? 20.0 * std::log10(peak / 32768.0) : -1000.0;
    const int filled = std::clamp(
        static_cast<int>(std::lround((db - kBarFloorDb) / -kBarFloorDb * kBarWidth)), 0, kBarWidth);
    std::string bar = std::string(static_cast<size_t>(filled), '#') + std::string(kBarWidth - filled, '.');
    char size[32];
    if (fileBytes < 1024 * 1024)
        std::snprintf(size, sizeof size, "%6.1f kB", fileBytes / 1024.0);
    else
        std::snprintf(size, sizeof size, "%6.1f MB", fileBytes / (1024.0 * 1024.0));
    char level[16];
    if (db <= kBarFloorDb)
        std::snprintf(level, sizeof level, "   - dB");
    else
        std::snprintf(level, sizeof level, "%4ld dB", std::lround(db));
    char line[128];
    std::snprintf(line, sizeof line, "%02llu:%02llu:%02llu  %s  [%s] %s",
                  static_cast<unsigned long long>(elapsedSeconds / 3600),
                  static_cast<unsigned long long>(elapsedSeconds / 60 % 60),
                  static_cast<unsigned long long>(elapsedSeconds % 60), size, bar.c_str(), level);
    return line;
}
