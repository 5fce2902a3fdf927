#include "walk/listedits.h"

#include <QItemSelectionModel>
#include <QScrollBar>

namespace {

// While the selection changes, the view would work out the screen region of every changed
// row; one repaint of the visible rows afterwards shows the same.
class QuietList {
public:
    explicit QuietList(EntryList *list) : list_(list), wasEnabled_(list->updatesEnabled())
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
    EntryList *list_;
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

void applyFlags(EntryList *list, const QList<bool> &selected)
{
    QItemSelectionModel *sm = list->selectionModel();
    // Clearing first: merging a selection into many existing ranges costs the product of both.
    sm->clearSelection();
    const QItemSelection ranges = rangesOf(list->model(), selected);
    if (!ranges.isEmpty())
        sm->select(ranges, QItemSelectionModel::Select);
}

} // namespace

QStringList entryTexts(const EntryList *list)
{
    return list->texts();
}

QList<bool> selectedFlags(const EntryList *list)
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

void setSelectedFlags(EntryList *list, const QList<bool> &selected)
{
    const QuietList quiet(list);
    applyFlags(list, selected);
}

void setAllSelected(EntryList *list, bool selected)
{
    setSelectedFlags(list, QList<bool>(list->count(), selected));
}

void removeEntries(EntryList *list, const QSet<EntryId> &entries)
{
    if (entries.isEmpty())
        return;
    const QList<EntryId> &ids = list->entries()->ids();
    QList<bool> keep(ids.size());
    for (qsizetype row = 0; row < ids.size(); ++row)
        keep[row] = !entries.contains(ids[row]);
    keepEntries(list, keep);
}

void keepEntries(EntryList *list, const QList<bool> &keep)
{
    const int count = list->count();
    if (keep.size() != count || !keep.contains(false))
        return;

    const QList<bool> selected = selectedFlags(list);
    const int current = list->currentRow();
    QList<bool> keptSelected;
    keptSelected.reserve(count);
    int newCurrent = -1;
    for (int row = 0; row < count; ++row) {
        if (!keep[row])
            continue;
        if (row == current)
            newCurrent = int(keptSelected.size());
        keptSelected << selected[row];
    }
    const QString toolTip = list->toolTip();
    const int scroll = list->verticalScrollBar()->value();
    {
        const QuietList quiet(list);
        // Cleared with its signal, so whoever keeps track of the selection hears of it; the
        // kept entries' flags come back below.
        list->selectionModel()->clearSelection();
        list->entries()->keep(keep);
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
