// Shared libraries by file name, found along the program's own search path as well.
#include "platform/loader/LibraryLoader.h"

#include <dlfcn.h>

#include <cstdlib>
#include <memory>

namespace platform {
namespace {

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

} // namespace

void* OpenLibrary(const std::string& fileName) {
    if (void* library = dlopen(fileName.c_str(), RTLD_NOW | RTLD_LOCAL))
        return library;
    if (fileName.find('/') != std::string::npos)
        return nullptr;
    return OpenOnProgramSearchPath(fileName);
}

} // namespace platform
