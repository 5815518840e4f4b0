// One binding per module file name, made under one lock.
#include "Id3v2Binding.h"

#include "loader/LibraryLoader.h"

#include <dlfcn.h>

#include <cstdio>
#include <map>
#include <mutex>
#include <set>

namespace tags {

const Id3v2EntryPoints* BindId3v2Module(const std::string& fileName) {
    static std::mutex lock;
    static std::map<std::string, Id3v2EntryPoints> bound; // nodes stay put: pointers remain valid
    static std::set<std::string> reported;
    std::lock_guard<std::mutex> guard(lock);

    if (auto found = bound.find(fileName); found != bound.end())
        return &found->second;
    void* module = platform::OpenLibrary(fileName);
    Id3v2EntryPoints entryPoints;
    const bool complete = module && platform::Lookup(module, kReadId3v2Name, &entryPoints.read) &&
                          platform::Lookup(module, kWriteId3v2Name, &entryPoints.write);
    if (complete)
        return &bound.emplace(fileName, entryPoints).first->second;
    if (module)
        dlclose(module);
    if (reported.insert(fileName).second)
        std::fprintf(stderr, "ID3v2 tags unavailable: %s %s\n", fileName.c_str(),
                     module ? "lacks its entry points" : "could not be loaded");
    return nullptr;
}

} // namespace tags
