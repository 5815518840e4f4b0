// Real MP3 files and conditions for the tag tests: a recording without tags, the bytes after an
// ID3v2 tag, and file permissions that hold even for root.
#pragma once

#include <string>

namespace tagtest {

// A short tone MP3 with no tag of any kind, as the recorder writes it.
bool MakePlainMp3(const std::string& path, double seconds = 1.0);

// The bytes after the ID3v2 tag at the start (all of them when there is none), from the header.
std::string AfterId3v2(const std::string& bytes);

// While alive, the process acts as the unprivileged user "nobody" when it runs as root, so that
// a read-only file or folder is read-only to it; otherwise nothing changes.
class Unprivileged {
public:
    Unprivileged();
    ~Unprivileged();
    Unprivileged(const Unprivileged&) = delete;
    Unprivileged& operator=(const Unprivileged&) = delete;

private:
    bool m_Dropped = false;
};

} // namespace tagtest
