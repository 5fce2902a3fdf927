#pragma once

#include <QString>

enum class LookupKind {
    Any,         // a file or a folder
    PlainFiles,  // a regular file (links followed) whose name does not start with "."
};

// Whether a path names something of the kind, or, when its name part holds "*" or "?",
// whether something of the kind in its folder matches it as a pattern. A path ending in
// "/", a folder that cannot be read, and a path the kernel cannot take as given (relative,
// holding U+0000) find nothing.
bool findFirst(const QString &pattern, LookupKind kind);

// Whether a path names a regular file (links followed) with an execute bit set for anyone.
bool isExecutableFile(const QString &path);
