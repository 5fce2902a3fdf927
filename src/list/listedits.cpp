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
    // The kept entries move up into the first rows, texts only, and the rows left over at the
    // end go in one removal: no item is made anew, and the list is neither reset nor told of
    // every moved text (it is laid out and repainted once at the end).
    QList<bool> keptSelected;
    QHash<QListWidgetItem *, QListWidgetItem *> newItemOf;
    newItemOf.reserve(count);
    int kept = 0;
    int newCurrent = -1;
    const QString toolTip = list->toolTip();
    const int scroll = list->verticalScrollBar()->value();
    {
        const QuietList quiet(list);
        listRebuilding(list);
        list->selectionModel()->clearSelection();
        {
            const QSignalBlocker silent(list->model());
            for (int row = 0; row < count; ++row) {
                if (!keep[row])
                    continue;
                if (row == current)
                    newCurrent = kept;
                QListWidgetItem *from = list->item(row);
                QListWidgetItem *to = list->item(kept);
                if (to != from)
                    to->setText(from->text());
                newItemOf.insert(from, to);
                keptSelected << selected[row];
                ++kept;
            }
        }
        // The model takes removed rows out one by one from the front of the run, moving all
        // rows behind each: short runs taken from the end keep that cheap.
        constexpr int kRun = 256;
        for (int end = count; end > kept; end -= kRun) {
            const int first = qMax(kept, end - kRun);
            list->model()->removeRows(first, end - first);
        }
        listRebuilt(list, newItemOf);
        applyFlags(list, keptSelected);
        list->selectionModel()->setCurrentIndex(
            newCurrent >= 0 ? list->model()->index(newCurrent, 0) : QModelIndex(),
            QItemSelectionModel::NoUpdate);
        list->doItemsLayout();
        list->verticalScrollBar()->setValue(scroll);
    }
    // Moving the current entry runs the list's click handler, which rewrites the tool tip.
    list->setToolTip(toolTip);
}
