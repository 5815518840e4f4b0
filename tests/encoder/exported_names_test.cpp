// A program that exports the nine names itself (as QuorRecorder does) and loads liblame_enc.so:
// each image keeps its own handle table and pending tag slot, and no call made inside the library
// lands in the program's copies.
#include "BladeStream.h"

#include "support/TempDir.h"

#include <dlfcn.h>

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

TEST(ExportedNames, ProgramExportsAllNineNames) {
    void* program = dlopen(nullptr, RTLD_NOW);
    ASSERT_NE(program, nullptr);
    EXPECT_EQ(dlsym(program, "beInitStream"), reinterpret_cast<void*>(&beInitStream));
    EXPECT_EQ(dlsym(program, "beEncodeChunk"), reinterpret_cast<void*>(&beEncodeChunk));
    EXPECT_EQ(dlsym(program, "beEncodeChunkFloatS16NI"), reinterpret_cast<void*>(&beEncodeChunkFloatS16NI));
    EXPECT_EQ(dlsym(program, "beDeinitStream"), reinterpret_cast<void*>(&beDeinitStream));
    EXPECT_EQ(dlsym(program, "beFlushNoGap"), reinterpret_cast<void*>(&beFlushNoGap));
    EXPECT_EQ(dlsym(program, "beCloseStream"), reinterpret_cast<void*>(&beCloseStream));
    EXPECT_EQ(dlsym(program, "beVersion"), reinterpret_cast<void*>(&beVersion));
    EXPECT_EQ(dlsym(program, "beWriteVBRHeader"), reinterpret_cast<void*>(&beWriteVBRHeader));
    EXPECT_EQ(dlsym(program, "beWriteInfoTag"), reinterpret_cast<void*>(&beWriteInfoTag));
    dlclose(program);
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
