// Where a cut is written: a new temporary file in the target's folder, which becomes the target
// in one rename only once the cut is known to be complete. Until then the target (which may be
// the source itself) is never opened, and a failed or abandoned cut leaves nothing behind.
#pragma once

#include <string>
#include <system_error>

class CutOutput {
public:
    explicit CutOutput(std::string target);
    ~CutOutput(); // removes the temporary file unless it became the target
    CutOutput(const CutOutput&) = delete;
    CutOutput& operator=(const CutOutput&) = delete;

    // Creates the empty temporary file (mode as the user's file-creation mask gives).
    bool Create(std::error_code& error);
    const std::string& TempPath() const { return m_Temp; }
    // Flushes the temporary file to disk and renames it over the target.
    bool Commit(std::error_code& error);

private:
    std::string m_Target;
    std::string m_Temp;
    bool m_Committed = false;
};

// The longest file name, in bytes, that the folder's file system takes.
long LongestFileName(const std::string& folder);

// Whether the converter's output is a real cut: an MP3 whose length covers the range (the
// converter also ends well when it was asked to seek past the end, writing an empty file).
bool CutOutputComplete(const std::string& outputPath, long durationSec);

// Whether an existing target could be replaced: not a folder, and its folder takes new files.
bool Replaceable(const std::string& target);
