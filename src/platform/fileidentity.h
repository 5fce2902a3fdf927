#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QHash>
#include <QList>

#include <vector>

// Which file a name leads to: the device and inode of the directory entry. A file keeps them
// through a rename, so a file that was renamed can be told from another that took its name.
struct FileIdentity {
    quint64 device = 0;
    quint64 inode = 0;   // 0: nothing there, or not known

    bool known() const { return inode != 0; }
    friend bool operator==(const FileIdentity &, const FileIdentity &) = default;
};

// The identities of a folder's entries, by name: read from its whole listing, since a
// folder's listing gives every entry's inode for far less than a look-up per name, or, for a
// few names in a large folder, looked up one by one. Names are kept as 64-bit hashes only:
// two names of one folder with the same hash would at worst give one the other's identity,
// which an undo then refuses as a file replaced since.
class FolderIdentities {
public:
    FolderIdentities() = default;
    // folder: the bytes of its path, ending in '/' (empty: the working folder).
    // Whether a folder that holds `count` of the names to be asked for is best read whole.
    static bool listingPays(const QByteArray &folder, qsizetype count);
    static FolderIdentities ofListing(const QByteArray &folder);
    static FolderIdentities ofNames(const QByteArray &folder, const QList<QByteArrayView> &names);
    // The one of the two that suits the names.
    static FolderIdentities read(const QByteArray &folder, const QList<QByteArrayView> &names);

    // The identity of the entry of that name (no '/' in it); unknown when there is none.
    FileIdentity find(QByteArrayView name) const;

private:
    struct Slot {
        size_t hash = 0;
        quint64 inode = 0;   // 0: a free slot
    };
    void reserve(qsizetype entries);
    void insert(size_t hash, quint64 inode);

    std::vector<Slot> slots_;
    size_t mask_ = 0;
    qsizetype used_ = 0;
    quint64 device_ = 0;
};

// The rows of the paths in each folder (a path's folder keeps its final '/'), as views into
// the paths. The paths of a batch come mostly in runs of one folder, whose text is compared
// and not looked up again.
template <typename View, typename Paths>
QHash<View, QList<qsizetype>> rowsByFolder(const Paths &paths)
{
    QHash<View, QList<qsizetype>> rowsIn;
    View last;
    QList<qsizetype> *rows = nullptr;
    for (qsizetype row = 0; row < paths.size(); ++row) {
        const View path(paths[row]);
        const View folder = path.first(path.lastIndexOf('/') + 1);
        if (!rows || folder != last) {
            rows = &rowsIn[folder];
            last = folder;
        }
        rows->append(row);
    }
    return rowsIn;
}

// The identities of many paths, the names of each folder looked up together. The paths of a
// batch come mostly in runs of one folder.
QList<FileIdentity> identitiesOfPaths(const QList<QByteArrayView> &paths);

// What is at one path, a final symbolic link not followed.
struct FileFacts {
    FileIdentity identity;
    bool regular = false;
    qint64 size = -1;
    qint64 modifiedNs = 0;   // modification time, nanoseconds since the epoch
};
FileFacts factsOf(const QByteArray &path);

// The device a folder is on; 0 when it cannot be reached.
quint64 folderDevice(const QByteArray &folder);
