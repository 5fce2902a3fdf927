#include "app/listwalk.h"

ListWalk::ListWalk(EntryList *list, Order order)
    : QObject(list), model_(list->entries()), ids_(list->entries()->ids()), order_(order)
{
    // Any change of rows may shift the entries ahead; from then on each is looked up.
    const auto changed = [this] { changedByOthers_ = true; };
    connect(model_, &QAbstractItemModel::rowsInserted, this, changed);
    connect(model_, &QAbstractItemModel::rowsRemoved, this, changed);
    connect(model_, &QAbstractItemModel::rowsMoved, this, changed);
    connect(model_, &QAbstractItemModel::modelReset, this, changed);
}

int ListWalk::next()
{
    hasCurrent_ = false;
    const qsizetype n = ids_.size();
    while (visited_ < n) {
        const qsizetype at = order_ == Order::FromTop ? visited_ : n - 1 - visited_;
        ++visited_;
        const EntryId id = ids_[at];
        const int row = changedByOthers_ ? model_->rowOf(id) : int(at);
        if (row >= 0) {
            current_ = id;
            hasCurrent_ = true;
            return row;
        }
    }
    return -1;
}

void ListWalk::markCurrent()
{
    if (hasCurrent_)
        marked_.insert(current_);
}

SelectedEntries::SelectedEntries(EntryList *list) : QObject(list), model_(list->entries())
{
    QItemSelectionModel *selection = list->selectionModel();
    ids_.reserve(model_->count());
    note(selection->selection(), true);
    // Entries that leave the list take their identities with them, so only changes of the
    // selection itself need noting.
    connect(selection, &QItemSelectionModel::selectionChanged, this,
            [this](const QItemSelection &selected, const QItemSelection &deselected) {
                note(deselected, false);
                note(selected, true);
            });
}

void SelectedEntries::note(const QItemSelection &ranges, bool selected)
{
    const QList<EntryId> &ids = model_->ids();
    for (const QItemSelectionRange &range : ranges) {
        for (int row = qMax(0, range.top()); row <= range.bottom() && row < ids.size(); ++row) {
            if (selected)
                ids_.insert(ids[row]);
            else
                ids_.remove(ids[row]);
        }
    }
}
