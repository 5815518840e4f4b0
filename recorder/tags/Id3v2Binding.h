// Binds the ID3v2 module's entry points on first use.
#pragma once

#include "Id3v2Module.h"

#include <string>

namespace tags {

struct Id3v2EntryPoints {
    ReadId3v2Function read = nullptr;
    WriteId3v2Function write = nullptr;
};

// Loads the module by file name (beside the program) and looks up both entry points, once per
// file name for the whole program, under one lock; any thread may call it. nullptr when the module
// is missing or lacks an entry point, said once per file name on stderr; a later call tries again,
// so installing the module mends it without a restart.
const Id3v2EntryPoints* BindId3v2Module(const std::string& fileName);

} // namespace tags
