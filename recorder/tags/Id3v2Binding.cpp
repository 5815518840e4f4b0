// The ID3v2 module's two entry points, bound by the program's module binding.
#include "Id3v2Binding.h"

#include "loader/ModuleBinding.h"

namespace tags {

const Id3v2EntryPoints* BindId3v2Module(const std::string& fileName) {
    return platform::BindModule<Id3v2EntryPoints>(
        fileName, "ID3v2 tags", [](void* module, Id3v2EntryPoints* entryPoints) {
            return platform::Lookup(module, kReadId3v2Name, &entryPoints->read) &&
                   platform::Lookup(module, kWriteId3v2Name, &entryPoints->write);
        });
}

} // namespace tags
