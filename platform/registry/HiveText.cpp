// Reading and writing the .reg-style hive text.
#include "platform/registry/HiveText.h"

#include <charconv>
#include <cstdio>
#include <unordered_map>

namespace platform {

namespace {

constexpr std::string_view kHeader = "Windows Registry Editor Version 5.00";
constexpr std::string_view kRootName = "HKEY_CURRENT_USER";
constexpr std::string_view kEndMarker = "; end of hive";
constexpr std::string_view kHexDigits = "0123456789abcdef";

// ---- writing ----

std::string Quote(std::string_view text) {
    std::string out = "\"";
    for (char c : text) {
        if (c == '\\' || c == '"')
            out += '\\';
        out += c;
    }
    out += '"';
    return out;
}

// A REG_SZ that round-trips through a quoted string: clean text and exactly one terminating null.
bool FitsQuotedString(const HiveValue& value) {
    if (value.type != REG_SZ || value.data.empty() || value.data.back() != 0)
        return false;
    const std::string_view text(reinterpret_cast<const char*>(value.data.data()), value.data.size() - 1);
    return IsCleanText(text);
}

std::string FormatData(const HiveValue& value) {
    if (FitsQuotedString(value))
        return Quote(
            std::string_view(reinterpret_cast<const char*>(value.data.data()), value.data.size() - 1));
    if (value.type == REG_DWORD && value.data.size() == 4) {
        const DWORD number = value.data[0] | (value.data[1] << 8) | (value.data[2] << 16) |
                             (static_cast<DWORD>(value.data[3]) << 24);
        char digits[16];
        std::snprintf(digits, sizeof digits, "%08x", number);
        return std::string("dword:") + digits;
    }
    std::string out;
    if (value.type == REG_BINARY) {
        out = "hex:";
    } else {
        char prefix[24];
        std::snprintf(prefix, sizeof prefix, "hex(%x):", value.type);
        out = prefix;
    }
    for (size_t i = 0; i < value.data.size(); ++i) {
        if (i)
            out += ',';
        out += kHexDigits[value.data[i] >> 4];
        out += kHexDigits[value.data[i] & 0xF];
    }
    return out;
}

void FormatKey(const HiveKey& key, const std::string& path, bool isRoot, std::string& out) {
    if (!isRoot || !key.values.empty()) {
        out += '[' + path + "]\n";
        for (const auto& value : key.values)
            out +=
                (value.name.empty() ? std::string("@") : Quote(value.name)) + '=' + FormatData(value) + '\n';
        out += '\n';
    }
    for (const auto& subkey : key.subkeys)
        FormatKey(subkey, path + '\\' + subkey.name, false, out);
}

// ---- reading ----

// Reads a quoted string at the start of `text`; on success `text` is left after the closing quote.
std::optional<std::string> TakeQuoted(std::string_view& text) {
    if (text.empty() || text.front() != '"')
        return std::nullopt;
    std::string out;
    for (size_t i = 1; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '"') {
            text.remove_prefix(i + 1);
            return out;
        }
        if (c == '\\') {
            if (i + 1 >= text.size() || (text[i + 1] != '\\' && text[i + 1] != '"'))
                return std::nullopt;
            out += text[++i];
        } else {
            out += c;
        }
    }
    return std::nullopt;
}

std::string_view TrimEnd(std::string_view text) {
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    return text;
}

std::optional<DWORD> ParseHexNumber(std::string_view digits, size_t maxDigits) {
    if (digits.empty() || digits.size() > maxDigits)
        return std::nullopt;
    DWORD number = 0;
    auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), number, 16);
    if (error != std::errc() || end != digits.data() + digits.size())
        return std::nullopt;
    return number;
}

std::optional<std::vector<BYTE>> ParseHexBytes(std::string_view list) {
    std::vector<BYTE> bytes;
    list = TrimEnd(list);
    if (list.empty())
        return bytes;
    while (true) {
        const size_t comma = list.find(',');
        const std::string_view item = list.substr(0, comma);
        if (item.size() != 2)
            return std::nullopt;
        auto byte = ParseHexNumber(item, 2);
        if (!byte)
            return std::nullopt;
        bytes.push_back(static_cast<BYTE>(*byte));
        if (comma == std::string_view::npos)
            return bytes;
        list.remove_prefix(comma + 1);
    }
}

std::optional<HiveValue> ParseValueLine(std::string_view line) {
    HiveValue value;
    if (line.starts_with('@')) {
        line.remove_prefix(1);
    } else {
        auto name = TakeQuoted(line);
        if (!name || !IsCleanText(*name))
            return std::nullopt;
        value.name = std::move(*name);
    }
    if (!line.starts_with('='))
        return std::nullopt;
    line.remove_prefix(1);

    if (line.starts_with('"')) {
        auto text = TakeQuoted(line);
        if (!text || !TrimEnd(line).empty() || !IsCleanText(*text))
            return std::nullopt;
        value.type = REG_SZ;
        value.data.assign(text->begin(), text->end());
        value.data.push_back(0);
        return value;
    }
    if (line.starts_with("dword:")) {
        auto number = ParseHexNumber(TrimEnd(line.substr(6)), 8);
        if (!number)
            return std::nullopt;
        value.type = REG_DWORD;
        value.data = {static_cast<BYTE>(*number), static_cast<BYTE>(*number >> 8),
                      static_cast<BYTE>(*number >> 16), static_cast<BYTE>(*number >> 24)};
        return value;
    }
    if (line.starts_with("hex:")) {
        value.type = REG_BINARY;
        line.remove_prefix(4);
    } else if (line.starts_with("hex(")) {
        const size_t close = line.find("):");
        auto type =
            close == std::string_view::npos ? std::nullopt : ParseHexNumber(line.substr(4, close - 4), 8);
        if (!type)
            return std::nullopt;
        value.type = *type;
        line.remove_prefix(close + 2);
    } else {
        return std::nullopt;
    }
    auto bytes = ParseHexBytes(line);
    if (!bytes)
        return std::nullopt;
    value.data = std::move(*bytes);
    return value;
}

