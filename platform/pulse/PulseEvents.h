// The server's change events, shared: a connection has one subscription callback, and both the
// mixer and the capture layer listen to it.
#pragma once

#include "platform/pulse/PulseConnection.h"

namespace platform {

// Runs on the main loop thread with the lock held: must not wait on the server.
using PulseEventHandler = void (*)(pa_subscription_event_type_t type, uint32_t index);

// With the lock held: adds the handler (once) and makes sure the current context reports sink,
// source, stream, client and server changes to every handler added so far.
void ListenToServerLocked(PulseConnection& pulse, PulseEventHandler handler);

// The output a capture that follows the system's sound would record: false for WirePlumber's and
// PulseAudio's stand-in "Dummy Output", which only exists when there is no real output.
bool IsRealOutput(const char* sinkName);

} // namespace platform
