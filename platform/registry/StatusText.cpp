// Sentences for the status codes the hive functions return.
#include "platform/registry/StatusText.h"

namespace platform {

std::string StatusText(LSTATUS status) {
    switch (status) {
    case ERROR_SUCCESS:
        return "no error";
    case ERROR_FILE_NOT_FOUND:
        return "it does not exist";
    case ERROR_ACCESS_DENIED:
        return "permission denied";
    case ERROR_INVALID_HANDLE:
        return "the key is not open";
    case ERROR_INVALID_DATA:
        return "the stored data is not valid";
    case ERROR_WRITE_FAULT:
        return "the settings file could not be written";
    case ERROR_READ_FAULT:
        return "the settings file could not be read";
    case ERROR_INVALID_PARAMETER:
        return "the key or value name is not valid";
    case ERROR_DISK_FULL:
        return "the disk is full";
    case ERROR_MORE_DATA:
        return "the value is larger than expected";
    default:
        return "an unexpected error occurred";
    }
}

} // namespace platform
