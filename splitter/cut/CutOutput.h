// Where a cut is written: a new temporary file in the target's folder, which becomes the target
// in one rename only once the cut is known to be complete. Until then the target (which may be
// the source itself) is never opened, and a failed or abandoned cut leaves nothing behind.
#pragma once

#include <chrono>
#include <string>
#include <system_error>

class CutOutput {
public:
    explicit CutOutput(std::string target);
    ~CutOutput(); // removes the temporary file unless it became the target
    CutOutput(const CutOutput&) = delete;
    CutOutput& operator=(const CutOutput&) = delete;

    // Creates the empty temporary file (mode as the user's file-creation mask gives), locked for
    // as long as this object holds it: a lock that outlives no process marks a file left behind.
    bool Create(std::error_code& error);
    const std::string& TempPath() const { return m_Temp; }
    // Flushes the temporary file to disk and renames it over the target.
    bool Commit(std::error_code& error);
    // Removes the temporary file now (as the destructor would).
    void Discard();

private:
    std::string m_Target;
    std::string m_Temp;
    int m_Fd = -1;
    bool m_Committed = false;
};

// Removes the temporary files in folder that a cut killed before it ended left behind: ours by
// their name, and held by no running cut. Returns how many went.
int RemoveStaleCutFiles(const std::string& folder);

// The longest file name, in bytes, that the folder's file system takes.
long LongestFileName(const std::string& folder);

// What a complete cut of durationSec seconds from startSec holds: the range, or where the range
// runs to the source's end, what the source decodes to from startSec on (the length a media
// library reads can run past the real end).
std::chrono::milliseconds ExpectedCut(const std::string& sourcePath, long startSec, long durationSec,
                                      bool toTheEnd);

// Whether the converter's output is a real cut: an MP3 whose length covers `expected` (the
// converter also ends well when it was asked to seek past the end, writing an empty file).
bool CutOutputComplete(const std::string& outputPath, std::chrono::milliseconds expected);

// Whether an existing target could be replaced: not a folder, and its folder takes new files.
bool Replaceable(const std::string& target);
