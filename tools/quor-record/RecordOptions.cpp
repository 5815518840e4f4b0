// Parsing quor-record's options; the help text lists every option, the presets and exit codes.
#include "tools/quor-record/RecordOptions.h"

#include "recorder/settings/QualityPresets.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <filesystem>

namespace {

constexpr std::chrono::seconds kLongestTime = std::chrono::hours(24 * 7);

std::optional<long long> ParseCount(const std::string& text) {
    long long value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

// Options that take a value accept "--name VALUE" and "--name=VALUE".
bool TakeValue(const std::vector<std::string>& args, size_t& i, const std::string& name, std::string* value,
               std::string* error) {
    const std::string& arg = args[i];
    if (arg.starts_with(name + "=")) {
        *value = arg.substr(name.size() + 1);
        return true;
    }
    if (i + 1 >= args.size()) {
        *error = name + " needs a value";
        return false;
    }
    *value = args[++i];
    return true;
}

} // namespace

std::optional<std::chrono::seconds> ParseRecordTime(const std::string& text) {
    if (auto plain = ParseCount(text)) {
        if (*plain <= 0 || *plain > kLongestTime.count())
            return std::nullopt;
        return std::chrono::seconds(*plain);
    }
    // Units in falling order, each at most once: h, m, s.
    static constexpr std::pair<char, long long> kUnits[] = {{'h', 3600}, {'m', 60}, {'s', 1}};
    long long total = 0;
    size_t pos = 0;
    size_t unit = 0;
    while (pos < text.size()) {
        size_t digitsEnd = pos;
        while (digitsEnd < text.size() && std::isdigit(static_cast<unsigned char>(text[digitsEnd])))
            ++digitsEnd;
        if (digitsEnd == pos || digitsEnd == text.size() || digitsEnd - pos > 9)
            return std::nullopt;
        while (unit < std::size(kUnits) && kUnits[unit].first != text[digitsEnd])
            ++unit;
        if (unit == std::size(kUnits))
            return std::nullopt;
        total += *ParseCount(text.substr(pos, digitsEnd - pos)) * kUnits[unit].second;
        ++unit;
        pos = digitsEnd + 1;
    }
    if (total <= 0 || total > kLongestTime.count())
        return std::nullopt;
    return std::chrono::seconds(total);
}

std::optional<RecordOptions> ParseRecordOptions(const std::vector<std::string>& args, std::string* error) {
    RecordOptions options;
    bool onlyFiles = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        auto is = [&](const char* name) { return arg == name || arg.starts_with(std::string(name) + "="); };
        std::string value;
        if (arg == "-" && !onlyFiles) {
            *error = "\"-\" is not supported: quor-record writes a file, not standard output (./- names a "
                     "file \"-\")";
            return std::nullopt;
        }
        if (onlyFiles || !arg.starts_with("-")) {
            if (options.file) {
                *error = "only one FILE may be given";
                return std::nullopt;
            }
            options.file = arg;
        } else if (arg == "--") {
            onlyFiles = true;
        } else if (arg == "--help" || arg == "-h") {
            options.help = true;
        } else if (arg == "--version") {
            options.version = true;
        } else if (arg == "--list-sources") {
            options.listSources = true;
        } else if (is("--format")) {
            if (!TakeValue(args, i, "--format", &value, error))
                return std::nullopt;
            if (Lower(value) == "mp3")
                options.fileType = kFileTypeMp3;
            else if (Lower(value) == "wav")
                options.fileType = kFileTypeWav;
            else {
                *error = "--format must be mp3 or wav, not \"" + value + "\"";
                return std::nullopt;
            }
        } else if (is("--quality")) {
            if (!TakeValue(args, i, "--quality", &value, error))
                return std::nullopt;
            options.quality = value;
        } else if (is("--duration") || is("--until-silence")) {
            const std::string name = is("--duration") ? "--duration" : "--until-silence";
            if (!TakeValue(args, i, name, &value, error))
                return std::nullopt;
            auto time = ParseRecordTime(value);
            if (!time) {
                *error = name + " takes a time such as 90s, 45m or 1h30m, not \"" + value + "\"";
                return std::nullopt;
            }
            (name == "--duration" ? options.duration : options.untilSilence) = time;
        } else if (is("--source")) {
            if (!TakeValue(args, i, "--source", &value, error))
                return std::nullopt;
            options.source = value;
        } else if (is("--app")) {
            if (!TakeValue(args, i, "--app", &value, error))
                return std::nullopt;
            options.application = value;
        } else {
            *error = "unknown option " + arg;
            return std::nullopt;
        }
    }
    if (options.source && options.application) {
        *error = "--source and --app cannot be given together";
        return std::nullopt;
    }
    if (const std::optional<int32_t> named = options.file ? FormatOfName(*options.file) : std::nullopt) {
        // Never an MP3 in a ".wav" file or the other way round.
        if (options.fileType && *options.fileType != *named) {
            *error = std::string("--format ") + (*options.fileType == kFileTypeMp3 ? "mp3" : "wav") +
                     " does not match the file name \"" + *options.file + "\"";
            return std::nullopt;
        }
        options.fileType = named;
    }
    return options;
}

