#pragma once

#include <QHash>
#include <QObject>
#include <QSet>
#include <QVector>

class QListWidget;
class QListWidgetItem;

// Walks the entries that a list held when the walk started, in list order or from the end,
// while the walk yields to the event loop and other commands may change the list meanwhile:
// entries removed since are skipped, entries added since are never visited, and a cleared
// list ends the walk.
// A list rebuilt in one step (keepEntries) holds its entries in other items afterwards; the
// walk follows its entries into them, so a de-duplication meanwhile only skips what it removed.
class ListWalk final : public QObject {
public:
    enum class Order { FromTop, FromEnd };

    ListWalk(QListWidget *list, Order order);
    ~ListWalk() override;

    // The next entry still in the list, or nullptr when the walk is over.
    QListWidgetItem *next();
    // Marks the entry that next() returned last; the marked entries still in the list, for
    // a change made to all of them in one step once the walk is over.
    void markCurrent();
    QSet<QListWidgetItem *> marked() const { return marked_; }
    // Whether others inserted or removed entries since the walk started.
    bool changedByOthers() const { return changedByOthers_; }
    // How many entries the list held when the walk started.
    int size() const { return size_; }

private:
    friend void listRebuilding(QListWidget *list);
    friend void listRebuilt(QListWidget *list,
                            const QHash<QListWidgetItem *, QListWidgetItem *> &newItemOf);
    void forget(int first, int last);
    void follow(const QHash<QListWidgetItem *, QListWidgetItem *> &newItemOf);

    QListWidget *list_;
    QVector<QListWidgetItem *> items_;
    QSet<QListWidgetItem *> gone_;
    QSet<QListWidgetItem *> marked_;
    int size_ = 0;
    int cursor_ = 0;
    QListWidgetItem *current_ = nullptr;
    bool rebuilding_ = false;
    bool cleared_ = false;
    bool changedByOthers_ = false;
};

// The selected entries of a list, kept in step while a walk yields (an open find dialog may
// mark entries, a paste may rebuild the list), so that asking an entry is one look-up rather
// than a search through the selection's ranges.
class SelectedEntries final : public QObject {
public:
    explicit SelectedEntries(QListWidget *list);

    bool contains(QListWidgetItem *item) const { return items_.contains(item); }

private:
    void note(const class QItemSelection &ranges, bool selected);

    QListWidget *list_;
    QSet<QListWidgetItem *> items_;
};

// Told by whoever rebuilds a list in one step, so that the walks under way follow: before the
// rebuild starts, and once the kept entries sit in their items (old item → item now holding
// that entry; an old item not in the map was removed).
void listRebuilding(QListWidget *list);
void listRebuilt(QListWidget *list, const QHash<QListWidgetItem *, QListWidgetItem *> &newItemOf);
