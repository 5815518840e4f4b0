// Registry handles over the current hive.
#include "platform/registry/Registry.h"

#include "platform/registry/FileHive.h"

#include <cstring>
#include <mutex>
#include <set>

namespace platform {

struct HKEY__ {
    KeyPath path;
};

namespace {

HKEY__ g_currentUser;

struct State {
    std::mutex mutex;
    std::shared_ptr<IRegistryHive> hive = std::make_shared<FileHive>();
    std::set<HKEY> open;
};

State& TheState() {
    static State state;
    return state;
}

std::shared_ptr<IRegistryHive> CurrentHive() {
    std::lock_guard lock(TheState().mutex);
    return TheState().hive;
}

// The path of a valid handle, or nullopt for a closed or unknown one.
std::optional<KeyPath> PathOf(HKEY key) {
    if (key == HKEY_CURRENT_USER)
        return KeyPath{};
    std::lock_guard lock(TheState().mutex);
    if (!key || !TheState().open.contains(key))
        return std::nullopt;
    return key->path;
}

LSTATUS Resolve(HKEY root, const std::string& subKey, KeyPath* full) {
    auto base = PathOf(root);
    if (!base)
        return ERROR_INVALID_HANDLE;
    auto names = SplitKeyPath(subKey);
    if (!names)
        return ERROR_INVALID_PARAMETER;
    if (base->size() + names->size() > kMaxKeyDepth)
        return ERROR_INVALID_PARAMETER; // the file could not hold it
    *full = std::move(*base);
    full->insert(full->end(), names->begin(), names->end());
    return ERROR_SUCCESS;
}

HKEY NewHandle(KeyPath path) {
    HKEY key = new HKEY__{std::move(path)};
    std::lock_guard lock(TheState().mutex);
    TheState().open.insert(key);
    return key;
}

} // namespace

HKEY const HKEY_CURRENT_USER = &g_currentUser;

LSTATUS RegOpenKeyEx(HKEY root, const std::string& subKey, REGSAM, HKEY* result) {
    *result = nullptr;
    KeyPath path;
    if (const LSTATUS status = Resolve(root, subKey, &path); status != ERROR_SUCCESS)
        return status;
    if (const LSTATUS status = CurrentHive()->OpenKey(path); status != ERROR_SUCCESS)
        return status;
    *result = NewHandle(std::move(path));
    return ERROR_SUCCESS;
}

LSTATUS RegCreateKeyEx(HKEY root, const std::string& subKey, REGSAM, HKEY* result, DWORD* disposition) {
    *result = nullptr;
    KeyPath path;
    if (const LSTATUS status = Resolve(root, subKey, &path); status != ERROR_SUCCESS)
        return status;
    bool created = false;
    if (const LSTATUS status = CurrentHive()->CreateKey(path, &created); status != ERROR_SUCCESS)
        return status;
    if (disposition)
        *disposition = created ? REG_CREATED_NEW_KEY : REG_OPENED_EXISTING_KEY;
    *result = NewHandle(std::move(path));
    return ERROR_SUCCESS;
}

LSTATUS RegCloseKey(HKEY key) {
    if (key == HKEY_CURRENT_USER)
        return ERROR_SUCCESS;
    {
        std::lock_guard lock(TheState().mutex);
        if (!key || TheState().open.erase(key) == 0)
            return ERROR_INVALID_HANDLE;
    }
    delete key;
    return ERROR_SUCCESS;
}

LSTATUS RegQueryValueEx(HKEY key, const std::string& name, DWORD* type, BYTE* data, DWORD* size) {
    auto path = PathOf(key);
    if (!path)
        return ERROR_INVALID_HANDLE;
    if (data && !size)
        return ERROR_INVALID_PARAMETER;
    HiveValue value;
    if (const LSTATUS status = CurrentHive()->QueryValue(*path, name, &value); status != ERROR_SUCCESS)
        return status;
    if (type)
        *type = value.type;
    const auto needed = static_cast<DWORD>(value.data.size());
    if (!size)
        return ERROR_SUCCESS;
    if (data && *size < needed) {
        *size = needed;
        return ERROR_MORE_DATA;
    }
    if (data && needed > 0)
        std::memcpy(data, value.data.data(), needed);
    *size = needed;
    return ERROR_SUCCESS;
}

LSTATUS RegSetValueEx(HKEY key, const std::string& name, DWORD type, const BYTE* data, DWORD size) {
    auto path = PathOf(key);
    if (!path)
        return ERROR_INVALID_HANDLE;
    if (!IsCleanText(name) || (size > 0 && !data))
        return ERROR_INVALID_PARAMETER;
    HiveValue value{name, type, std::vector<BYTE>(data, data + size)};
    return CurrentHive()->SetValue(*path, value);
}

LSTATUS RegEnumValues(HKEY key, std::vector<HiveValue>* values) {
    auto path = PathOf(key);
    if (!path)
        return ERROR_INVALID_HANDLE;
    return CurrentHive()->ListValues(*path, values);
}

std::shared_ptr<IRegistryHive> SetRegistryHive(std::shared_ptr<IRegistryHive> hive) {
    std::lock_guard lock(TheState().mutex);
    auto previous = std::move(TheState().hive);
    TheState().hive = hive ? std::move(hive) : std::make_shared<FileHive>();
    return previous;
}

} // namespace platform
