// The names by which the recorder recognises the stereo-mix line among the capture lines: the
// mixer gives that name to the default output's monitor alone, the discovery looks for it.
#pragma once

#include <string>

namespace platform {

// Begins with "stereo mixer", "sum" or "스테레오 믹스" (exactly, case-sensitive, at the first
// character).
inline bool IsStereoMixName(const std::u16string& lineName) {
    for (const char16_t* prefix : {u"stereo mixer", u"sum", u"스테레오 믹스"})
        if (lineName.compare(0, std::char_traits<char16_t>::length(prefix), prefix) == 0)
            return true;
    return false;
}

} // namespace platform
