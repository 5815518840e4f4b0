// Media properties through libmediainfo, loaded at run time on first use.
#pragma once

#include "splitter/media/MediaProps.h"

#include <cstdint>
#include <string>

// Fills record from the file at path (UTF-8). False when the library is not available or could
// not open the file; the record is then left exactly as it was.
bool QueryMedia(const std::string& path, MediaProps& record);

// The number before the first blank of text ("44.1 kHz" -> 44.1), times factor, truncated toward
// zero. 0 when there is no blank or no number.
int32_t LeadingNumber(const std::string& text, double factor);

// The library converts 8-bit file names through the C library's character-type locale: make it
// UTF-8 whatever the environment says. Returns whether it is UTF-8 afterwards.
bool EnsureUtf8CharacterLocale();
