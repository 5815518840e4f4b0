// Real media files for the splitter's tests, made by the installed ffmpeg.
#pragma once

#include <string>
#include <vector>

namespace splittest {

// Runs a program with an argument list (no shell), standard input closed, output discarded.
// Returns its exit code, or -1 when it could not run.
int RunProgram(const std::vector<std::string>& argv);
// Same, returning standard output.
std::string RunProgramOutput(const std::vector<std::string>& argv);

// A stereo sine MP3 (LAME through ffmpeg). Returns false when ffmpeg failed.
bool MakeToneMp3(const std::string& path, double seconds, int frequency = 440, int sampleRate = 44100,
                 int kbps = 128, int channels = 2);
// An MP3 whose tone changes: first frequency up to splitSec, second after.
bool MakeTwoToneMp3(const std::string& path, double seconds, double splitSec, int first, int second);
// A stereo MP3 of a 440 Hz tone at 0.9 of full scale with `pauseSec` of digital silence in the
// middle: toneSec, the pause, toneSec again.
bool MakePausedToneMp3(const std::string& path, double toneSec, double pauseSec);
// A variable bit rate MP3 with no length header (no Xing frame), starting with a second of
// silence, so that a length guessed from its first frames runs long.
bool MakeVbrMp3WithoutHeader(const std::string& path, double seconds);
// A short MPEG-4 Visual video (test pattern) with an MP3 audio track.
bool MakeMpeg4Video(const std::string& path, double seconds);

// ffprobe's reading of a file: duration in seconds (negative when unreadable), channels, codec.
struct ProbeResult {
    double seconds = -1;
    int channels = 0;
    int sampleRate = 0;
    std::string codec;
};
ProbeResult Probe(const std::string& path);
// ffprobe's value of one of the file's tags ("title", "artist", …); empty when it has none.
std::string ProbeTag(const std::string& path, const std::string& key);

} // namespace splittest
