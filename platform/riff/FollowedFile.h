// A recording's file followed by what it is, not by its name: where it is now after a rename or a
// move, whether it was deleted, and how large it is.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace platform {

class FollowedFile {
public:
    // Follows the file that path names now; follows nothing when there is none.
    explicit FollowedFile(const std::string& path);
    ~FollowedFile();
    FollowedFile(const FollowedFile&) = delete;
    FollowedFile& operator=(const FollowedFile&) = delete;

    bool Following() const { return m_Fd >= 0; }
    // True once the file has no name left anywhere (deleted, or its folder was).
    bool Deleted() const;
    // True while path names this very file (through links too).
    bool IsAt(const std::string& path) const;
    // Its path now, once it is no longer at its old one; nullopt when deleted or not followed.
    std::optional<std::string> CurrentPath() const;
    // Its size now; 0 when not followed.
    uint64_t Size() const;

private:
    int m_Fd = -1;
};

// The largest file this process may write (the soft RLIMIT_FSIZE, `ulimit -f`); nullopt when unlimited.
std::optional<uint64_t> FileSizeLimit();

} // namespace platform
