#include "platform/ThreadTiming.h"

#include <pthread.h>
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

void SleepToNextMillisecond() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    timespec deadline = now;
    deadline.tv_nsec = (now.tv_nsec / 1000000L + 1) * 1000000L;
    if (deadline.tv_nsec >= 1000000000L) {
        deadline.tv_sec += 1;
        deadline.tv_nsec -= 1000000000L;
    }
    while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &deadline, nullptr) == EINTR) {
    }
}

bool RaiseCurrentThreadPriority() {
    // "Above normal" means the thread preempts the program's normal threads whenever a frame is
    // due. The lowest real-time priority does exactly that; the loop sleeps between frames and
    // does well under a millisecond of work per frame, so it cannot starve the rest (and the
    // kernel's real-time throttling bounds it in any case). Without the privilege for it, one nice
    // step (nice -1, a larger share under the normal scheduler) where RLIMIT_NICE allows it.
    sched_param param{};
    param.sched_priority = 1;
    if (pthread_setschedparam(pthread_self(), SCHED_FIFO, &param) == 0) return true;
    const auto tid = static_cast<id_t>(gettid());
    return setpriority(PRIO_PROCESS, tid, -1) == 0;
}

}  // namespace lumavox
