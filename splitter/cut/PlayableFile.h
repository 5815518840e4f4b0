// The test a file passes before the splitter takes it: the media library reads a length of a
// second or more and the player decodes it as MP3 (a WAV or Ogg file named .mp3 does not pass).
#pragma once

#include "splitter/media/MediaProps.h"

#include <optional>
#include <string>

// The file's properties when it can be played and cut; nothing otherwise.
std::optional<MediaProps> ReadPlayableFile(const std::string& path);
