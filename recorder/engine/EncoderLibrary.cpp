// One binding per library file name for the whole program, made under one lock.
#include "EncoderLibrary.h"

#include <dlfcn.h>

#include <cstdlib>
#include <map>
#include <memory>
#include <mutex>

namespace {

// The program's own library search path (LD_LIBRARY_PATH, its RUNPATH, the system folders).
// dlopen searches by the RUNPATH of its caller, and a sanitizer's dlopen interceptor is a caller
// without one; searching the program's path by hand finds the library beside the program anyway.
void* OpenOnProgramSearchPath(const std::string& fileName) {
    void* program = dlopen(nullptr, RTLD_NOW);
    Dl_serinfo size;
    if (!program || dlinfo(program, RTLD_DI_SERINFOSIZE, &size) != 0)
        return nullptr;
    std::unique_ptr<Dl_serinfo, decltype(&std::free)> info(
        static_cast<Dl_serinfo*>(std::malloc(size.dls_size)), &std::free);
    if (!info)
        return nullptr;
    *info = size;
    if (dlinfo(program, RTLD_DI_SERINFOSIZE, info.get()) != 0 ||
        dlinfo(program, RTLD_DI_SERINFO, info.get()) != 0)
        return nullptr;
    for (unsigned i = 0; i < info->dls_cnt; ++i) {
        const std::string path = std::string(info->dls_serpath[i].dls_name) + "/" + fileName;
        if (void* library = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL))
            return library;
    }
    return nullptr;
}

void* OpenByName(const std::string& fileName) {
    if (void* library = dlopen(fileName.c_str(), RTLD_NOW | RTLD_LOCAL))
        return library;
    if (fileName.find('/') != std::string::npos)
        return nullptr;
    return OpenOnProgramSearchPath(fileName);
}

template <typename Function> bool Lookup(void* library, const char* name, Function* function) {
    *function = reinterpret_cast<Function>(dlsym(library, name));
    return *function != nullptr;
}

} // namespace

EncoderBinding BindEncoderLibrary(const std::string& fileName, BladeEntryPoints* entryPoints) {
    static std::mutex lock;
    static std::map<std::string, BladeEntryPoints> bound;
    std::lock_guard<std::mutex> guard(lock);

    if (auto found = bound.find(fileName); found != bound.end()) {
        *entryPoints = found->second;
        return EncoderBinding::Bound;
    }
    void* library = OpenByName(fileName);
    if (!library)
        return EncoderBinding::Missing;
    BladeEntryPoints found;
    const bool complete = Lookup(library, "beInitStream", &found.beInitStream) &&
                          Lookup(library, "beEncodeChunk", &found.beEncodeChunk) &&
                          Lookup(library, "beDeinitStream", &found.beDeinitStream) &&
                          Lookup(library, "beCloseStream", &found.beCloseStream) &&
                          Lookup(library, "beVersion", &found.beVersion) &&
                          Lookup(library, "beWriteVBRHeader", &found.beWriteVBRHeader);
    if (!complete) {
        dlclose(library);
        return EncoderBinding::Incomplete;
    }
    Lookup(library, "beWriteInfoTag", &found.beWriteInfoTag);
    bound.emplace(fileName, found);
    *entryPoints = found;
    return EncoderBinding::Bound;
}
