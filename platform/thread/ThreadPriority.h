// Thread priority: the capture display's worker asks for the highest priority it may have.
#pragma once

namespace platform {

// Raises the calling thread to the highest priority available without special rights: a
// real-time round-robin slot when the system grants one, else the best nice value allowed.
// Returns false when nothing could be raised; the thread then runs as before.
bool RaiseCurrentThreadToHighestPriority();

} // namespace platform
