#pragma once

#include <QString>
#include <QStringList>

// What a folder entry is, symbolic links followed: a link to a plain file is a file, a link
// to a folder is a folder, a dangling link is neither.
enum class EntryKind { File, Folder, Other };

// The names of a folder's entries of one kind, hidden names (those starting with a full stop)
// left out, in the order the file system gives them. A folder that cannot be read has none.
QStringList readVisibleNames(const QString &folder, EntryKind kind);

// The process's working folder, every byte of its name kept; empty when it has gone.
QString workingFolder();
