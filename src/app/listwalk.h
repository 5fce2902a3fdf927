#pragma once

#include <QObject>
#include <QSet>
#include <QVector>

class QListWidget;
class QListWidgetItem;

// Walks the entries that a list held when the walk started, in list order or from the end,
// while the walk yields to the event loop and other commands may change the list meanwhile:
// entries removed since are skipped, entries added since are never visited, and a cleared
// list ends the walk. Removals made through the walk itself do not count as changes by others.
class ListWalk final : public QObject {
public:
    enum class Order { FromTop, FromEnd };

    ListWalk(QListWidget *list, Order order);

    // The next entry still in the list, or nullptr when the walk is over.
    QListWidgetItem *next();
    // Removes the entry that next() returned last.
    void removeCurrent();
    // Whether others inserted or removed entries since the walk started.
    bool changedByOthers() const { return changedByOthers_; }
    // How many entries the list held when the walk started.
    int size() const { return int(items_.size()); }

private:
    void forget(int first, int last);

    QListWidget *list_;
    QVector<QListWidgetItem *> items_;
    QSet<QListWidgetItem *> gone_;
    int cursor_ = 0;
    QListWidgetItem *current_ = nullptr;
    bool ownRemoval_ = false;
    bool cleared_ = false;
    bool changedByOthers_ = false;
};
