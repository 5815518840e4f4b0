// QuorRecorder exports the nine names itself; a program linked as it is (this test) loads
// liblame_enc.so: each image keeps its own handle table and pending tag slot, and no call made
// inside the library lands in the program's copies.
#include "tests/encoder/BladeStream.h"

#include "tests/support/TempDir.h"

#include <dlfcn.h>
#include <elf.h>

#include <cstring>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

template <typename Function> Function Bind(void* image, const char* name) {
    return reinterpret_cast<Function>(dlsym(image, name));
}

struct Library {
    Library() : image(dlopen(QUOR_BIN_DIR "/liblame_enc.so", RTLD_NOW | RTLD_LOCAL)) {}
    ~Library() {
        if (image)
            dlclose(image);
    }
    void* image;
};

// The functions a program's dynamic symbol table defines for others to find (ELF64, as built here).
std::set<std::string> ExportedFunctions(const std::string& image) {
    std::set<std::string> names;
    if (image.size() < sizeof(Elf64_Ehdr) || image.compare(0, SELFMAG, ELFMAG) != 0)
        return names;
    Elf64_Ehdr header;
    std::memcpy(&header, image.data(), sizeof header);
    std::vector<Elf64_Shdr> sections(header.e_shnum);
    if (header.e_shoff + sections.size() * sizeof(Elf64_Shdr) > image.size())
        return names;
    std::memcpy(sections.data(), image.data() + header.e_shoff, sections.size() * sizeof(Elf64_Shdr));
    for (const Elf64_Shdr& table : sections) {
        if (table.sh_type != SHT_DYNSYM || table.sh_link >= sections.size())
            continue;
        const Elf64_Shdr& strings = sections[table.sh_link];
        for (size_t at = table.sh_offset; at + sizeof(Elf64_Sym) <= table.sh_offset + table.sh_size;
             at += sizeof(Elf64_Sym)) {
            Elf64_Sym symbol;
            std::memcpy(&symbol, image.data() + at, sizeof symbol);
            if (symbol.st_shndx != SHN_UNDEF && ELF64_ST_TYPE(symbol.st_info) == STT_FUNC &&
                ELF64_ST_BIND(symbol.st_info) == STB_GLOBAL &&
                ELF64_ST_VISIBILITY(symbol.st_other) == STV_DEFAULT && symbol.st_name < strings.sh_size)
                names.insert(image.data() + strings.sh_offset + symbol.st_name);
        }
    }
    return names;
}

// QuorRecorder itself (a position-independent program, which dlopen refuses) is read as a file.
TEST(ExportedNames, QuorRecorderExportsAllNineNames) {
    const std::set<std::string> exported =
        ExportedFunctions(quortest::ReadFile(QUOR_BIN_DIR "/QuorRecorder"));
    ASSERT_FALSE(exported.empty()) << "no dynamic symbols read from " QUOR_BIN_DIR "/QuorRecorder";
    for (const char* name :
         {"beInitStream", "beEncodeChunk", "beEncodeChunkFloatS16NI", "beDeinitStream", "beFlushNoGap",
          "beCloseStream", "beVersion", "beWriteVBRHeader", "beWriteInfoTag"})
        EXPECT_EQ(exported.count(name), 1u) << name;
}

TEST(ExportedNames, LibraryAndProgramKeepSeparateStreamsAndTagSlots) {
    Library library;
    ASSERT_NE(library.image, nullptr) << dlerror();
    auto libInit = Bind<decltype(&beInitStream)>(library.image, "beInitStream");
    auto libEncode = Bind<decltype(&beEncodeChunk)>(library.image, "beEncodeChunk");
    auto libDeinit = Bind<decltype(&beDeinitStream)>(library.image, "beDeinitStream");
    auto libClose = Bind<decltype(&beCloseStream)>(library.image, "beCloseStream");
    auto libWriteVbrHeader = Bind<decltype(&beWriteVBRHeader)>(library.image, "beWriteVBRHeader");
    ASSERT_TRUE(libInit && libEncode && libDeinit && libClose && libWriteVbrHeader);
    ASSERT_NE(reinterpret_cast<void*>(libInit), reinterpret_cast<void*>(&beInitStream));

    // A tag-writing stream of the library, encoded, flushed and parked in the library's slot.
    BE_CONFIG config = quortest::Lhv1Config(128, 44100);
    config.format.LHV1.bWriteVBRHeader = 1;
    uint32_t samples = 0, bufferBytes = 0;
    HBE_STREAM libStream = 0;
    ASSERT_EQ(libInit(&config, &samples, &bufferBytes, &libStream), BE_ERR_SUCCESSFUL);
    const std::vector<int16_t> pcm(2 * 44100, 1000);
    std::vector<uint8_t> output(bufferBytes);
    std::string mp3;
    for (size_t done = 0; done < pcm.size(); done += samples) {
        uint32_t written = 0;
        const uint32_t count = static_cast<uint32_t>(std::min<size_t>(samples, pcm.size() - done));
        ASSERT_EQ(libEncode(libStream, count, pcm.data() + done, output.data(), &written), BE_ERR_SUCCESSFUL);
        mp3.append(reinterpret_cast<char*>(output.data()), written);
    }
    uint32_t written = 0;
    ASSERT_EQ(libDeinit(libStream, output.data(), &written), BE_ERR_SUCCESSFUL);
    mp3.append(reinterpret_cast<char*>(output.data()), written);
    ASSERT_EQ(libClose(libStream), BE_ERR_SUCCESSFUL);

    // The program's own table and slot know nothing of it.
    uint32_t programWritten = 0;
    EXPECT_EQ(beEncodeChunk(libStream, 4, pcm.data(), output.data(), &programWritten), BE_ERR_INVALID_HANDLE);
    quortest::TempDir dir("exp");
    const std::string path = (dir / "lib.mp3").string();
    quortest::WriteFile(path, mp3);
    EXPECT_EQ(beWriteVBRHeader(path.c_str()), BE_ERR_INVALID_FORMAT_PARAMETERS);
    EXPECT_EQ(quortest::ReadFile(path), mp3);

    // The library's slot does, and its call to the tag writer stays inside the library.
    EXPECT_EQ(libWriteVbrHeader(path.c_str()), BE_ERR_SUCCESSFUL);
    const std::string patched = quortest::ReadFile(path);
    EXPECT_NE(patched.substr(0, 417).find("Info"), std::string::npos);

    // And the other way round: a stream of the program is the program's alone.
    const quortest::OpenStream own = quortest::Init(quortest::Lhv1Config(128, 44100));
    ASSERT_EQ(own.result, BE_ERR_SUCCESSFUL);
    EXPECT_EQ(libEncode(own.handle, 4, pcm.data(), output.data(), &written), BE_ERR_INVALID_HANDLE);
    EXPECT_EQ(libClose(own.handle), BE_ERR_INVALID_HANDLE);
    EXPECT_EQ(beCloseStream(own.handle), BE_ERR_SUCCESSFUL);
}

} // namespace
