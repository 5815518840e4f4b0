// One binding per library file name for the whole program, made under one lock.
#include "recorder/engine/EncoderLibrary.h"

#include "platform/loader/LibraryLoader.h"

#include <dlfcn.h>

#include <map>
#include <mutex>

using platform::Lookup;

EncoderBinding BindEncoderLibrary(const std::string& fileName, BladeEntryPoints* entryPoints) {
    static std::mutex lock;
    static std::map<std::string, BladeEntryPoints> bound;
    std::lock_guard<std::mutex> guard(lock);

    if (auto found = bound.find(fileName); found != bound.end()) {
        *entryPoints = found->second;
        return EncoderBinding::Bound;
    }
    void* library = platform::OpenLibrary(fileName);
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
