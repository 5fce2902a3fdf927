#pragma once

#include <QAbstractListModel>
#include <QHash>
#include <QItemSelectionModel>
#include <QList>
#include <QListView>
#include <QStringList>

#include <functional>

#include "walk/displayrate.h"

// An entry's identity: given when the entry joins its list and never given again, so it stays
// the same while the entry moves within the list and names nothing once it has left.
using EntryId = quint64;

// The entries of a list as plain arrays: a text and an identity per row. Tens of thousands
// of entries are added, changed and pruned in one step each, without an object per entry.
// Entries appended "later" are seen by every reader of the list: they join the rows the views
// know before anything else about the list is read, or when the list shows them.
class EntryModel final : public QAbstractListModel {
    Q_OBJECT

public:
    using QAbstractListModel::QAbstractListModel;

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;

    int count() const { return int(texts_.size() + pending_.size()); }
    const QStringList &texts() const { flushPending(); return texts_; }
    const QList<EntryId> &ids() const { flushPending(); return ids_; }
    EntryId idAt(int row) const { return ids().value(row); }
    // The row that holds the entry, or -1 once it has left the list.
    int rowOf(EntryId id) const;
    // Changes whenever rows are removed, moved or replaced, which may shift entries; appending
    // shifts none.
    quint64 rowsVersion() const { return rowsVersion_; }

    void append(const QStringList &texts);
    // Appends an entry that the views learn of only at the next flushPending() (or read of the
    // list), so that many entries added one by one reach them in one insertion.
    void appendLater(const QString &text) { pending_ << text; }
    bool hasPending() const { return !pending_.isEmpty(); }
    void flushPending() const;
    // Replaces every entry by new ones. The view's current entry and selection go quietly,
    // without their change signals.
    void replaceAll(const QStringList &texts);
    // Keeps the entries whose flag is set, in their order and with their identities. Views
    // see a reset: one step, whatever rows go.
    void keep(const QList<bool> &keep);
    // Moves the entry at row `from` so that it ends up at row `to`.
    void move(int from, int to);
    // Views are told of the change unless `quietly`: a caller changing many entries while it
    // yields repaints at its own pace, and tells of all its changes in one step at the end.
    void setText(int row, const QString &text, bool quietly = false);
    void announceQuietChanges();

    // What a row answers for roles other than its text, such as what a rename would make of
    // it; views are told of new answers for all rows with extraRolesChanged.
    // The answer gets the row as the views know it and the entry's identity there, which it
    // reads without the list being read (entries appended later join no paint).
    using ExtraRoles = std::function<QVariant(int row, EntryId id, int role)>;
    void setExtraRoles(ExtraRoles answer) { extraRoles_ = std::move(answer); }
    void extraRolesChanged(const QList<int> &roles);

private:
    void takeNewIds(qsizetype count);
    void insertPending();

    QStringList texts_;
    QStringList pending_;
    quint64 rowsVersion_ = 0;
    QList<EntryId> ids_;
    EntryId nextId_ = 1;
    ExtraRoles extraRoles_;
    int firstQuiet_ = -1;
    int lastQuiet_ = -1;
    // Identities ascend along the list unless an entry was moved; then rows are looked up in
    // a table made on demand.
    bool ascending_ = true;
    mutable QHash<EntryId, int> rowTable_;
    mutable bool rowTableValid_ = false;
};

// A list box of text entries (the rename list, the file pane) over an EntryModel.
class EntryList final : public QListView {
    Q_OBJECT

public:
    explicit EntryList(QWidget *parent = nullptr);

    EntryModel *entries() const { return model_; }
    int count() const { return model_->count(); }
    QString text(int row) const { return model_->texts().value(row); }
    const QStringList &texts() const { return model_->texts(); }

    void addEntry(const QString &text) { model_->append(QStringList{text}); }
    // Adds an entry for a walk that adds one per yield: the list shows the new entries at
    // display rate while its end is in view, and only now and then (for the scroll bar) when
    // they go below it. An insertion per yield would make the view lay out every entry again
    // at every yield. The entries are in the list for every reader at once.
    void addEntrySoon(const QString &text);
    void addEntries(const QStringList &texts) { model_->append(texts); }
    void replaceAll(const QStringList &texts) { model_->replaceAll(texts); }
    void clear();

    int currentRow() const { return currentIndex().row(); }
    void setCurrentRow(int row,
                       QItemSelectionModel::SelectionFlags how = QItemSelectionModel::SelectCurrent);
    bool isSelected(int row) const;

Q_SIGNALS:
    void currentRowChanged(int row);

protected:
    void focusInEvent(QFocusEvent *event) override;
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;

private:
    EntryModel *model_;
    bool gainingFocus_ = false;
    DisplayRate newRowsInView_;
    DisplayRate newRowsBelowView_{250};
};
