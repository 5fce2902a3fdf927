#pragma once

#include <QAbstractListModel>
#include <QHash>
#include <QItemSelectionModel>
#include <QList>
#include <QListView>
#include <QStringList>

#include <functional>

// An entry's identity: given when the entry joins its list and never given again, so it stays
// the same while the entry moves within the list and names nothing once it has left.
using EntryId = quint64;

// The entries of a list as plain arrays: a text and an identity per row. Tens of thousands
// of entries are added, changed and pruned in one step each, without an object per entry.
class EntryModel final : public QAbstractListModel {
    Q_OBJECT

public:
    using QAbstractListModel::QAbstractListModel;

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;

    int count() const { return int(texts_.size()); }
    const QStringList &texts() const { return texts_; }
    const QList<EntryId> &ids() const { return ids_; }
    // The row that holds the entry, or -1 once it has left the list.
    int rowOf(EntryId id) const;

    void append(const QStringList &texts);
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
    using ExtraRoles = std::function<QVariant(int row, int role)>;
    void setExtraRoles(ExtraRoles answer) { extraRoles_ = std::move(answer); }
    void extraRolesChanged(const QList<int> &roles);

private:
    void takeNewIds(qsizetype count);

    QStringList texts_;
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
    void addEntries(const QStringList &texts) { model_->append(texts); }
    void replaceAll(const QStringList &texts) { model_->replaceAll(texts); }
    void clear();

    int currentRow() const { return currentIndex().row(); }
    void setCurrentRow(int row,
                       QItemSelectionModel::SelectionFlags how = QItemSelectionModel::SelectCurrent);
    bool isSelected(int row) const;

Q_SIGNALS:
    void currentRowChanged(int row);

private:
    EntryModel *model_;
};
