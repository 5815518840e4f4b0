// The one way a test waits for something another thread, process or event loop brings about.
#pragma once

#include <chrono>
#include <functional>

namespace quortest {

// Checks `condition` until it holds, making one short wait step between checks; false when it
// still does not hold once `limit` has passed.
bool Eventually(const std::function<bool()>& condition,
                std::chrono::milliseconds limit = std::chrono::seconds(10));

// The wait step between checks: a 10 ms sleep unless set. A program with a Qt event loop sets one
// that runs the loop instead (the Qt test main does), so that what a test waits for, a queued
// signal, a timer or a repaint, can happen on the thread that waits.
void SetWaitStep(std::function<void()> step);

} // namespace quortest
