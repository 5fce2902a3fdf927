#include "walk/entrylist.h"

#include "platform/filenames.h"
#include "walk/disposal.h"

#include <QFocusEvent>

#include <algorithm>

// The rows the views know: entries appended soon are not among them yet.
int EntryModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(texts_.size());
}

QVariant EntryModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= texts_.size())
        return QVariant();
    // Shown with the bytes of a name that are not UTF-8 escaped, so that two names never look
    // the same; the entry itself stays the exact name.
    if (role == Qt::DisplayRole)
        return visibleFileName(texts_[index.row()]);
    return extraRoles_ ? extraRoles_(index.row(), ids_[index.row()], role) : QVariant();
}

int EntryModel::rowOf(EntryId id) const
{
    flushPending();
    if (ascending_) {
        const auto at = std::lower_bound(ids_.cbegin(), ids_.cend(), id);
        return at != ids_.cend() && *at == id ? int(at - ids_.cbegin()) : -1;
    }
    if (!rowTableValid_) {
        rowTable_.clear();
        rowTable_.reserve(ids_.size());
        for (int row = 0; row < count(); ++row)
            rowTable_.insert(ids_[row], row);
        rowTableValid_ = true;
    }
    return rowTable_.value(id, -1);
}

void EntryModel::takeNewIds(qsizetype count)
{
    ids_.reserve(ids_.size() + count);
    for (qsizetype i = 0; i < count; ++i)
        ids_.push_back(nextId_++);
}

void EntryModel::flushPending() const
{
    if (!pending_.isEmpty())
        const_cast<EntryModel *>(this)->insertPending();
}

void EntryModel::insertPending()
{
    const QStringList texts = std::exchange(pending_, QStringList());
    append(texts);
}

void EntryModel::append(const QStringList &texts)
{
    flushPending();
    if (texts.isEmpty())
        return;
    beginInsertRows(QModelIndex(), count(), count() + int(texts.size()) - 1);
    texts_ += texts;
    takeNewIds(texts.size());
    rowTableValid_ = false;
    endInsertRows();
}

void EntryModel::replaceAll(const QStringList &texts)
{
    pending_.clear();
    ++rowsVersion_;
    beginResetModel();
    releaseList(std::exchange(texts_, texts));
    ids_.clear();
    takeNewIds(texts.size());
    ascending_ = true;
    rowTableValid_ = false;
    endResetModel();
}

void EntryModel::keep(const QList<bool> &keep)
{
    flushPending();
    if (keep.size() != count() || !keep.contains(false))
        return;
    ++rowsVersion_;
    beginResetModel();
    qsizetype kept = 0;
    for (qsizetype row = 0; row < keep.size(); ++row) {
        if (!keep[row])
            continue;
        if (kept != row) {
            texts_[kept] = std::move(texts_[row]);
            ids_[kept] = ids_[row];
        }
        ++kept;
    }
    texts_.resize(kept);
    ids_.resize(kept);
    rowTableValid_ = false;
    endResetModel();
}

void EntryModel::move(int from, int to)
{
    flushPending();
    if (from < 0 || from >= count() || to < 0 || to >= count() || from == to)
        return;
    ++rowsVersion_;
    // The model's move names the row before which the entry goes, counted before the move.
    beginMoveRows(QModelIndex(), from, from, QModelIndex(), to > from ? to + 1 : to);
    texts_.move(from, to);
    ids_.move(from, to);
    ascending_ = std::is_sorted(ids_.cbegin(), ids_.cend());
    rowTableValid_ = false;
    endMoveRows();
}

void EntryModel::setText(int row, const QString &text, bool quietly)
{
    flushPending();
    if (row < 0 || row >= count())
        return;
    texts_[row] = text;
    if (quietly) {
        firstQuiet_ = firstQuiet_ < 0 ? row : qMin(firstQuiet_, row);
        lastQuiet_ = qMax(lastQuiet_, row);
        return;
    }
    const QModelIndex at = index(row, 0);
    Q_EMIT dataChanged(at, at, {Qt::DisplayRole});
}

void EntryModel::announceQuietChanges()
{
    flushPending();
    const int first = firstQuiet_, last = qMin(lastQuiet_, count() - 1);
    firstQuiet_ = lastQuiet_ = -1;
    if (first >= 0 && first <= last)
        Q_EMIT dataChanged(index(first, 0), index(last, 0), {Qt::DisplayRole});
}

void EntryModel::extraRolesChanged(const QList<int> &roles)
{
    if (count() > 0)
        Q_EMIT dataChanged(index(0, 0), index(count() - 1, 0), roles);
}

EntryList::EntryList(QWidget *parent) : QListView(parent), model_(new EntryModel(this))
{
    // All rows have one height: lets the view lay out tens of thousands of entries at once.
    setUniformItemSizes(true);
    setModel(model_);
    connect(selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex &current) { Q_EMIT currentRowChanged(current.row()); });
}

void EntryList::clear()
{
    // As a list box does: the current entry and the selection go first, with their signals.
    selectionModel()->clear();
    model_->replaceAll(QStringList());
}

void EntryList::setCurrentRow(int row, QItemSelectionModel::SelectionFlags how)
{
    selectionModel()->setCurrentIndex(model_->index(row, 0), how);
}

void EntryList::addEntrySoon(const QString &text)
{
    if (!model_->hasPending()) {
        // The clocks start with the first entry waiting, so a short walk shows its entries
        // once, at its end.
        newRowsInView_.shown();
        newRowsBelowView_.shown();
    }
    model_->appendLater(text);
    if (!newRowsInView_.due())
        return;
    newRowsInView_.shown();
    const int shownRows = model_->rowCount();
    const bool endInView =
        shownRows == 0 || visualRect(model_->index(shownRows - 1, 0)).top() < viewport()->height();
    if (endInView || newRowsBelowView_.due()) {
        newRowsBelowView_.shown();
        model_->flushPending();
    }
}

bool EntryList::isSelected(int row) const
{
    return selectionModel()->isSelected(model_->index(row, 0));
}

// A list has a current entry only when the user clicked or moved to one, or a command set
// one. The item view would make the first entry current whenever the list gains the focus
// otherwise (Tab, the window's activation, a box closing): one that nobody chose, which
// commands acting on the current entry would then take.
void EntryList::focusInEvent(QFocusEvent *event)
{
    gainingFocus_ = true;
    QListView::focusInEvent(event);
    gainingFocus_ = false;
}

QModelIndex EntryList::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers)
{
    if (gainingFocus_)
        return QModelIndex();
    return QListView::moveCursor(action, modifiers);
}
