#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>

// Which file a name leads to: the device and inode of the directory entry. A file keeps them
// through a rename, so a file that was renamed can be told from another that took its name.
struct FileIdentity {
    quint64 device = 0;
    quint64 inode = 0;   // 0: nothing there, or not known

    bool known() const { return inode != 0; }
    friend bool operator==(const FileIdentity &, const FileIdentity &) = default;
};

// The identities of many names (no '/' in them) in one folder, whose path ends in '/'. A
// folder that holds many of them is read once, since its listing gives every entry's inode
// for far less than a look-up per name; a few names in a large folder are looked up one by
// one. A name that is not there has an unknown identity.
QList<FileIdentity> identitiesInFolder(const QByteArray &folder, const QList<QByteArrayView> &names);
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
