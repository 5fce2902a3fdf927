#pragma once

#include "platform/fsresult.h"

// Where a typed number puts the entry being moved in a list of count entries: rounded to the
// nearest whole position, halves to the even neighbour. A position outside 0 … count − 1 is
// refused as an invalid argument, a number whose rounded value leaves the 16-bit range of
// list positions as an overflow.
struct MovePosition {
    int position = 0;
    FsResult error;
    bool ok() const { return error.ok(); }
};

MovePosition movePosition(double value, int count);
