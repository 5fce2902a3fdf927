#pragma once

#include <QThreadPool>

#include <utility>

// Tens of thousands of strings take milliseconds to free, one at a time. A command that is
// done with a large list of them hands it to another thread to free, and the window goes on
// at once; a small list is freed here, for less than the handing over would cost. Strings
// still shared with the window's own lists merely lose one reference there.
template <typename List>
void releaseList(List list)
{
    if (list.size() < 4096)
        return;
    QThreadPool::globalInstance()->start([held = std::move(list)]() mutable {
        const List gone = std::move(held);
    });
}