std::optional<int32_t> FormatOfName(const std::string& file) {
    const std::string name = Lower(std::filesystem::path(file).filename().string());
    if (name.size() > 4 && name.ends_with(".mp3"))
        return kFileTypeMp3;
    if (name.size() > 4 && name.ends_with(".wav"))
        return kFileTypeWav;
    return std::nullopt;
}

std::optional<int32_t> ResolveQuality(int32_t fileType, const std::string& quality) {
    // Only MP3 and WAV are recorded.
    const FormatPresets* presets =
        fileType == kFileTypeMp3 || fileType == kFileTypeWav ? PresetsForFileType(fileType) : nullptr;
    if (!presets)
        return std::nullopt;
    if (auto index = ParseCount(quality)) {
        if (*index < 0 || *index >= static_cast<long long>(presets->rows.size()))
            return std::nullopt;
        return static_cast<int32_t>(*index);
    }
    const std::string wanted = Lower(quality);
    for (size_t i = 0; i < presets->rows.size(); ++i) {
        const std::string label(presets->rows[i].label);
        if (Lower(label) == wanted || Lower(label.substr(0, label.find(" - "))) == wanted)
            return static_cast<int32_t>(i);
    }
    return std::nullopt;
}

std::string RecordUsage() {
    return "usage: quor-record [--format mp3|wav] [--quality N] [--duration TIME] [--until-silence TIME]\n"
           "                   [--source NAME | --app NAME] [FILE]\n"
           "       quor-record --list-sources | --help | --version\n";
}

std::string RecordHelp() {
    std::string help = RecordUsage();
    help +=
        "\nRecords what the computer plays (the monitor of the default output) with the engine and the\n"
        "settings of QuorRecorder, until stopped by SIGINT (Ctrl+C) or SIGTERM, --duration or\n"
        "--until-silence. Without FILE the recording gets an automatic name (the local time, e.g.\n"
        "20260314_093005.mp3) in the save folder of the settings; an existing file is never replaced.\n"
        "A FILE ending in .mp3 or .wav records that format.\n"
        "\nOptions:\n"
        "  --format mp3|wav      file format (default: FILE's extension, else the stored settings)\n"
        "  --quality N           a preset of the format below, by index or label (default: the stored one)\n"
        "  --duration TIME       stop after TIME of recording: 90s, 45m, 1h30m\n"
        "  --until-silence TIME  stop after TIME of continuous silence (every sample below -50 dBFS)\n"
        "  --source NAME         record this source (its name or description) instead\n"
        "  --app NAME            record only this application (its name or program), alone and\n"
        "                        followed from stream to stream; silence while it plays nothing\n"
        "  --list-sources        list the sources: name, tab, description; * marks the default;\n"
        "                        then the applications that play: [application] name, tab, program\n"
        "  --help, --version\n"
        "\nOn a terminal a live line on standard error shows the elapsed time, the file size and the\n"
        "level; otherwise only errors are printed.\n";
    for (int32_t type : {kFileTypeMp3, kFileTypeWav}) {
        help += type == kFileTypeMp3 ? "\nMP3 presets:\n" : "\nWAV presets:\n";
        const FormatPresets* presets = PresetsForFileType(type);
        for (size_t i = 0; i < presets->rows.size(); ++i)
            help += "  " + std::to_string(i) + "  " + std::string(presets->rows[i].label) + "\n";
    }
    help += "\nExit codes:\n"
            "  0  finished (the file is complete)\n"
            "  1  could not record (encoder library missing, capture refused or no longer delivering)\n"
            "  2  bad options\n"
            "  3  the sound server cannot be reached or went away (the file so far is kept, complete)\n"
            "  4  the file cannot be created, the disk is full or a file-size limit was reached\n"
            "     (what was written is kept, complete)\n"
            "  5  no such source, or no such application playing\n";
    return help;
}
