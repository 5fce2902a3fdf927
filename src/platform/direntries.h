#pragma once

#include <QString>
#include <QStringList>

// What a folder entry is, symbolic links followed: a link to a plain file is a file, a link
// to a folder is a folder, a dangling link is neither.
enum class EntryKind { File, Folder, Other };

// The names of a folder's entries of one kind, hidden names (those starting with a full stop)
// left out, in the order the file system gives them. A folder that cannot be read has none.
QStringList readVisibleNames(const QString &folder, EntryKind kind);

// Every name a folder holds, of any kind, hidden names and "." and ".." included, in the
// order the file system gives them; with what the folder is (two texts may name one folder)
// and the longest name in bytes its file system takes. A folder that cannot be read has no
// names and the errno of the failure.
struct FolderNames {
    int error = 0;
    quint64 device = 0;
    quint64 inode = 0;
    int nameMax = 255;
    QStringList names;
};
FolderNames readAllNames(const QString &folder);

// The process's working folder, every byte of its name kept; empty when it has gone.
QString workingFolder();
