// One text property of a server object (a stream, a client), read from its property list.
#pragma once

#include <pulse/proplist.h>

#include <string>

namespace platform {

// The property's text; empty when the list or the property is missing.
inline std::string PropertyOf(const pa_proplist* properties, const char* key) {
    const char* value = properties ? pa_proplist_gets(properties, key) : nullptr;
    return value ? value : "";
}

} // namespace platform
