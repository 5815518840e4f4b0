// The per-user hive file behind the registry functions.
#include "platform/registry/FileHive.h"

#include "platform/folders/SpecialFolders.h"
#include "platform/registry/HiveFile.h"

namespace platform {

std::filesystem::path FileHive::UserHivePath() {
    return std::filesystem::path(ConfigHomeFolder()) / "QuorTools" / "HKEY_CURRENT_USER.reg";
}

LSTATUS FileHive::OpenKey(const KeyPath& path) {
    Hive hive;
    if (const LSTATUS status = ReadHiveFile(Path(), &hive); status != ERROR_SUCCESS)
        return status;
    return hive.Find(path) ? ERROR_SUCCESS : ERROR_FILE_NOT_FOUND;
}

LSTATUS FileHive::CreateKey(const KeyPath& path, bool* created) {
    bool made = false;
    const LSTATUS status = ChangeHiveFile(Path(), [&](Hive& hive) {
        hive.Create(path, &made);
        return made;
    });
    if (created)
        *created = status == ERROR_SUCCESS && made;
    return status;
}

LSTATUS FileHive::QueryValue(const KeyPath& path, const std::string& name, HiveValue* value) {
    Hive hive;
    if (const LSTATUS status = ReadHiveFile(Path(), &hive); status != ERROR_SUCCESS)
        return status;
    const HiveKey* key = hive.Find(path);
    const HiveValue* found = key ? key->FindValue(name) : nullptr;
    if (!found)
        return ERROR_FILE_NOT_FOUND;
    *value = *found;
    return ERROR_SUCCESS;
}

LSTATUS FileHive::SetValue(const KeyPath& path, const HiveValue& value) {
    return ChangeHiveFile(Path(), [&](Hive& hive) {
        HiveKey& key = hive.Create(path);
        if (const HiveValue* old = key.FindValue(value.name);
            old && old->type == value.type && old->data == value.data)
            return false;
        key.SetValue(value.name, value.type, value.data);
        return true;
    });
}

LSTATUS FileHive::ListValues(const KeyPath& path, std::vector<HiveValue>* values) {
    Hive hive;
    if (const LSTATUS status = ReadHiveFile(Path(), &hive); status != ERROR_SUCCESS)
        return status;
    const HiveKey* key = hive.Find(path);
    if (!key)
        return ERROR_FILE_NOT_FOUND;
    *values = key->values;
    return ERROR_SUCCESS;
}

} // namespace platform
