#include "walk/walk.h"

#include <QCoreApplication>
#include <QItemSelectionModel>

#include <algorithm>

void yieldToEventLoop()
{
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

HeldOpen::~HeldOpen()
{
    if (--guard_.holders_ == 0 && guard_.closing_ && !guard_.closed_) {
        guard_.closed_ = true;
        guard_.closeNow_();
    }
}

Walk::Walk(const HeldOpen &held, EntryList *list, Order order)
    : held_(held), list_(list), ids_(list->entries()->ids()), order_(order),
      rowsVersion_(list->entries()->rowsVersion())
{
}

Walk::Walk(const HeldOpen &held, qsizetype count, Pace pace)
    : held_(held), count_(count), pace_(pace)
{
}

bool Walk::yieldDue()
{
    if (pace_ == Pace::EveryItem)
        return true;
    if (!yieldRate_.due())
        return false;
    yieldRate_.shown();
    return true;
}

Walk &Walk::withProgress(std::function<void()> step)
{
    step_ = std::move(step);
    return *this;
}

int Walk::next()
{
    if (inEntry_ && step_)
        step_();
    inEntry_ = false;
    if (visited_ >= size() || stoppedByClose_)
        return -1;
    if (yieldDue())
        yieldToEventLoop();
    if (held_.closing()) {
        stoppedByClose_ = true;
        return -1;
    }
    const int row = list_ ? lookUp() : int(visited_++);
    inEntry_ = row >= 0;
    return row;
}

bool Walk::toEnd()
{
    while (next() >= 0) {
    }
    return !stoppedByClose_;
}

int Walk::lookUp()
{
    const EntryModel *model = list_->entries();
    const bool shifted = model->rowsVersion() != rowsVersion_;
    const qsizetype n = ids_.size();
    while (visited_ < n) {
        const qsizetype at = order_ == Order::FromTop ? visited_ : n - 1 - visited_;
        ++visited_;
        const EntryId id = ids_[at];
        const int row = shifted ? model->rowOf(id) : int(at);
        if (row >= 0) {
            current_ = id;
            return row;
        }
    }
    return -1;
}

void Walk::markCurrent()
{
    if (inEntry_ && list_)
        marked_.insert(current_);
}

SelectedEntries::SelectedEntries(EntryList *list) : model_(list->entries())
{
    QItemSelectionModel *selection = list->selectionModel();
    const QList<EntryId> &ids = model_->ids();
    if (!ids.isEmpty()) {
        const auto [low, high] = std::minmax_element(ids.cbegin(), ids.cend());
        // A list whose identities are spread wide (entries kept from long ago beside new ones)
        // would make the flags outgrow the hash.
        dense_ = *high - *low < quint64(8 * ids.size() + 4096);
        base_ = *low;
        if (dense_)
            flags_.assign(size_t(*high - *low + 1), false);
        else
            ids_.reserve(ids.size());
    }
    note(selection->selection(), true);
    // Entries that leave the list take their identities with them, so only changes of the
    // selection itself need noting.
    connect(selection, &QItemSelectionModel::selectionChanged, this,
            [this](const QItemSelection &selected, const QItemSelection &deselected) {
                note(deselected, false);
                note(selected, true);
            });
}

void SelectedEntries::set(EntryId id, bool selected)
{
    if (!dense_) {
        if (selected)
            ids_.insert(id);
        else
            ids_.remove(id);
        return;
    }
    if (id < base_)
        return;   // identities below the first were never in this list
    const quint64 at = id - base_;
    if (at >= flags_.size()) {
        if (!selected)
            return;
        flags_.resize(size_t(at + 1), false);   // an entry added while the walk yields
    }
    flags_[size_t(at)] = selected;
}

void SelectedEntries::note(const QItemSelection &ranges, bool selected)
{
    const QList<EntryId> &ids = model_->ids();
    for (const QItemSelectionRange &range : ranges) {
        for (int row = qMax(0, range.top()); row <= range.bottom() && row < ids.size(); ++row)
            set(ids[row], selected);
    }
}

QuietEntryTexts::QuietEntryTexts(EntryList *list) : list_(list)
{
    lookUpShownRows();
    // The first changes show one period on, together: a walk changes the rows in view within
    // a fraction of it, and a repaint of the list costs as much as hundreds of entries.
    repaint_.shown();
}

void QuietEntryTexts::finish()
{
    if (finished_)
        return;
    finished_ = true;
    list_->entries()->announceQuietChanges();
    list_->doItemsLayout();
    list_->viewport()->update();
}

void QuietEntryTexts::set(int row, const QString &text)
{
    list_->entries()->setText(row, text, true);
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
