// The single-producer single-consumer ring that carries monitor buffers to their worker.
#include "platform/thread/SpscRing.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

TEST(SpscRing, FillsToCapacityAndWrapsAround) {
    platform::SpscRing<int, 4> ring;
    int items[6] = {0, 1, 2, 3, 4, 5};
    for (int round = 0; round < 3; ++round) {
        for (int i = 0; i < 4; ++i)
            ASSERT_TRUE(ring.Push(&items[i]));
        EXPECT_FALSE(ring.Push(&items[4])) << "full";
        for (int i = 0; i < 4; ++i)
            ASSERT_EQ(ring.Pop(), &items[i]);
        EXPECT_EQ(ring.Pop(), nullptr) << "empty";
        ASSERT_TRUE(ring.Push(&items[5])); // shift the indexes so later rounds wrap mid-array
        ASSERT_EQ(ring.Pop(), &items[5]);
    }
}

TEST(SpscRing, TwoThreadsPassEveryItemInOrder) {
    platform::SpscRing<int, 16> ring;
    constexpr int kItems = 200000;
    std::vector<int> values(kItems);
    for (int i = 0; i < kItems; ++i)
        values[i] = i;
    std::thread producer([&] {
        for (int i = 0; i < kItems; ++i)
            while (!ring.Push(&values[i]))
                std::this_thread::yield();
    });
    int expected = 0;
    while (expected < kItems) {
        if (int* item = ring.Pop()) {
            ASSERT_EQ(*item, expected);
            ++expected;
        }
    }
    producer.join();
}
