// Message-queue threads addressed by id.
#include "platform/thread/MessageThread.h"

#include <gtest/gtest.h>

#include <atomic>
#include <vector>

namespace {
class Collector : public platform::MessageThread {
public:
    ~Collector() override { QuitAndJoin(); }
    std::vector<uint32_t> seen;
    std::atomic<bool> initialised{false};

protected:
    bool InitInstance() override {
        initialised = true;
        return true;
    }
    void OnThreadMessage(const platform::ThreadMessage& msg) override { seen.push_back(msg.message); }
};

class Refuser : public platform::MessageThread {
protected:
    bool InitInstance() override { return false; }
    void OnThreadMessage(const platform::ThreadMessage&) override {}
};
} // namespace

TEST(MessageThread, RunsInitFirstAndHandlesEveryMessageBeforeQuitting) {
    Collector thread;
    ASSERT_TRUE(thread.CreateThread());
    EXPECT_TRUE(thread.initialised) << "CreateThread returns after the initialisation hook";
    uint32_t id = thread.GetThreadId();
    ASSERT_NE(id, 0u);
    for (uint32_t m = 1; m <= 100; ++m)
        ASSERT_TRUE(platform::PostThreadMessage(id, 0x400 + m, 0, 0));
    thread.QuitAndJoin();
    ASSERT_EQ(thread.seen.size(), 100u);
    for (uint32_t m = 1; m <= 100; ++m)
        EXPECT_EQ(thread.seen[m - 1], 0x400 + m);
    EXPECT_FALSE(platform::PostThreadMessage(id, 0x401, 0, 0)) << "an ended thread's id is gone";
}

TEST(MessageThread, RefusedInitialisationEndsTheThread) {
    Refuser thread;
    EXPECT_FALSE(thread.CreateThread());
    EXPECT_EQ(thread.GetThreadId(), 0u);
}
