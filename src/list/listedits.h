#pragma once

#include <QList>
#include <QSet>
#include <QStringList>

#include "app/displayrate.h"
#include "app/listwalk.h"
#include "list/entrylist.h"

class Form1;

// The walk of a list command: one yield to the event loop and one progress step for each
// entry the list held when it started, skipping entries that others removed meanwhile. It
// ends early when another command inserted or removed entries while it yielded; the caller
// then applies its change to the list as it stands, so no command ever works on an entry
// that is gone or has moved.
void walkWithProgress(Form1 &window, EntryList *list, ListWalk::Order order);

QStringList entryTexts(const EntryList *list);
// The selected flag of every entry, read from the selection's ranges in one pass.
QList<bool> selectedFlags(const EntryList *list);

// The list's selection changes in one step each: a selection built entry by entry splits
// into ranges that every further step and every repaint would have to go through.
void setSelectedFlags(EntryList *list, const QList<bool> &selected);
void setAllSelected(EntryList *list, bool selected);

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

// Removes the given entries in one step (see keepEntries); entries no longer in the list are
// ignored.
void removeEntries(EntryList *list, const QSet<EntryId> &entries);

// Keeps the entries whose flag is set, in their order and with their selected flags; the
// current entry stays current when it is kept. The tool tip and the scroll position are left
// as they were.
void keepEntries(EntryList *list, const QList<bool> &keep);
