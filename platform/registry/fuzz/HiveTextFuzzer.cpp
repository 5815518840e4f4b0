// Fuzzes the hive text parser: no input may crash it, and every hive it accepts must be
// written back to a text that parses to the same hive and is written the same way again.
#include "platform/registry/HiveText.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    auto hive = platform::ParseHiveText(text);
    if (!hive)
        return 0;
    const std::string written = platform::FormatHiveText(*hive);
    auto again = platform::ParseHiveText(written);
    if (!again || !(*again == *hive) || platform::FormatHiveText(*again) != written)
        std::abort();
    return 0;
}
