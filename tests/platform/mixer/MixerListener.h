// An opener that records the mixer changes it is told of, for the notification tests.
#pragma once

#include "platform/mixer/Mixer.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

struct MixerListener : IMixerNotify {
    std::mutex lock;
    std::condition_variable changed;
    std::vector<std::pair<uint32_t, uint32_t>> seen; // message, id
    std::thread::id thread;

    void OnMixerNotify(HMIXER, uint32_t message, uint32_t id) override {
        std::lock_guard<std::mutex> guard(lock);
        seen.emplace_back(message, id);
        thread = std::this_thread::get_id();
        changed.notify_all();
    }
    bool WaitForCount(size_t count) {
        std::unique_lock<std::mutex> guard(lock);
        return changed.wait_for(guard, std::chrono::seconds(3), [&] { return seen.size() >= count; });
    }
    bool WaitFor(std::pair<uint32_t, uint32_t> wanted) {
        std::unique_lock<std::mutex> guard(lock);
        return changed.wait_for(guard, std::chrono::seconds(3),
                                [&] { return std::find(seen.begin(), seen.end(), wanted) != seen.end(); });
    }
};
