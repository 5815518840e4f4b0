// Opens a shared library by file name the way the program finds its own libraries.
#pragma once

#include <dlfcn.h>

#include <string>

namespace platform {

// dlopen with RTLD_NOW | RTLD_LOCAL; a bare file name is also looked for along the program's own
// search path (LD_LIBRARY_PATH, its RUNPATH, the system folders), so the copy beside the program
// is found even when a sanitizer's interceptor is the caller. nullptr when nothing loads.
void* OpenLibrary(const std::string& fileName);

// Looks the name up in the library into *function; false when the library lacks it.
template <typename Function> bool Lookup(void* library, const char* name, Function* function) {
    *function = reinterpret_cast<Function>(dlsym(library, name));
    return *function != nullptr;
}

} // namespace platform
