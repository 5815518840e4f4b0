// The version description the update server delivers: INI text, section "UPDATE", keys "ver",
// "url", "filename", "holddate". Read as the Windows profile reader would: section and key names
// without regard to case, values trimmed, each at most 259 characters, empty when missing.
#pragma once

#include <string>

struct VersionInfo {
    std::string ver;
    std::string url;
    std::string filename;
    std::string holddate;
};

// Empty fields when the file is missing or unreadable.
VersionInfo ReadVersionFile(const std::string& path);
VersionInfo ParseVersionText(const std::string& text);

// A patch file name the server may give: a plain name in the download folder. Empty names,
// absolute paths, path separators, ".." and control characters are refused.
bool IsSafePatchFileName(const std::string& name);
