// Time texts of the window, the slider's scale and the converter's arguments.
#include "splitter/slider/TimeText.h"

#include <cstdio>

std::string SplitTimeText(long seconds) {
    char text[64];
    // Two digits each by precision ("%0.2ld" would be the same: the 0 flag does nothing beside one).
    std::snprintf(text, sizeof text, "00:%.2ld:%.2ld", seconds / 60, seconds % 60);
    return text;
}
