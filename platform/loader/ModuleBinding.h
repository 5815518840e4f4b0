// Binds the entry points of a module of this program on first use, once for the whole program.
#pragma once

#include "LibraryLoader.h"

#include <map>
#include <mutex>
#include <string>

namespace platform {

// Says on stderr, once per file name, "<subject> unavailable: <file> could not be loaded" (or
// "lacks its entry points" when it loaded). Any thread.
void ReportUnavailableModule(const std::string& fileName, const char* subject, bool loaded);

// Loads the module by file name (beside the program) and fills EntryPoints through
// lookUp(module, &entryPoints), which says whether every name was found; once per file name for
// each EntryPoints and lookUp type (one binding function each), under one lock; any thread. The result stays
// valid for the life of the program (a bound module is never unloaded). nullptr when the module is
// missing or incomplete, reported as above; a later call tries again, so installing the module
// mends it without a restart.
template <typename EntryPoints, typename LookUp>
const EntryPoints* BindModule(const std::string& fileName, const char* subject, LookUp lookUp) {
    static std::mutex lock;
    static std::map<std::string, EntryPoints> bound; // nodes stay put: pointers remain valid
    std::lock_guard<std::mutex> guard(lock);
    if (auto found = bound.find(fileName); found != bound.end())
        return &found->second;
    void* module = OpenLibrary(fileName);
    EntryPoints entryPoints{};
    if (module && lookUp(module, &entryPoints))
        return &bound.emplace(fileName, entryPoints).first->second;
    if (module)
        dlclose(module);
    ReportUnavailableModule(fileName, subject, module != nullptr);
    return nullptr;
}

} // namespace platform
