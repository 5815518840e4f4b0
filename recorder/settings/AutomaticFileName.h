// The name a recording gets when the user does not choose one: the local time of the start and
// the extension of the file type.
#pragma once

#include <cstdint>
#include <ctime>
#include <string>

// "%Y%m%d_%H%M%S" of `when` in local time, then ".mp3", ".wav" or ".ogg" by fileType (any other
// type is named as MP3, as the window does). For example "20260314_093005.mp3".
std::string AutomaticFileName(int32_t fileType, std::time_t when);
