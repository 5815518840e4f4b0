// An in-memory hive for failure paths: it logs every call and answers with a scripted status.
#pragma once

#include "platform/registry/IRegistryHive.h"
#include "platform/registry/Registry.h"

#include <memory>
#include <string>
#include <vector>

class ScriptedHive : public platform::IRegistryHive {
public:
    platform::LSTATUS readStatus = platform::ERROR_SUCCESS;  // OpenKey, QueryValue, ListValues
    platform::LSTATUS writeStatus = platform::ERROR_SUCCESS; // CreateKey, SetValue
    std::vector<std::string> calls;                          // "open", "create", "query NAME", "set NAME"
    platform::Hive hive;

    platform::LSTATUS OpenKey(const platform::KeyPath& path) override {
        calls.push_back("open");
        if (readStatus != platform::ERROR_SUCCESS)
            return readStatus;
        return hive.Find(path) ? platform::ERROR_SUCCESS : platform::ERROR_FILE_NOT_FOUND;
    }
    platform::LSTATUS CreateKey(const platform::KeyPath& path, bool* created) override {
        calls.push_back("create");
        if (writeStatus == platform::ERROR_SUCCESS)
            hive.Create(path, created);
        return writeStatus;
    }
    platform::LSTATUS QueryValue(const platform::KeyPath& path, const std::string& name,
                                 platform::HiveValue* value) override {
        calls.push_back("query " + name);
        if (readStatus != platform::ERROR_SUCCESS)
            return readStatus;
        const platform::HiveKey* key = hive.Find(path);
        const platform::HiveValue* found = key ? key->FindValue(name) : nullptr;
        if (!found)
            return platform::ERROR_FILE_NOT_FOUND;
        *value = *found;
        return platform::ERROR_SUCCESS;
    }
    platform::LSTATUS SetValue(const platform::KeyPath& path, const platform::HiveValue& value) override {
        calls.push_back("set " + value.name);
        if (writeStatus == platform::ERROR_SUCCESS)
            hive.Create(path).SetValue(value.name, value.type, value.data);
        return writeStatus;
    }
    platform::LSTATUS ListValues(const platform::KeyPath& path,
                                 std::vector<platform::HiveValue>* values) override {
        calls.push_back("list");
        const platform::HiveKey* key = hive.Find(path);
        if (readStatus != platform::ERROR_SUCCESS || !key)
            return readStatus != platform::ERROR_SUCCESS ? readStatus : platform::ERROR_FILE_NOT_FOUND;
        *values = key->values;
        return platform::ERROR_SUCCESS;
    }

    // Calls of one kind ("query ", "set "), names only, in order.
    std::vector<std::string> Names(const std::string& kind) const {
        std::vector<std::string> names;
        for (const auto& call : calls) {
            if (call.starts_with(kind))
                names.push_back(call.substr(kind.size()));
        }
        return names;
    }
};

// Puts a scripted hive behind the registry functions for the life of the object.
class ScopedScriptedHive {
public:
    ScopedScriptedHive()
        : hive(std::make_shared<ScriptedHive>()), previous_(platform::SetRegistryHive(hive)) {}
    ~ScopedScriptedHive() { platform::SetRegistryHive(previous_); }
    ScopedScriptedHive(const ScopedScriptedHive&) = delete;
    ScopedScriptedHive& operator=(const ScopedScriptedHive&) = delete;

    std::shared_ptr<ScriptedHive> hive;

private:
    std::shared_ptr<platform::IRegistryHive> previous_;
};
