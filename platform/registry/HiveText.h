// The hive's file text: the format of Windows .reg exports, in UTF-8, ending with an end marker.
//
//   Windows Registry Editor Version 5.00
//
//   [HKEY_CURRENT_USER\Software\QuorRecorder]
//   "Savepath"="/home/mina/Music"
//   "FileTypeSel"=dword:00000000
//
//   ; end of hive
//
// Strings escape '\' and '"' with a backslash. Values that no quoted string can hold (line
// breaks, missing terminating null) and other types are written as hex(N): byte lists. The end
// marker is what tells a complete file from one cut off at a line boundary.
#pragma once

#include "platform/registry/Hive.h"

#include <optional>
#include <string>
#include <string_view>

namespace platform {

// Parses a whole file; nullopt when it is not a complete hive text (truncated, binary, garbage).
std::optional<Hive> ParseHiveText(std::string_view text);

std::string FormatHiveText(const Hive& hive);

} // namespace platform
