// Captures that follow the system's sound: until a source is chosen they record the monitor of
// the default output, looked up when a capture opens and again whenever the server's default
// output changes. Internal to the capture layer.
#pragma once

#include "platform/pulse/PulseConnection.h"

#include <string>

namespace platform {

// With the lock held, never on the main loop thread: the monitor source of the default output;
// empty when there is no real output.
std::string DefaultOutputMonitorLocked(PulseConnection& pulse);

// With the lock held: from now on a change of the default output on this connection moves the
// following captures to the new output's monitor.
void FollowDefaultOutputLocked(PulseConnection& pulse);

// Main loop thread, lock held: looks up the default output's monitor without waiting and moves
// the following captures there (after the server moved one on its own).
void RefollowLocked(PulseConnection& pulse);

// Main loop thread, lock held: moves every open capture that follows the output to `monitor`
// without waiting (defined by the capture driver).
void MoveFollowingCapturesLocked(const std::string& monitor);

} // namespace platform
