#include "walk/displayrate.h"

#include <QElapsedTimer>

namespace {

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
    return shownAtMs_ < 0 || monotonicMs() - shownAtMs_ >= periodMs_;
}

void DisplayRate::shown()
{
    shownAtMs_ = monotonicMs();
}
