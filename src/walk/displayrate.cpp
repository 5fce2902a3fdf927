#include "walk/displayrate.h"

#include "platform/coarseclock.h"

bool DisplayRate::due()
{
    return shownAtMs_ < 0 || coarseMonotonicMs() - shownAtMs_ >= periodMs_;
}

void DisplayRate::shown()
{
    shownAtMs_ = coarseMonotonicMs();
}
