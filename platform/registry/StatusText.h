// The registry status codes as sentences a person can act on.
#pragma once

#include "platform/registry/RegistryTypes.h"

#include <string>

namespace platform {

// For example "permission denied" for ERROR_ACCESS_DENIED; never a bare number.
std::string StatusText(LSTATUS status);

} // namespace platform
