#include "platform/ThreadTiming.h"

#include <sched.h>
#include <sys/resource.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>

namespace lumavox {

void SleepMs(uint32_t milliseconds) {
    timespec deadline{};
    clock_gettime(CLOCK_MONOTONIC, &deadline);
    deadline.tv_sec += static_cast<time_t>(milliseconds / 1000);
    deadline.tv_nsec += static_cast<long>(milliseconds % 1000) * 1000000L;
    if (deadline.tv_nsec >= 1000000000L) {
        deadline.tv_sec += 1;
        deadline.tv_nsec -= 1000000000L;
    }
    // An absolute deadline, so a signal that interrupts the sleep does not lengthen it.
    while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &deadline, nullptr) == EINTR) {
    }
}

void YieldThread() {
    sched_yield();
}

bool RaiseCurrentThreadPriority() {
    // Under the normal scheduler a thread's priority is its own nice value: one step above
    // normal is nice -1, allowed with CAP_SYS_NICE or a matching RLIMIT_NICE.
    const auto tid = static_cast<id_t>(gettid());
    return setpriority(PRIO_PROCESS, tid, -1) == 0;
}

}  // namespace lumavox
