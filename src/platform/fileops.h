#pragma once

#include <QString>

#include <functional>

#include "platform/fsresult.h"

// Every path here is handed to the kernel through kernelPath (platform/filenames.h): one that
// cannot name a file as given (not absolute, holding U+0000, ...) fails with EINVAL and
// nothing is touched.

// Deletes the one path given, permanently: never read as a pattern, never recursive (a folder
// fails), a symbolic link is removed as a link and what it points to stays. Succeeds when the
// file was removed, or when its name is already missing from a folder that is there; every
// other failure (a missing folder, a name too long, a path through a file or ending in "/")
// is returned, since the file may well still be there.
FsResult deletePath(const QString &path);

// Moves a file to a new path and never replaces what is there. Across file systems the file
// is copied (contents, permissions, times, owner where allowed, and its user extended
// attributes and ACLs where the target takes them) and the source deleted once the copy is
// complete; should deleting the source fail, the copy is taken back so the file stays in one
// place. Moving a file onto itself changes nothing and succeeds.
FsResult moveFile(const QString &from, const QString &to);

// Copies a file to a new path, replacing an existing file there; the copy keeps what a move
// across file systems keeps. The copy is written to a temporary file in the target's folder
// and renamed over the target, so the target is never seen half written. Copying a file onto
// itself is refused and leaves it untouched.
FsResult copyFileReplacing(const QString &from, const QString &to);

// The description given when source and target of a copy are one and the same file.
QString sameFileDescription();

// A failure that cannot be provoked on the machine at hand (root ignores permission bits)
// can be injected for tests: the hook sees each step before it is taken and returns an
// errno to fail it with, or 0 to let it run.
enum class FileStep { Delete, Move, Copy, RemoveMovedSource };
using FileStepHook = std::function<int(FileStep step, const QString &path)>;
void setFileStepHook(FileStepHook hook);
