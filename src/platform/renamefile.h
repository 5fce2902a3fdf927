#pragma once

#include <QString>

#include "platform/fsresult.h"

// Renames (or moves within one file system) without ever replacing an existing target:
// the target's existence is checked by the kernel in the same step, never beforehand.
// Renaming an existing path to itself succeeds and changes nothing. EXDEV reports that
// source and target lie on different file systems. A path that cannot name a file (see
// kernelPath) fails with EINVAL and nothing is touched.
FsResult renameNoReplace(const QString &from, const QString &to);
// The same on the bytes of two different paths that kernelPath gave, for callers that hold
// them already (the platform's own file operations, an undo).
FsResult renameBytesNoReplace(const QByteArray &from, const QByteArray &to);

// Test hook: replaces the kernel's no-replace rename (same arguments and result as
// renameat2 with RENAME_NOREPLACE; errno set on failure) to provoke what root cannot, such
// as a file in use or a file system that refuses the flag. nullptr restores the kernel's.
using RenameNoReplaceCall = int (*)(const char *from, const char *to);
void setRenameNoReplaceCallForTests(RenameNoReplaceCall call);
