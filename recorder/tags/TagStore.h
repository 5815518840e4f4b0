// The tags as the tag editor sees them: read from the ID3v2 tag when the file has one (else from
// the ID3v1 record), saved into both.
#pragma once

#include "recorder/tags/TagTexts.h"

#include <string>

namespace tags {

// The ID3v2 texts when the file's ID3v2 tag holds any of the five, else the ID3v1 texts (empty
// when there is none). Reads the ID3v1 record as Id3v1TagFile::Read does, which appends an empty
// record to a file that has none.
TagTexts ReadTags(const std::string& path);

// Writes the ID3v1 record in place, field by field (artist, album, title, year, comment), every
// field attempted even when one fails. false when any failed.
bool WriteId3v1(const std::string& path, const TagTexts& texts);

// Writes both tags on a copy of the file and lets the copy replace it only when both were
// written and the audio between them is byte for byte the file's own: any failure leaves the file
// as it was. false on failure.
bool SaveTags(const std::string& path, const TagTexts& texts);

} // namespace tags
