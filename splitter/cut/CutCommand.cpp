// Converter arguments.
#include "splitter/cut/CutCommand.h"

#include <cstdio>
#include <filesystem>

namespace {

// "file:" keeps names such as "-x.mp3" or "concat:a|b" plain file names for FFmpeg.
std::string PlainFile(const std::string& path) {
    std::error_code ec;
    std::filesystem::path p(path);
    if (!p.is_absolute())
        p = std::filesystem::absolute(p, ec);
    return "file:" + (ec ? path : p.string());
}

} // namespace

std::string ConverterTimeText(long seconds) {
    char text[64];
    std::snprintf(text, sizeof text, "%02ld:%02ld:%02ld", seconds / 3600, seconds / 60 % 60, seconds % 60);
    return text;
}

std::string ConverterArgumentString(const CutRequest& r) {
    return "-ss " + ConverterTimeText(r.startSec) + " -t " + ConverterTimeText(r.durationSec) + " -i \"" +
           r.inputPath + "\" -acodec libmp3lame -ac 1 -ar " + std::to_string(r.sampleRate) + " -ab " +
           std::to_string(r.bitRate) + "K -y \"" + r.outputPath + "\"";
}

std::vector<std::string> ConverterArguments(const CutRequest& r) {
    return {"-nostdin",  "-nostats",
            "-progress", "pipe:1",
            "-ss",       ConverterTimeText(r.startSec),
            "-t",        ConverterTimeText(r.durationSec),
            "-i",        PlainFile(r.inputPath),
            "-acodec",   "libmp3lame",
            "-ac",       "1",
            "-ar",       std::to_string(r.sampleRate),
            "-ab",       std::to_string(r.bitRate) + "K",
            "-y",        PlainFile(r.outputPath)};
}
