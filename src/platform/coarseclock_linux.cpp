#include "platform/coarseclock.h"

#include <time.h>

qint64 coarseMonotonicMs()
{
    // The coarse clock is read from memory the kernel keeps up to date, without the precise
    // clock's hardware read; it moves in steps of one timer tick.
    timespec now {};
    ::clock_gettime(CLOCK_MONOTONIC_COARSE, &now);
    return qint64(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
}
