// Best-effort priority raising for audio display workers.
#include "platform/thread/ThreadPriority.h"

#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace platform {

bool RaiseCurrentThreadToHighestPriority() {
    // Never a real-time class, even where one would be granted: a real-time display thread
    // preempts the sound server's delivery thread in the middle of handing over a buffer and the
    // window thread in the middle of a paint, which costs more switches than it saves, and a
    // fault in it could starve the desktop. The best nice value RLIMIT_NICE allows is the
    // highest ordinary priority (on Linux, setpriority with a thread id affects only that thread).
    rlimit limit{};
    if (getrlimit(RLIMIT_NICE, &limit) != 0 || limit.rlim_cur <= 20)
        return false;
    int best = 20 - static_cast<int>(limit.rlim_cur);
    if (best < -20)
        best = -20;
    auto tid = static_cast<id_t>(syscall(SYS_gettid));
    return setpriority(PRIO_PROCESS, tid, best) == 0;
}

} // namespace platform