// "[HKEY_CURRENT_USER\Software\QuorRecorder]" -> the path below the root.
std::optional<KeyPath> ParseSectionLine(std::string_view line) {
    line = TrimEnd(line);
    if (line.size() < 2 || line.back() != ']')
        return std::nullopt;
    std::string_view path = line.substr(1, line.size() - 2);
    if (path.size() < kRootName.size() || !SameName(path.substr(0, kRootName.size()), kRootName))
        return std::nullopt;
    path.remove_prefix(kRootName.size());
    if (path.empty())
        return KeyPath{};
    if (path.front() != '\\')
        return std::nullopt;
    return SplitKeyPath(path.substr(1));
}

bool IsHexValueLine(std::string_view line) {
    return (line.starts_with('"') || line.starts_with('@')) && line.find("=hex") != std::string_view::npos;
}

// Splits into lines (LF or CRLF); a hex list continued with a trailing backslash becomes one line.
std::optional<std::vector<std::string>> SplitLogicalLines(std::string_view text) {
    std::vector<std::string> lines;
    bool continuing = false;
    while (!text.empty()) {
        const size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (line.ends_with('\r'))
            line.remove_suffix(1);
        if (!IsCleanText(line))
            return std::nullopt;
        if (continuing)
            line.remove_prefix(std::min(line.find_first_not_of(" \t"), line.size()));
        const bool continues = (continuing || IsHexValueLine(line)) && TrimEnd(line).ends_with('\\');
        if (continues)
            line = TrimEnd(line).substr(0, TrimEnd(line).size() - 1);
        if (continuing)
            lines.back() += line;
        else
            lines.emplace_back(line);
        continuing = continues;
    }
    if (continuing)
        return std::nullopt;
    return lines;
}

std::string Lowered(std::string_view name) {
    std::string lowered(name);
    for (auto& c : lowered) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    return lowered;
}

// Builds the tree with hashed lookups, so a file with many keys or values parses in linear time.
class HiveBuilder {
public:
    HiveKey* Key(const KeyPath& path) {
        HiveKey* key = &hive_.root;
        for (const auto& name : path) {
            auto [child, added] = subkeys_[key].try_emplace(Lowered(name), nullptr);
            if (added) {
                key->subkeys.push_back(HiveKey{name, {}, {}});
                child->second = &key->subkeys.back();
            }
            key = child->second;
        }
        return key;
    }

    void SetValue(HiveKey* key, HiveValue value) {
        auto [slot, added] = values_[key].try_emplace(Lowered(value.name), key->values.size());
        if (added) {
            key->values.push_back(std::move(value));
            return;
        }
        key->values[slot->second].type = value.type;
        key->values[slot->second].data = std::move(value.data);
    }

    Hive Take() { return std::move(hive_); }

private:
    Hive hive_;
    std::unordered_map<const HiveKey*, std::unordered_map<std::string, HiveKey*>> subkeys_;
    std::unordered_map<const HiveKey*, std::unordered_map<std::string, size_t>> values_;
};

} // namespace

std::string FormatHiveText(const Hive& hive) {
    std::string out = std::string(kHeader) + "\n\n";
    FormatKey(hive.root, std::string(kRootName), true, out);
    out += std::string(kEndMarker) + '\n';
    return out;
}

std::optional<Hive> ParseHiveText(std::string_view text) {
    if (text.starts_with("\xEF\xBB\xBF"))
        text.remove_prefix(3);
    // Text only: SplitLogicalLines refuses invalid UTF-8 and control characters.
    auto lines = SplitLogicalLines(text);
    if (!lines || lines->empty() || TrimEnd((*lines)[0]) != kHeader)
        return std::nullopt;

    HiveBuilder builder;
    HiveKey* current = nullptr;
    bool ended = false;
    for (size_t i = 1; i < lines->size(); ++i) {
        const std::string_view line = (*lines)[i];
        if (TrimEnd(line).empty())
            continue;
        if (ended)
            return std::nullopt; // nothing may follow the end marker
        if (line.starts_with(';')) {
            ended = TrimEnd(line) == kEndMarker;
            continue;
        }
        if (line.starts_with('[')) {
            auto path = ParseSectionLine(line);
            if (!path)
                return std::nullopt;
            current = builder.Key(*path);
            continue;
        }
        auto value = ParseValueLine(line);
        if (!value || !current)
            return std::nullopt;
        builder.SetValue(current, std::move(*value));
    }
    if (!ended)
        return std::nullopt;
    return builder.Take();
}

} // namespace platform
