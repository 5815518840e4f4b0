// The test a file passes before the splitter takes it: the media library reads it and the
// player decodes a second or more of it as MP3 (a WAV or Ogg file named .mp3 does not pass).
#pragma once

#include "splitter/media/MediaProps.h"

#include <optional>
#include <string>

// The file's properties when it can be played and cut, its duration the decoded length in whole
// seconds; nothing otherwise.
std::optional<MediaProps> ReadPlayableFile(const std::string& path);
