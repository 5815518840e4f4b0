// The splitter's one process-wide record: the paths of the loaded file and of the last cut, and
// the media properties of the last query. Window thread only.
#pragma once

#include "splitter/media/MediaProps.h"

#include <string>

struct SplitContext {
    std::string inputName;
    std::string inputFolder;
    std::string inputPath;
    std::string outputPath;
    std::string outputFolder;
    std::string outputName;
    MediaProps media;

    // The record of this process, constructed before the application starts.
    static SplitContext& Instance();
};

// The text before and after the last '/' (the whole text is the name when there is none).
std::string FolderPart(const std::string& path);
std::string NamePart(const std::string& path);
