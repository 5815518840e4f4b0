// The ID3v2 tag at the start of an MP3, which players read before the ID3v1 record: the five
// texts in UTF-16, full length, as ID3v2.3 (the version every player reads). TagLib stays
// behind this file.
#pragma once

#include "recorder/tags/TagTexts.h"

#include <cstdint>
#include <optional>
#include <string>

namespace tags {

// The five texts of the file's ID3v2 tag; nullopt when the file has no such tag or its tag
// holds none of the five.
std::optional<TagTexts> ReadId3v2(const std::string& path);

// Writes the five texts into the file's ID3v2 tag, in place, as ID3v2.3 in UTF-16; other frames
// of an existing tag are kept, an empty text removes its frame and a tag left empty is removed.
// The ID3v1 record at the end is not touched. false when the file could not be written.
bool WriteId3v2(const std::string& path, const TagTexts& texts);

// Bytes taken by the ID3v2 tag at the start of the file (header, frames, padding, footer); 0
// when the file does not begin with one, -1 when it cannot be read.
int64_t Id3v2Length(const std::string& path);

} // namespace tags
