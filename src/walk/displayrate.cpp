#include "walk/displayrate.h"

#include <QElapsedTimer>

namespace {

constexpr qint64 kRepaintMs = 20;

qint64 monotonicMs()
{
    static QElapsedTimer clock;
    if (!clock.isValid())
        clock.start();
    return clock.elapsed();
}

} // namespace

bool DisplayRate::due()
{
    return shownAtMs_ < 0 || monotonicMs() - shownAtMs_ >= kRepaintMs;
}

void DisplayRate::shown()
{
    shownAtMs_ = monotonicMs();
}
