// Binding the ID3v2 module on first use: bound once for every thread, and a module that is
// missing or lacks its entry points refused with one line on stderr.
#include "Id3v2Binding.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

TEST(Id3v2Binding, TheModuleBindsOnceForAllThreadsAndAnIncompleteOrMissingOneIsRefusedAndSaidOnce) {
    std::vector<const tags::Id3v2EntryPoints*> seen(4);
    std::vector<std::thread> threads;
    for (auto& entryPoints : seen)
        threads.emplace_back([&entryPoints] { entryPoints = tags::BindId3v2Module(tags::kId3v2ModuleFile); });
    for (auto& thread : threads)
        thread.join();
    ASSERT_NE(seen[0], nullptr);
    EXPECT_NE(seen[0]->read, nullptr);
    EXPECT_NE(seen[0]->write, nullptr);
    for (const auto* entryPoints : seen)
        EXPECT_EQ(entryPoints, seen[0]);

    testing::internal::CaptureStderr();
    // The encoder library loads beside the programs but has none of the module's names.
    EXPECT_EQ(tags::BindId3v2Module("liblame_enc.so"), nullptr);
    EXPECT_EQ(tags::BindId3v2Module("liblame_enc.so"), nullptr);
    EXPECT_EQ(tags::BindId3v2Module("libquor_id3v2_absent.so"), nullptr);
    EXPECT_EQ(tags::BindId3v2Module("libquor_id3v2_absent.so"), nullptr);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "ID3v2 tags unavailable: liblame_enc.so lacks its entry points\n"
              "ID3v2 tags unavailable: libquor_id3v2_absent.so could not be loaded\n");
    EXPECT_EQ(tags::BindId3v2Module(tags::kId3v2ModuleFile), seen[0]);
}
