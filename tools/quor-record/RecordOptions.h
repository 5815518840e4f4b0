// quor-record's command line: the options, their parsing, the help text and the exit codes.
#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// Exit codes, listed in the help text.
constexpr int kRecordOk = 0;        // finished: duration, silence, or SIGINT/SIGTERM
constexpr int kRecordFailed = 1;    // could not record: encoder library missing, capture refused
constexpr int kRecordUsage = 2;     // bad options
constexpr int kRecordNoServer = 3;  // the sound server cannot be reached, or went away
constexpr int kRecordFileError = 4; // the file cannot be created, or the disk is full
constexpr int kRecordNoSource = 5;  // --source names no source, --app no playing application

// Silence for --until-silence: every sample below this share of full scale (-50 dBFS).
constexpr double kSilenceDbfs = -50.0;

struct RecordOptions {
    // kFileTypeMp3 or kFileTypeWav: --format, else the FILE's extension (.mp3, .wav) when it has one.
    std::optional<int32_t> fileType;
    std::optional<std::string> quality; // --quality: a label or an index, checked against the format
    std::optional<std::chrono::seconds> duration;
    std::optional<std::chrono::seconds> untilSilence;
    std::optional<std::string> source;
    std::optional<std::string> application; // --app
    bool listSources = false;
    bool help = false;
    bool version = false;
    std::optional<std::string> file;
};

// "90s", "45m", "1h30m", "2h", "1h0m30s" or plain seconds "90". Positive, at most 7 days.
std::optional<std::chrono::seconds> ParseRecordTime(const std::string& text);

// The format a file name's extension names (.mp3 or .wav, in any case); nullopt for any other.
std::optional<int32_t> FormatOfName(const std::string& file);

// Parses the arguments after the program name. On a mistake: nullopt and one line in *error.
// A --format that contradicts the FILE's extension is a mistake, and so is "-" as FILE.
std::optional<RecordOptions> ParseRecordOptions(const std::vector<std::string>& args, std::string* error);

// The preset index that `quality` names for the file type: its label (also without the part from
// " - " on, ignoring case) or its index. nullopt when it names none.
std::optional<int32_t> ResolveQuality(int32_t fileType, const std::string& quality);

// The short usage (for mistakes) and the full help.
std::string RecordUsage();
std::string RecordHelp();
