#include "list/moveposition.h"

#include <cerrno>
#include <cfenv>
#include <cmath>

MovePosition movePosition(double value, int count)
{
    // nearbyint rounds in the current mode, which the program never changes from
    // round-to-nearest-even; say so rather than rely on it.
    const int mode = std::fegetround();
    std::fesetround(FE_TONEAREST);
    const double rounded = std::nearbyint(value);
    std::fesetround(mode);

    if (!std::isfinite(rounded) || rounded < -32768.0 || rounded > 32767.0)
        return {0, FsResult::fromErrno(EOVERFLOW)};
    const int position = int(rounded);
    if (position < 0 || position > count - 1)
        return {0, FsResult::fromErrno(EINVAL)};
    return {position, FsResult::success()};
}
