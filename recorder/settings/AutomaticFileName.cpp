// Automatic recording names from the local clock.
#include "recorder/settings/AutomaticFileName.h"

#include "recorder/settings/QualityPresets.h"

std::string AutomaticFileName(int32_t fileType, std::time_t when) {
    static const char* const kExtensions[] = {".mp3", ".wav", ".ogg"};
    const int32_t type = fileType >= kFileTypeMp3 && fileType <= kFileTypeOgg ? fileType : kFileTypeMp3;
    std::tm local{};
    localtime_r(&when, &local);
    char stamp[32];
    const size_t length = std::strftime(stamp, sizeof stamp, "%Y%m%d_%H%M%S", &local);
    return std::string(stamp, length) + kExtensions[type];
}
