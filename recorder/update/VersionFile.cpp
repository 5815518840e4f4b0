// A small INI reader for the one section the update check needs.
#include "recorder/update/VersionFile.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <sstream>

namespace {

constexpr size_t kValueChars = 259; // a 260-character buffer with its terminating null
constexpr size_t kMaxFileBytes = 64 * 1024;

std::string Trim(const std::string& text) {
    const auto blank = [](unsigned char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    size_t begin = 0;
    size_t end = text.size();
    while (begin < end && blank(text[begin]))
        ++begin;
    while (end > begin && blank(text[end - 1]))
        --end;
    return text.substr(begin, end - begin);
}

bool SameName(const std::string& a, const char* b) {
    const std::string_view other(b);
    return a.size() == other.size() && std::equal(a.begin(), a.end(), other.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

// Quotes around a whole value are the profile reader's, not part of it.
std::string Unquote(std::string value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
        value = value.substr(1, value.size() - 2);
    if (value.size() > kValueChars)
        value.resize(kValueChars);
    return value;
}

} // namespace

VersionInfo ParseVersionText(const std::string& text) {
    VersionInfo info;
    struct Field {
        const char* name;
        std::string* value;
        bool seen;
    };
    Field fields[] = {{"ver", &info.ver, false},
                      {"url", &info.url, false},
                      {"filename", &info.filename, false},
                      {"holddate", &info.holddate, false}};
    std::istringstream lines(text);
    std::string line;
    bool inUpdate = false;
    bool firstLine = true;
    while (std::getline(lines, line)) {
        if (firstLine && line.rfind("\xEF\xBB\xBF", 0) == 0)
            line.erase(0, 3);
        firstLine = false;
        line = Trim(line);
        if (line.empty() || line[0] == ';')
            continue;
        if (line[0] == '[') {
            const size_t close = line.find(']');
            inUpdate = close != std::string::npos && SameName(Trim(line.substr(1, close - 1)), "UPDATE");
            continue;
        }
        const size_t equals = line.find('=');
        if (!inUpdate || equals == std::string::npos)
            continue;
        const std::string key = Trim(line.substr(0, equals));
        for (Field& field : fields) {
            if (!field.seen && SameName(key, field.name)) { // the first occurrence counts
                *field.value = Unquote(Trim(line.substr(equals + 1)));
                field.seen = true;
            }
        }
    }
    return info;
}

VersionInfo ReadVersionFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return {};
    std::string text(kMaxFileBytes, '\0');
    in.read(text.data(), static_cast<std::streamsize>(text.size()));
    text.resize(static_cast<size_t>(in.gcount()));
    return ParseVersionText(text);
}

bool IsSafePatchFileName(const std::string& name) {
    if (name.empty() || name == "." || name.find("..") != std::string::npos)
        return false;
    return std::none_of(name.begin(), name.end(), [](char c) {
        return c == '/' || c == '\\' || c == ':' || static_cast<unsigned char>(c) < 0x20;
    });
}
