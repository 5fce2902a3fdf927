#pragma once

#include <QString>

#include "platform/fsresult.h"

// Whether a folder can be opened and listed now (a volume that is not ready cannot).
FsResult openFolderForListing(const QString &folder);

// Whether new files can be made in a folder by this process now: its permissions for this
// user, and a read-only mount, which stops even root.
bool folderWritable(const QString &folder);

// Whether the path names a folder now (links followed).
bool isFolder(const QString &path);

// Makes a folder and the missing folders above it, each made readable and writable by this
// user alone; true when the folder is there afterwards.
bool makeFolders(const QString &folder);

// The folder that holds the running program, every byte of its name kept.
QString executableFolder();

// A variable of the environment that names a path, every byte kept; empty when unset.
QString environmentPath(const char *name);
