// A change to a file made on a copy beside it, which replaces the file in one rename only when
// the whole change succeeded: a failure at any step leaves the file exactly as it was.
#pragma once

#include <string>

namespace tags {

class FileReplacement {
public:
    FileReplacement() = default;
    ~FileReplacement(); // removes a copy that was never committed
    FileReplacement(const FileReplacement&) = delete;
    FileReplacement& operator=(const FileReplacement&) = delete;

    // Copies the file (a symbolic link is followed to its target) to a new file in the same
    // folder, which takes the file's owner and, at the commit, its permissions. false when the file cannot be
    // written by this process (a read-only file is never replaced), the copy cannot be made, or Begin was
    // called before.
    bool Begin(const std::string& path);
    // The copy to change, once Begin succeeded.
    const std::string& CopyPath() const { return m_Copy; }
    // The file that the copy will replace (the target of a link).
    const std::string& TargetPath() const { return m_Target; }
    // Flushes the copy to the disk and renames it over the file. false, the file untouched and
    // the copy removed, when that fails.
    bool Commit();

private:
    void Discard();

    std::string m_Target;
    std::string m_Copy;
    unsigned m_Mode = 0600;
};

} // namespace tags
