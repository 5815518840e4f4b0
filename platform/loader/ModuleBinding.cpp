// The one report per module file name that could not be bound.
#include "ModuleBinding.h"

#include <cstdio>
#include <set>

namespace platform {

void ReportUnavailableModule(const std::string& fileName, const char* subject, bool loaded) {
    static std::mutex lock;
    static std::set<std::string> reported;
    std::lock_guard<std::mutex> guard(lock);
    if (reported.insert(fileName).second)
        std::fprintf(stderr, "%s unavailable: %s %s\n", subject, fileName.c_str(),
                     loaded ? "lacks its entry points" : "could not be loaded");
}

} // namespace platform
