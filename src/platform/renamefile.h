#pragma once

#include <QString>

#include "platform/fsresult.h"

// Renames (or moves within one file system) without ever replacing an existing target:
// the target's existence is checked by the kernel in the same step, never beforehand.
// Renaming a path to itself succeeds and changes nothing. EXDEV reports that source and
// target lie on different file systems.
FsResult renameNoReplace(const QString &from, const QString &to);
