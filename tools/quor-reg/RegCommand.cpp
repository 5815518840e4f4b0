// quor-reg's commands over the registry functions.
#include "tools/quor-reg/RegCommand.h"

#include "platform/registry/HiveFile.h"
#include "platform/registry/Registry.h"
#include "platform/registry/StatusText.h"

#include <charconv>
#include <cstdint>
#include <optional>
#include <ostream>

using namespace platform;

namespace {

constexpr const char* kUsage = "usage: quor-reg get KEY NAME\n"
                               "       quor-reg set KEY NAME dword NUMBER\n"
                               "       quor-reg set KEY NAME sz TEXT\n"
                               "       quor-reg list KEY\n"
                               "KEY is below HKEY_CURRENT_USER, e.g. Software\\QuorRecorder; NAME @ is the\n"
                               "key's default value\n";

// Accepts "Software\X" as well as "HKEY_CURRENT_USER\Software\X" and "HKCU\Software\X".
std::string KeyBelowRoot(std::string key) {
    for (const std::string root : {"HKEY_CURRENT_USER", "HKCU"}) {
        if (key == root)
            return {};
        if (key.starts_with(root + "\\"))
            return key.substr(root.size() + 1);
    }
    return key;
}

// Decimal (negative numbers wrap as 32-bit values do) or 0x-prefixed hexadecimal.
std::optional<DWORD> ParseNumber(const std::string& text) {
    const bool hex = text.starts_with("0x") || text.starts_with("0X");
    const char* first = text.data() + (hex ? 2 : 0);
    const char* last = text.data() + text.size();
    int64_t number = 0;
    auto [end, error] = std::from_chars(first, last, number, hex ? 16 : 10);
    if (first == last || error != std::errc() || end != last || number < INT32_MIN || number > UINT32_MAX)
        return std::nullopt;
    return static_cast<DWORD>(number);
}

std::string TypeName(DWORD type) {
    switch (type) {
    case REG_SZ:
        return "REG_SZ";
    case REG_DWORD:
        return "REG_DWORD";
    case REG_BINARY:
        return "REG_BINARY";
    default:
        return "REG_TYPE_" + std::to_string(type);
    }
}

// DWORDs in decimal, strings up to their null, anything else as hex bytes.
std::string ValueText(const HiveValue& value) {
    if (value.type == REG_DWORD && value.data.size() == 4) {
        const DWORD number = value.data[0] | (value.data[1] << 8) | (value.data[2] << 16) |
                             (static_cast<DWORD>(value.data[3]) << 24);
        return std::to_string(number);
    }
    if (value.type == REG_SZ) {
        std::string text(value.data.begin(), value.data.end());
        return text.substr(0, text.find('\0'));
    }
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string text;
    for (BYTE byte : value.data) {
        if (!text.empty())
            text += ',';
        text += kDigits[byte >> 4];
        text += kDigits[byte & 0xF];
    }
    return text;
}

int Fail(std::ostream& err, const std::string& what, LSTATUS status) {
    err << "quor-reg: " << what << ": " << StatusText(status) << ".\n";
    return status == ERROR_FILE_NOT_FOUND ? kExitMissing : kExitFailed;
}

// Reads every value of the key; returns kExitOk or the exit code of the failure.
int LoadValues(const std::string& key, std::vector<HiveValue>* values, std::ostream& err) {
    HKEY handle = nullptr;
    if (LSTATUS status = RegOpenKeyEx(HKEY_CURRENT_USER, key, KEY_READ, &handle); status != ERROR_SUCCESS)
        return Fail(err, "cannot open key " + key, status);
    const LSTATUS status = RegEnumValues(handle, values);
    RegCloseKey(handle);
    return status == ERROR_SUCCESS ? kExitOk : Fail(err, "cannot read key " + key, status);
}

int Get(const std::string& key, const std::string& name, std::ostream& out, std::ostream& err) {
    const std::string wanted = name == "@" ? "" : name;
    std::vector<HiveValue> values;
    if (const int code = LoadValues(key, &values, err); code != kExitOk)
        return code;
    for (const auto& value : values) {
        if (SameName(value.name, wanted)) {
            out << ValueText(value) << '\n';
            return kExitOk;
        }
    }
    err << "quor-reg: there is no value " << name << " in " << key << ".\n";
    return kExitMissing;
}

int List(const std::string& key, std::ostream& out, std::ostream& err) {
    std::vector<HiveValue> values;
    if (const int code = LoadValues(key, &values, err); code != kExitOk)
        return code;
    for (const auto& value : values)
        out << (value.name.empty() ? "@" : value.name) << '\t' << TypeName(value.type) << '\t'
            << ValueText(value) << '\n';
    return kExitOk;
}

int Set(const std::string& key, const std::string& name, const std::string& type, const std::string& text,
        std::ostream& err) {
    std::vector<BYTE> data;
    DWORD regType = REG_NONE;
    if (type == "dword") {
        auto number = ParseNumber(text);
        if (!number) {
            err << "quor-reg: not a 32-bit number: " << text << '\n';
            return kExitUsage;
        }
        regType = REG_DWORD;
        data = {static_cast<BYTE>(*number), static_cast<BYTE>(*number >> 8), static_cast<BYTE>(*number >> 16),
                static_cast<BYTE>(*number >> 24)};
    } else if (type == "sz") {
        regType = REG_SZ;
        data.assign(text.begin(), text.end());
        data.push_back(0);
    } else {
        err << kUsage;
        return kExitUsage;
    }
    HKEY handle = nullptr;
    if (LSTATUS status = RegCreateKeyEx(HKEY_CURRENT_USER, key, KEY_ALL_ACCESS, &handle);
        status != ERROR_SUCCESS)
        return Fail(err, "cannot create key " + key, status);
    const LSTATUS status = RegSetValueEx(handle, name, regType, data.data(), static_cast<DWORD>(data.size()));
    RegCloseKey(handle);
    if (status != ERROR_SUCCESS) {
        Fail(err, "cannot write " + name, status);
        return kExitFailed;
    }
    return kExitOk;
}

} // namespace

int RunRegCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    const std::string command = args.empty() ? "" : args[0];
    // A file that cannot be read is moved aside and reads as empty: the user must hear of it.
    SetHiveSetAsideObserver([&err](const std::filesystem::path& file, const std::filesystem::path& aside) {
        err << "quor-reg: the settings file " << file.string() << " could not be read; it was moved to "
            << aside.string() << " and the settings now start empty.\n";
    });
    struct StopObserving {
        ~StopObserving() { SetHiveSetAsideObserver(nullptr); }
    } stopObserving;
    if (command == "get" && args.size() == 3)
        return Get(KeyBelowRoot(args[1]), args[2], out, err);
    if (command == "set" && args.size() == 5)
        return Set(KeyBelowRoot(args[1]), args[2] == "@" ? "" : args[2], args[3], args[4], err);
    if (command == "list" && args.size() == 2)
        return List(KeyBelowRoot(args[1]), out, err);
    err << kUsage;
    return kExitUsage;
}
