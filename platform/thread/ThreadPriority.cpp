// Best-effort priority raising for audio display workers.
#include "ThreadPriority.h"

#include <pthread.h>
#include <sched.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace platform {

bool RaiseCurrentThreadToHighestPriority() {
    sched_param param{};
    param.sched_priority = sched_get_priority_min(SCHED_RR);
    if (pthread_setschedparam(pthread_self(), SCHED_RR, &param) == 0)
        return true;
    // No real-time rights: lower this thread's nice value as far as RLIMIT_NICE allows
    // (on Linux, setpriority with a thread id affects only that thread).
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
