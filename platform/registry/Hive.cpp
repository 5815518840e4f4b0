// Lookup and creation in the hive tree.
#include "platform/registry/Hive.h"

#include <algorithm>
#include <utility>

namespace platform {

namespace {

char AsciiLower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// Length of the UTF-8 sequence starting at text[i], or 0 when it is not valid UTF-8.
size_t Utf8SequenceLength(std::string_view text, size_t i) {
    const auto lead = static_cast<unsigned char>(text[i]);
    size_t length = 0;
    unsigned minimum = 0;
    unsigned code = 0;
    if (lead < 0x80)
        return 1;
    if ((lead & 0xE0) == 0xC0) {
        length = 2, minimum = 0x80, code = lead & 0x1F;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3, minimum = 0x800, code = lead & 0x0F;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4, minimum = 0x10000, code = lead & 0x07;
    } else {
        return 0;
    }
    if (i + length > text.size())
        return 0;
    for (size_t k = 1; k < length; ++k) {
        const auto trail = static_cast<unsigned char>(text[i + k]);
        if ((trail & 0xC0) != 0x80)
            return 0;
        code = (code << 6) | (trail & 0x3F);
    }
    if (code < minimum || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
        return 0;
    return length;
}

} // namespace

bool SameName(std::string_view a, std::string_view b) {
    return std::ranges::equal(a, b, [](char x, char y) { return AsciiLower(x) == AsciiLower(y); });
}

bool IsCleanText(std::string_view text) {
    for (size_t i = 0; i < text.size();) {
        const auto c = static_cast<unsigned char>(text[i]);
        if ((c < 0x20 && c != '\t') || c == 0x7F)
            return false;
        const size_t length = Utf8SequenceLength(text, i);
        if (length == 0)
            return false;
        i += length;
    }
    return true;
}

std::optional<KeyPath> SplitKeyPath(std::string_view path) {
    KeyPath names;
    if (path.empty())
        return names;
    size_t start = 0;
    while (true) {
        const size_t end = path.find('\\', start);
        const std::string_view name = path.substr(start, end == std::string_view::npos ? end : end - start);
        if (name.empty() || name.size() > kMaxKeyNameBytes || names.size() == kMaxKeyDepth ||
            !IsCleanText(name))
            return std::nullopt;
        names.emplace_back(name);
        if (end == std::string_view::npos)
            return names;
        start = end + 1;
    }
}

const HiveKey* HiveKey::FindSubkey(std::string_view subkey) const {
    auto it = std::ranges::find_if(subkeys, [&](const HiveKey& k) { return SameName(k.name, subkey); });
    return it == subkeys.end() ? nullptr : &*it;
}

HiveKey* HiveKey::FindSubkey(std::string_view subkey) {
    return const_cast<HiveKey*>(std::as_const(*this).FindSubkey(subkey));
}

const HiveValue* HiveKey::FindValue(std::string_view value) const {
    auto it = std::ranges::find_if(values, [&](const HiveValue& v) { return SameName(v.name, value); });
    return it == values.end() ? nullptr : &*it;
}

void HiveKey::SetValue(std::string_view value, DWORD type, std::vector<BYTE> data) {
    if (auto* existing = const_cast<HiveValue*>(FindValue(value))) {
        existing->type = type;
        existing->data = std::move(data);
        return;
    }
    values.push_back(HiveValue{std::string(value), type, std::move(data)});
}

const HiveKey* Hive::Find(const KeyPath& path) const {
    const HiveKey* key = &root;
    for (const auto& name : path) {
        key = key->FindSubkey(name);
        if (!key)
            return nullptr;
    }
    return key;
}

HiveKey& Hive::Create(const KeyPath& path, bool* created) {
    HiveKey* key = &root;
    bool made = false;
    for (const auto& name : path) {
        HiveKey* next = key->FindSubkey(name);
        made = !next;
        if (!next) {
            key->subkeys.push_back(HiveKey{name, {}, {}});
            next = &key->subkeys.back();
        }
        key = next;
    }
    if (created)
        *created = made;
    return *key;
}

} // namespace platform
