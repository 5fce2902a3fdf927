#pragma once

#include <QtGlobal>

// Milliseconds on a monotonic clock that is cheap to read, to a few milliseconds: enough for
// asking whether a display is due, which the walks do for each of tens of thousands of entries.
qint64 coarseMonotonicMs();
