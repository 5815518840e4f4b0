// The entry points of libquor_id3v2.so, the module that holds TagLib, so that the programs map
// TagLib only when a tag is read or written. Both sides are built together from this tree, so
// the C++ texts cross the boundary as they are.
#pragma once

#include "TagTexts.h"

namespace tags {

inline constexpr char kId3v2ModuleFile[] = "libquor_id3v2.so";
inline constexpr char kReadId3v2Name[] = "QuorReadId3v2";
inline constexpr char kWriteId3v2Name[] = "QuorWriteId3v2";

// true with *texts filled when the file's ID3v2 tag holds any of the five texts.
using ReadId3v2Function = bool (*)(const char* path, TagTexts* texts);
// As WriteId3v2.
using WriteId3v2Function = bool (*)(const char* path, const TagTexts* texts);

} // namespace tags
