#pragma once

#include <QAbstractItemModel>
#include <QIcon>

#include <memory>
#include <vector>

// The folder tree from "/": subfolders only (links to folders included, hidden ones left
// out), in natural order. A folder's subfolders are read when first needed and then kept;
// nothing watches the disk, so a folder shows new subfolders only when refreshed.
class FolderTreeModel : public QAbstractItemModel {
    Q_OBJECT

public:
    explicit FolderTreeModel(QObject *parent = nullptr);
    ~FolderTreeModel() override;

    // The item of a folder, the folders on the way to it read as needed; invalid when the
    // path is not a folder the tree shows.
    QModelIndex index(const QString &path);
    QString filePath(const QModelIndex &index) const;
    // Reads the folder's subfolders again; the ones still there keep their items.
    void refresh(const QModelIndex &index);

    QModelIndex index(int row, int column, const QModelIndex &parent = QModelIndex()) const override;
    QModelIndex parent(const QModelIndex &child) const override;
    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    bool hasChildren(const QModelIndex &parent = QModelIndex()) const override;
    bool canFetchMore(const QModelIndex &parent) const override;
    void fetchMore(const QModelIndex &parent) override;

private:
    struct Node;

    Node *nodeOf(const QModelIndex &index) const;
    QModelIndex indexOf(Node *node) const;
    void load(Node *node);

    std::unique_ptr<Node> top_;  // holds the one item "/"
    QIcon folderIcon_;
};
