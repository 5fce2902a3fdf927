#include "app/listwalk.h"

#include <QListWidget>

#include <algorithm>

ListWalk::ListWalk(QListWidget *list, Order order) : QObject(list), list_(list)
{
    items_.reserve(list->count());
    for (int row = 0; row < list->count(); ++row)
        items_.push_back(list->item(row));
    if (order == Order::FromEnd)
        std::reverse(items_.begin(), items_.end());

    QAbstractItemModel *model = list->model();
    connect(model, &QAbstractItemModel::rowsAboutToBeRemoved, this,
            [this](const QModelIndex &, int first, int last) { forget(first, last); });
    connect(model, &QAbstractItemModel::rowsInserted, this, [this] { changedByOthers_ = true; });
    connect(model, &QAbstractItemModel::modelAboutToBeReset, this, [this] {
        cleared_ = true;
        changedByOthers_ = true;
    });
}

void ListWalk::forget(int first, int last)
{
    if (!ownRemoval_)
        changedByOthers_ = true;
    // An item's memory may be reused by an entry added later; remembering the address as
    // gone keeps such a newcomer from being taken for a walked entry.
    for (int row = first; row <= last; ++row)
        gone_.insert(list_->item(row));
}

QListWidgetItem *ListWalk::next()
{
    current_ = nullptr;
    if (cleared_)
        return nullptr;
    while (cursor_ < items_.size()) {
        QListWidgetItem *item = items_[cursor_++];
        if (gone_.isEmpty() || !gone_.contains(item)) {
            current_ = item;
            return item;
        }
    }
    return nullptr;
}

void ListWalk::removeCurrent()
{
    if (!current_)
        return;
    ownRemoval_ = true;
    delete list_->takeItem(list_->row(current_));
    ownRemoval_ = false;
    current_ = nullptr;
}
