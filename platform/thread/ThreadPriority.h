// Thread priority: the capture display's worker asks for the highest priority it may have.
#pragma once

namespace platform {

// Raises the calling thread to the highest ordinary priority it may have: the best nice value
// RLIMIT_NICE allows, never a real-time class. Returns false when nothing could be raised; the
// thread then runs as before.
bool RaiseCurrentThreadToHighestPriority();

} // namespace platform
