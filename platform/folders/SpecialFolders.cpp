// Special folders from the environment, the password database and the XDG user-dirs file.
#include "platform/folders/SpecialFolders.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <optional>
#include <string_view>

namespace platform {

namespace {

// Reads the value of `XDG_MUSIC_DIR="..."`: shell-quoted, "$HOME/..." or an absolute path.
std::optional<std::string> ParseUserDirLine(std::string_view line, std::string_view variable,
                                            const std::string& home) {
    const auto first = line.find_first_not_of(" \t");
    if (first == std::string_view::npos || line[first] == '#')
        return std::nullopt;
    line.remove_prefix(first);
    if (!line.starts_with(variable) || line.substr(variable.size(), 2) != "=\"")
        return std::nullopt;
    line.remove_prefix(variable.size() + 2);

    std::string value;
    bool closed = false;
    for (size_t i = 0; i < line.size(); ++i) {
        if (line[i] == '\\' && i + 1 < line.size()) {
            value += line[++i];
        } else if (line[i] == '"') {
            closed = true;
            break;
        } else {
            value += line[i];
        }
    }
    if (!closed)
        return std::nullopt;
    if (value == "$HOME" || value.starts_with("$HOME/"))
        return home + value.substr(5);
    if (value.starts_with("/"))
        return value;
    return std::nullopt; // relative paths are not allowed by the user-dirs format
}

} // namespace

std::string HomeFolder() {
    if (const char* home = std::getenv("HOME"); home && *home)
        return home;
    if (const passwd* pw = getpwuid(getuid()); pw && pw->pw_dir)
        return pw->pw_dir;
    return "/";
}

std::string ConfigHomeFolder() {
    // A relative XDG_CONFIG_HOME is invalid by the base-directory rules and is ignored.
    if (const char* config = std::getenv("XDG_CONFIG_HOME"); config && config[0] == '/')
        return config;
    return HomeFolder() + "/.config";
}

std::string MyMusicFolder() {
    const std::string home = HomeFolder();
    std::ifstream dirs(ConfigHomeFolder() + "/user-dirs.dirs");
    std::optional<std::string> music;
    for (std::string line; std::getline(dirs, line);) {
        if (auto value = ParseUserDirLine(line, "XDG_MUSIC_DIR", home))
            music = std::move(value); // the last assignment wins, as when the shell sources the file
    }
    return music ? *music : home + "/Music";
}

std::string ProgramFilesFolder() {
    return QUOR_PROGRAM_FILES_DIR;
}

} // namespace platform
