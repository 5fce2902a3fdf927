#pragma once

#include <QList>
#include <QObject>
#include <QSet>

#include "list/entrylist.h"

// Walks the entries that a list held when the walk started, in list order or from the end,
// while the walk yields to the event loop and other commands may change the list meanwhile:
// entries removed since are skipped, entries added since are never visited, and entries that
// moved (a de-duplication compacts the list) are found where they are now.
class ListWalk final : public QObject {
public:
    enum class Order { FromTop, FromEnd };

    ListWalk(EntryList *list, Order order);

    // The row of the next entry still in the list, or -1 when the walk is over. The row is
    // good until the walk yields again.
    int next();
    // Marks the entry that next() returned last, for a change made to all marked entries in
    // one step once the walk is over.
    void markCurrent();
    const QSet<EntryId> &marked() const { return marked_; }
    // Whether others inserted, removed or moved entries since the walk started.
    bool changedByOthers() const { return changedByOthers_; }
    // How many entries the list held when the walk started.
    int size() const { return int(ids_.size()); }

private:
    const EntryModel *model_;
    const QList<EntryId> ids_;
    const Order order_;
    qsizetype visited_ = 0;
    EntryId current_ = 0;
    bool hasCurrent_ = false;
    QSet<EntryId> marked_;
    bool changedByOthers_ = false;
};

// The selected entries of a list, kept in step while a walk yields (an open find dialog may
// mark entries meanwhile), so that asking for an entry is one look-up rather than a search
// through the selection's ranges.
class SelectedEntries final : public QObject {
public:
    explicit SelectedEntries(EntryList *list);

    bool containsRow(int row) const { return ids_.contains(model_->ids().value(row)); }

private:
    void note(const class QItemSelection &ranges, bool selected);

    const EntryModel *model_;
    QSet<EntryId> ids_;
};
