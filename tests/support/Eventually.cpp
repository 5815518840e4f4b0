// Waiting by polling, one step at a time.
#include "tests/support/Eventually.h"

#include <thread>
#include <utility>

namespace quortest {
namespace {

std::function<void()>& Step() {
    static std::function<void()> step;
    return step;
}

} // namespace

void SetWaitStep(std::function<void()> step) {
    Step() = std::move(step);
}

bool Eventually(const std::function<bool()>& condition, std::chrono::milliseconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    for (;;) {
        if (condition())
            return true;
        if (std::chrono::steady_clock::now() >= deadline)
            return false;
        if (Step())
            Step()();
        else
            std::this_thread::sleep_for(std::chrono::milliseconds(10)); // the poll interval
    }
}

} // namespace quortest
