#pragma once

#include <QString>

#include <functional>

#include "platform/fsresult.h"

// Deletes the one path given, permanently: never read as a pattern, never recursive (a folder
// fails), a symbolic link is removed as a link and what it points to stays.
FsResult deletePath(const QString &path);

// Whether anything at all is at the path, a dangling symbolic link included.
bool pathPresent(const QString &path);

// Moves a file to a new path and never replaces what is there. Across file systems the file
// is copied (contents, permissions, times) and the source deleted once the copy is complete;
// should deleting the source fail, the copy is taken back so the file stays in one place.
// Moving a file onto itself changes nothing and succeeds.
FsResult moveFile(const QString &from, const QString &to);

// Copies a file to a new path, replacing an existing file there. The copy is written to a
// temporary file in the target's folder and renamed over the target, so the target is never
// seen half written. Copying a file onto itself is refused and leaves it untouched.
FsResult copyFileReplacing(const QString &from, const QString &to);

// The description given when source and target of a copy are one and the same file.
QString sameFileDescription();

// A failure that cannot be provoked on the machine at hand (root ignores permission bits)
// can be injected for tests: the hook sees each step before it is taken and returns an
// errno to fail it with, or 0 to let it run.
enum class FileStep { Delete, Move, Copy, RemoveMovedSource };
using FileStepHook = std::function<int(FileStep step, const QString &path)>;
void setFileStepHook(FileStepHook hook);
