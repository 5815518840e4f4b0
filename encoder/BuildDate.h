// The build date of the encoder library, read from the compiler's "Mmm dd yyyy" date text.
#pragma once

namespace blade {

struct BuildDate {
    int day;
    int month; // 1 to 12; 1 for an unknown month name
    int year;
};

BuildDate ParseBuildDate(const char* text);
// This library's own build date.
BuildDate LibraryBuildDate();

} // namespace blade
