#include "list/listedits.h"

#include <QItemSelectionModel>
#include <QListWidget>
#include <QScrollBar>

#include "app/form1.h"
#include "app/yield.h"

namespace {

// While the selection changes, the view would work out the screen region of every changed
// row; one repaint of the visible rows afterwards shows the same.
class QuietList {
public:
    explicit QuietList(QListWidget *list) : list_(list), wasEnabled_(list->updatesEnabled())
    {
        list_->setUpdatesEnabled(false);
    }
    ~QuietList()
    {
        if (wasEnabled_) {
            list_->setUpdatesEnabled(true);
            list_->viewport()->update();
        }
    }
    QuietList(const QuietList &) = delete;
    QuietList &operator=(const QuietList &) = delete;

private:
    QListWidget *list_;
    bool wasEnabled_;
};

QItemSelection rangesOf(const QAbstractItemModel *model, const QList<bool> &selected)
{
    QItemSelection selection;
    const qsizetype n = selected.size();
    for (qsizetype row = 0; row < n;) {
        if (!selected[row]) {
            ++row;
            continue;
        }
        qsizetype last = row;
        while (last + 1 < n && selected[last + 1])
            ++last;
        selection.append(QItemSelectionRange(model->index(int(row), 0), model->index(int(last), 0)));
        row = last + 1;
    }
    return selection;
}

void applyFlags(QListWidget *list, const QList<bool> &selected)
{
    QItemSelectionModel *sm = list->selectionModel();
    // Clearing first: merging a selection into many existing ranges costs the product of both.
    sm->clearSelection();
    const QItemSelection ranges = rangesOf(list->model(), selected);
    if (!ranges.isEmpty())
        sm->select(ranges, QItemSelectionModel::Select);
}

} // namespace

void walkWithProgress(Form1 &window, QListWidget *list, ListWalk::Order order)
{
    ListWalk walk(list, order);
    // The entry itself is not touched: once the yield returns it may be gone.
    while (walk.next()) {
        yieldToEventLoop();
        if (walk.changedByOthers())
            break;
        window.ShowProgress();
    }
}

QStringList entryTexts(const QListWidget *list)
{
    QStringList texts;
    texts.reserve(list->count());
    for (int row = 0; row < list->count(); ++row)
        texts << list->item(row)->text();
    return texts;
}

QList<bool> selectedFlags(const QListWidget *list)
{
    QList<bool> flags(list->count(), false);
    for (const QItemSelectionRange &range : list->selectionModel()->selection()) {
        for (int row = range.top(); row <= range.bottom(); ++row) {
            if (row >= 0 && row < flags.size())
                flags[row] = true;
        }
    }
    return flags;
}

void setSelectedFlags(QListWidget *list, const QList<bool> &selected)
{
    const QuietList quiet(list);
    applyFlags(list, selected);
}

void setAllSelected(QListWidget *list, bool selected)
{
    setSelectedFlags(list, QList<bool>(list->count(), selected));
}

QuietEntryTexts::QuietEntryTexts(QListWidget *list) : list_(list)
{
    lookUpShownRows();
}

void QuietEntryTexts::finish()
{
    if (finished_)
        return;
    finished_ = true;
    list_->doItemsLayout();
    list_->viewport()->update();
}

void QuietEntryTexts::set(QListWidgetItem *entry, const QString &text)
{
    {
        const QSignalBlocker quiet(list_->model());
        entry->setText(text);
    }
    const int row = list_->row(entry);
    if (row >= firstShown_ && row <= lastShown_)
        changedInView_ = true;
    showIfDue();
}

void QuietEntryTexts::showIfDue()
{
    if (!repaint_.due())
        return;
    repaint_.shown();
    if (changedInView_)
        list_->viewport()->update();
    changedInView_ = false;
    // The user may scroll while the walk yields.
    lookUpShownRows();
}

void QuietEntryTexts::lookUpShownRows()
{
    const QRect view = list_->viewport()->rect();
    const QModelIndex first = list_->indexAt(view.topLeft());
    const QModelIndex last = list_->indexAt(view.bottomLeft());
    firstShown_ = first.isValid() ? first.row() : 0;
    lastShown_ = last.isValid() ? last.row() : list_->count() - 1;
}

void removeEntries(QListWidget *list, const QSet<QListWidgetItem *> &entries)
{
    if (entries.isEmpty())
        return;
    QList<bool> keep(list->count());
    for (int row = 0; row < list->count(); ++row)
        keep[row] = !entries.contains(list->item(row));
    keepEntries(list, keep);
}

void keepEntries(QListWidget *list, const QList<bool> &keep)
{
    const int count = list->count();
    if (keep.size() != count || !keep.contains(false))
        return;

    const QList<bool> selected = selectedFlags(list);
    const int current = list->currentRow();
    QStringList texts;
    QList<bool> keptSelected;
    QList<QListWidgetItem *> keptItems;
    int newCurrent = -1;
    for (int row = 0; row < count; ++row) {
        if (!keep[row])
            continue;
        if (row == current)
            newCurrent = int(texts.size());
        texts << list->item(row)->text();
        keptSelected << selected[row];
        keptItems << list->item(row);
    }

    const QString toolTip = list->toolTip();
    const int scroll = list->verticalScrollBar()->value();
    {
        const QuietList quiet(list);
        ListWalk::rebuilding(list);
        QHash<QListWidgetItem *, QListWidgetItem *> newItemOf;
        newItemOf.reserve(keptItems.size());
        list->clear();
        list->addItems(texts);
        for (int row = 0; row < keptItems.size(); ++row)
            newItemOf.insert(keptItems[row], list->item(row));
        ListWalk::rebuilt(list, newItemOf);
        applyFlags(list, keptSelected);
        if (newCurrent >= 0)
            list->selectionModel()->setCurrentIndex(list->model()->index(newCurrent, 0),
                                                    QItemSelectionModel::NoUpdate);
        list->doItemsLayout();
        list->verticalScrollBar()->setValue(scroll);
    }
    // Moving the current entry runs the list's click handler, which rewrites the tool tip.
    list->setToolTip(toolTip);
}
