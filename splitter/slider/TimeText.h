// The splitter's time texts.
#pragma once

#include <string>

// "00:%0.2ld:%0.2ld" of (seconds / 60, seconds % 60): the hour is always "00" and minutes are
// not carried into hours (3725 gives 00:62:05).
std::string SplitTimeText(long seconds);
