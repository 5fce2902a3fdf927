#pragma once

#include <QObject>
#include <QSet>

#include <functional>
#include <vector>

#include "walk/displayrate.h"
#include "walk/entrylist.h"

// One yield to the event loop: pending paint and input events are handled, so the window
// repaints and stays responsive while a command walks a list.
void yieldToEventLoop();

// Holds a close of the window back while commands that yield, or wait on a box, are under
// way: the window must not be deleted under them. A close asked for meanwhile makes every
// walk stop at its next yield; the window closes once the last command has ended.
class CloseGuard {
public:
    // closeNow closes the window; it runs when the last command holding it has ended.
    explicit CloseGuard(std::function<void()> closeNow) : closeNow_(std::move(closeNow)) {}
    CloseGuard(const CloseGuard &) = delete;
    CloseGuard &operator=(const CloseGuard &) = delete;

    bool held() const { return holders_ > 0; }
    bool closing() const { return closing_; }
    // The window was asked to close while held: it closes when the last command has ended.
    void requestClose() { closing_ = true; }
    // The window is closing now; commands started on it from here on start nothing.
    void closed() { closing_ = closed_ = true; }

private:
    friend class HeldOpen;
    std::function<void()> closeNow_;
    int holders_ = 0;
    bool closing_ = false;
    bool closed_ = false;
};

// A command's hold on its window, for as long as the command runs.
class HeldOpen {
public:
    explicit HeldOpen(CloseGuard &guard) : guard_(guard) { ++guard_.holders_; }
    ~HeldOpen();
    HeldOpen(const HeldOpen &) = delete;
    HeldOpen &operator=(const HeldOpen &) = delete;

    // The window was asked to close: start nothing new.
    bool closing() const { return guard_.closing_; }

private:
    CloseGuard &guard_;
};

// The walk of a command over the entries a list holds when it starts (or over a count of
// other items: dropped paths, pasted pieces), one yield to the event loop per entry. Other
// commands may change the list while the walk yields: entries removed meanwhile are skipped,
// entries added meanwhile are never visited, and entries that moved are found where they are
// now, so no command ever works on an entry that is gone or on another in its place. The walk
// ends early when the window is asked to close: the entry in hand is finished, no new one
// is started.
class Walk {
public:
    enum class Order { FromTop, FromEnd };
    // How often a walk over a count yields: after every item, or, for a command whose items
    // take microseconds and need no yield of their own, once a millisecond has passed since
    // the last yield (to the coarse clock's tick, a few milliseconds), which keeps the window as
    // responsive and costs the walk far less.
    enum class Pace { EveryItem, EveryMillisecond };

    Walk(const HeldOpen &held, EntryList *list, Order order);
    Walk(const HeldOpen &held, qsizetype count, Pace pace = Pace::EveryItem);
    Walk(const Walk &) = delete;
    Walk &operator=(const Walk &) = delete;

    // A step (the progress bar's) made once for every entry visited, after its work.
    Walk &withProgress(std::function<void()> step);

    // Yields once (as its pace says), then gives the row of the next entry still in the list
    // (for a walk over a count, the next index); -1 when the walk is over. The row is good
    // until the next yield.
    int next();
    // Walks every entry without work of its own, for a command whose change is made in one
    // step once the walk is over; false when the walk stopped because the window is closing.
    bool toEnd();
    // Whether the walk ended because the window is closing.
    bool stoppedByClose() const { return stoppedByClose_; }
    // How many entries the walk set out to visit.
    qsizetype size() const { return list_ ? ids_.size() : count_; }

    // Marks the entry that next() gave last, for a change made to all marked entries in one
    // step once the walk is over.
    void markCurrent();
    const QSet<EntryId> &marked() const { return marked_; }

private:
    int lookUp();
    bool yieldDue();

    const HeldOpen &held_;
    EntryList *list_ = nullptr;
    QList<EntryId> ids_;
    qsizetype count_ = 0;
    Order order_ = Order::FromTop;
    std::function<void()> step_;
    qsizetype visited_ = 0;
    bool inEntry_ = false;
    EntryId current_ = 0;
    QSet<EntryId> marked_;
    bool stoppedByClose_ = false;
    Pace pace_ = Pace::EveryItem;
    DisplayRate yieldRate_{1};
    // Any change of rows may shift the entries ahead; from then on each is looked up.
    quint64 rowsVersion_ = 0;
};

// The selected entries of a list, kept in step while a walk yields (an open find dialog may
// mark entries meanwhile), so that asking for an entry is one look-up rather than a search
// through the selection's ranges. A list's identities are handed out in ascending order and
// mostly lie close together: then one flag per identity from the smallest on answers, which
// is several times faster than a hash for tens of thousands of entries.
class SelectedEntries final : public QObject {
public:
    explicit SelectedEntries(EntryList *list);

    bool containsRow(int row) const { return contains(model_->idAt(row)); }

private:
    bool contains(EntryId id) const
    {
        if (!dense_)
            return ids_.contains(id);
        return id >= base_ && id - base_ < flags_.size() && flags_[size_t(id - base_)];
    }
    void note(const class QItemSelection &ranges, bool selected);
    void set(EntryId id, bool selected);

    const EntryModel *model_;
    bool dense_ = false;
    EntryId base_ = 0;
    std::vector<bool> flags_;
    QSet<EntryId> ids_;
};

// Changes entries' texts while a walk yields. Each change would otherwise make the list lay
// out all its entries again and repaint itself whole at the next yield; entries keep their
// height, so the list is laid out once when the walk is over, and meanwhile repainted at
// display rate while entries in view change.
class QuietEntryTexts {
public:
    explicit QuietEntryTexts(EntryList *list);
    ~QuietEntryTexts() { finish(); }
    QuietEntryTexts(const QuietEntryTexts &) = delete;
    QuietEntryTexts &operator=(const QuietEntryTexts &) = delete;

    void set(int row, const QString &text);
    // Lays the list out and shows it; done at destruction unless done before.
    void finish();

private:
    void showIfDue();
    void lookUpShownRows();

    EntryList *list_;
    bool finished_ = false;
    // The rows in view, looked up at display rate: a change further down needs no repaint.
    int firstShown_ = 0;
    int lastShown_ = -1;
    bool changedInView_ = false;
    DisplayRate repaint_;
};
