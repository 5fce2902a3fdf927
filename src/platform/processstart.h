#pragma once

#include <QString>

#include "platform/fsresult.h"

// Starts a program and does not wait for it: the exact bytes of its path are executed, with
// no arguments, never through a shell, in a session of its own, in this program's working
// folder and environment. The result tells whether the program could be executed (ENOENT,
// EACCES, ENOEXEC for a file that is not a program, EINVAL for a path kernelPath refuses).
FsResult startDetached(const QString &program);
