#include "browse/foldertree.h"

#include <QDir>
#include <QFileIconProvider>

#include <algorithm>
#include <iterator>

#include "browse/filelisting.h"
#include "platform/direntries.h"
#include "platform/filenames.h"

struct FolderTreeModel::Node {
    Node(const QString &name = QString(), Node *parent = nullptr, int row = 0)
        : name(name), parent(parent), row(row) {}

    QString name;
    Node *parent;
    int row;
    bool loaded = false;
    std::vector<std::unique_ptr<Node>> children;
};

namespace {

QStringList subfolderNames(const QString &folder)
{
    QStringList names = readVisibleNames(folder, EntryKind::Folder);
    sortNaturally(names);
    return names;
}

} // namespace

FolderTreeModel::FolderTreeModel(QObject *parent)
    : QAbstractItemModel(parent),
      top_(std::make_unique<Node>()),
      folderIcon_(QFileIconProvider().icon(QFileIconProvider::Folder))
{
    top_->children.push_back(std::make_unique<Node>(QStringLiteral("/"), top_.get()));
    top_->loaded = true;
}

FolderTreeModel::~FolderTreeModel() = default;

QModelIndex FolderTreeModel::index(const QString &path)
{
    if (!path.startsWith(u'/'))
        return {};
    Node *node = top_->children.front().get();
    for (const QString &name : QDir::cleanPath(path).split(u'/', Qt::SkipEmptyParts)) {
        const auto named = [&] {
            return std::find_if(node->children.begin(), node->children.end(),
                                [&](const auto &child) { return child->name == name; });
        };
        const bool readBefore = node->loaded;
        load(node);
        auto found = named();
        if (found == node->children.end() && readBefore) {
            // Made since the folder was read.
            refresh(indexOf(node));
            found = named();
        }
        if (found == node->children.end())
            return {};
        node = found->get();
    }
    return indexOf(node);
}

QString FolderTreeModel::filePath(const QModelIndex &index) const
{
    if (!index.isValid())
        return {};
    QStringList names;
    for (const Node *node = nodeOf(index); node != top_.get(); node = node->parent)
        names.prepend(node->name);
    names.first().clear();  // "/" begins the path
    return names.size() == 1 ? QStringLiteral("/") : names.join(u'/');
}

void FolderTreeModel::refresh(const QModelIndex &index)
{
    Node *node = nodeOf(index);
    if (node == top_.get() || !node->loaded)
        return;  // an unread folder is read fresh when first needed
    const QStringList names = subfolderNames(filePath(index));
    auto &kids = node->children;
    // Both lists are in natural order: walk them side by side, so that the subfolders still
    // there keep their items, with what was read below them and their expanded state.
    int k = 0;
    qsizetype n = 0;
    const auto renumber = [&] {
        for (int i = k; i < int(kids.size()); ++i)
            kids[i]->row = i;
    };
    while (k < int(kids.size()) || n < names.size()) {
        int gone = k;
        while (gone < int(kids.size()) && (n == names.size() || naturalLess(kids[gone]->name, names[n])))
            ++gone;
        if (gone > k) {
            beginRemoveRows(index, k, gone - 1);
            kids.erase(kids.begin() + k, kids.begin() + gone);
            renumber();
            endRemoveRows();
            continue;
        }
        qsizetype added = n;
        while (added < names.size() && (k == int(kids.size()) || naturalLess(names[added], kids[k]->name)))
            ++added;
        if (added > n) {
            std::vector<std::unique_ptr<Node>> fresh;
            for (qsizetype i = n; i < added; ++i)
                fresh.push_back(std::make_unique<Node>(names[i], node));
            beginInsertRows(index, k, k + int(added - n) - 1);
            kids.insert(kids.begin() + k, std::make_move_iterator(fresh.begin()),
                        std::make_move_iterator(fresh.end()));
            renumber();
            endInsertRows();
            k += int(added - n);
            n = added;
            continue;
        }
        ++k;
        ++n;
    }
}

QModelIndex FolderTreeModel::index(int row, int column, const QModelIndex &parent) const
{
    const Node *node = nodeOf(parent);
    if (column != 0 || row < 0 || row >= int(node->children.size()))
        return {};
    return createIndex(row, 0, node->children[row].get());
}

QModelIndex FolderTreeModel::parent(const QModelIndex &child) const
{
    return child.isValid() ? indexOf(nodeOf(child)->parent) : QModelIndex();
}

int FolderTreeModel::rowCount(const QModelIndex &parent) const
{
    return parent.column() > 0 ? 0 : int(nodeOf(parent)->children.size());
}

int FolderTreeModel::columnCount(const QModelIndex &) const
{
    return 1;
}

QVariant FolderTreeModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid())
        return {};
    if (role == Qt::DisplayRole)
        return visibleFileName(nodeOf(index)->name);
    if (role == Qt::DecorationRole)
        return folderIcon_;
    return {};
}

bool FolderTreeModel::hasChildren(const QModelIndex &parent) const
{
    // An unread folder may have subfolders; reading it only to draw the expand mark would
    // read every folder in view.
    const Node *node = nodeOf(parent);
    return !node->loaded || !node->children.empty();
}

bool FolderTreeModel::canFetchMore(const QModelIndex &parent) const
{
    return !nodeOf(parent)->loaded;
}

void FolderTreeModel::fetchMore(const QModelIndex &parent)
{
    load(nodeOf(parent));
}

FolderTreeModel::Node *FolderTreeModel::nodeOf(const QModelIndex &index) const
{
    return index.isValid() ? static_cast<Node *>(index.internalPointer()) : top_.get();
}

QModelIndex FolderTreeModel::indexOf(Node *node) const
{
    return node == top_.get() ? QModelIndex() : createIndex(node->row, 0, node);
}

void FolderTreeModel::load(Node *node)
{
    if (node->loaded)
        return;
    node->loaded = true;
    const QModelIndex index = indexOf(node);
    const QStringList names = subfolderNames(filePath(index));
    if (names.isEmpty())
        return;
    beginInsertRows(index, 0, int(names.size()) - 1);
    for (const QString &name : names)
        node->children.push_back(std::make_unique<Node>(name, node, int(node->children.size())));
    endInsertRows();
}
