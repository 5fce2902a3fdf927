#include "app/listwalk.h"

#include <QItemSelectionModel>
#include <QListWidget>

#include <algorithm>

namespace {

// The walks under way; nested commands may walk one list at once.
QList<ListWalk *> &liveWalks()
{
    static QList<ListWalk *> walks;
    return walks;
}

} // namespace

ListWalk::ListWalk(QListWidget *list, Order order) : QObject(list), list_(list)
{
    items_.reserve(list->count());
    for (int row = 0; row < list->count(); ++row)
        items_.push_back(list->item(row));
    if (order == Order::FromEnd)
        std::reverse(items_.begin(), items_.end());
    size_ = int(items_.size());

    QAbstractItemModel *model = list->model();
    connect(model, &QAbstractItemModel::rowsAboutToBeRemoved, this,
            [this](const QModelIndex &, int first, int last) { forget(first, last); });
    connect(model, &QAbstractItemModel::rowsInserted, this, [this] { changedByOthers_ = true; });
    connect(model, &QAbstractItemModel::modelAboutToBeReset, this, [this] {
        cleared_ = true;
        changedByOthers_ = true;
        marked_.clear();
    });
    liveWalks().append(this);
}

ListWalk::~ListWalk()
{
    liveWalks().removeOne(this);
}

void listRebuilding(QListWidget *list)
{
    for (ListWalk *walk : std::as_const(liveWalks())) {
        if (walk->list_ == list)
            walk->rebuilding_ = true;
    }
}

void listRebuilt(QListWidget *list, const QHash<QListWidgetItem *, QListWidgetItem *> &newItemOf)
{
    for (ListWalk *walk : std::as_const(liveWalks())) {
        if (walk->list_ == list && walk->rebuilding_)
            walk->follow(newItemOf);
    }
}

void ListWalk::follow(const QHash<QListWidgetItem *, QListWidgetItem *> &newItemOf)
{
    rebuilding_ = false;
    changedByOthers_ = true;
    // Only the entries still ahead matter; each now names the item that holds it, and the
    // entries gone before the rebuild are left out here, so the gone set starts afresh.
    for (qsizetype i = cursor_; i < items_.size(); ++i) {
        QListWidgetItem *&item = items_[i];
        item = item && !gone_.contains(item) ? newItemOf.value(item, nullptr) : nullptr;
    }
    gone_.clear();
    current_ = nullptr;
    QSet<QListWidgetItem *> marked;
    for (QListWidgetItem *item : std::as_const(marked_)) {
        if (QListWidgetItem *now = newItemOf.value(item, nullptr))
            marked.insert(now);
    }
    marked_ = marked;
}

void ListWalk::forget(int first, int last)
{
    changedByOthers_ = true;
    // Rows that a rebuild removes held entries that may live on in other rows; the rebuild
    // says which (follow()).
    if (rebuilding_)
        return;
    // An item's memory may be reused by an entry added later; remembering the address as
    // gone keeps such a newcomer from being taken for a walked entry.
    for (int row = first; row <= last; ++row) {
        QListWidgetItem *item = list_->item(row);
        gone_.insert(item);
        marked_.remove(item);
    }
}

QListWidgetItem *ListWalk::next()
{
    current_ = nullptr;
    if (cleared_)
        return nullptr;
    while (cursor_ < items_.size()) {
        QListWidgetItem *item = items_[cursor_++];
        if (item && (gone_.isEmpty() || !gone_.contains(item))) {
            current_ = item;
            return item;
        }
    }
    return nullptr;
}

void ListWalk::markCurrent()
{
    if (current_)
        marked_.insert(current_);
}

SelectedEntries::SelectedEntries(QListWidget *list) : QObject(list), list_(list)
{
    QItemSelectionModel *selection = list->selectionModel();
    items_.reserve(list->count());
    note(selection->selection(), true);
    connect(selection, &QItemSelectionModel::selectionChanged, this,
            [this](const QItemSelection &selected, const QItemSelection &deselected) {
                note(deselected, false);
                note(selected, true);
            });
    // A reset clears the selection without a word; removed rows leave it without one too.
    QAbstractItemModel *model = list->model();
    connect(model, &QAbstractItemModel::modelAboutToBeReset, this, [this] { items_.clear(); });
    connect(model, &QAbstractItemModel::rowsAboutToBeRemoved, this,
            [this](const QModelIndex &, int first, int last) {
                for (int row = first; row <= last; ++row)
                    items_.remove(list_->item(row));
            });
}

void SelectedEntries::note(const QItemSelection &ranges, bool selected)
{
    for (const QItemSelectionRange &range : ranges) {
        for (int row = range.top(); row <= range.bottom(); ++row) {
            QListWidgetItem *item = list_->item(row);
            if (!item)
                continue;
            if (selected)
                items_.insert(item);
            else
                items_.remove(item);
        }
    }
}
