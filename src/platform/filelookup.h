#pragma once

#include <QString>

enum class LookupKind { Any, PlainFiles };

// Whether a file matching pattern exists. The pattern is a path whose name part may hold the
// wildcards * and ? (matched without regard to case, "*.*" matching every name); a literal
// path is looked up as it stands, symbolic links followed. With PlainFiles only regular files
// that are not hidden count. A lookup that fails (missing folder, unreadable, malformed path)
// finds nothing.
bool findFirst(const QString &pattern, LookupKind kind);
