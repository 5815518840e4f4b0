// What opening a file in QuorSplit runs, in one call: the window's test of the file (media query,
// the decoder's quick look and its length), the player's exact open with its full scan, the
// loudness picture's scan (full, and sparse as for a long file), and the first second of playback
// from the start and from the middle, read in the playback stream's
// chunks. Shared by the open-path fuzzer and the test that opens every seed.
#pragma once

#include "splitter/media/MediaProps.h"

#include <cstdint>
#include <optional>
#include <string>

struct OpenedFile {
    std::optional<MediaProps> taken; // what the window takes, with the length it shows
    bool playable = false;           // the player opens it
    int64_t exactMs = 0;             // its length after a full scan
    int64_t framesPlayed = 0;        // sample frames decoded in the two seconds of playback
    bool readsWholeFrames = true;    // every read gave whole sample frames, never more than asked
    bool pictureHolds = true;        // the loudness scans, full and sparse, ended within their steps
};

OpenedFile OpenAsTheSplitterDoes(const std::string& path);
