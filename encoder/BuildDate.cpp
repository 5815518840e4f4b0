// Parsing of the compiler's date text, and the date this file was compiled.
#include "encoder/BuildDate.h"

#include <cstdlib>
#include <cstring>

namespace blade {

BuildDate ParseBuildDate(const char* text) {
    static const char* const kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                          "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    BuildDate date{0, 1, 0};
    if (!text || std::strlen(text) < 11)
        return date;
    for (int i = 0; i < 12; ++i) {
        if (std::strncmp(text, kMonths[i], 3) == 0)
            date.month = i + 1;
    }
    date.day = static_cast<int>(std::strtol(text + 4, nullptr, 10));
    date.year = static_cast<int>(std::strtol(text + 7, nullptr, 10));
    return date;
}

BuildDate LibraryBuildDate() {
    return ParseBuildDate(__DATE__);
}

} // namespace blade
