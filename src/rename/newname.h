#pragma once

#include <QString>

#include "app/pathpieces.h"

// The rename fields as typed when the run started. A field counts as empty only when it has
// no characters at all; blanks are kept as typed.
struct NewNameFields {
    QString baseName;        // empty: each file keeps its own bare name
    bool hasStart = true;    // the start value field holds text; no number is added otherwise
    QString extension;       // appended exactly as typed; empty: each file keeps its own

    // The running number only goes with a base name of the user's own.
    bool usesNumber() const { return !baseName.isEmpty() && hasStart; }
};

// The text of the running number as the batch rename writes it into names.
QString runningNumberText(double value);

// The new full path of src in its own folder: folder, base name (or the file's own bare name),
// the number text when the fields use one, and the new extension (or the file's own).
// Fails with EINVAL when the file's own bare name is asked of a name without a full stop.
TextResult buildNewPath(const QString &src, const NewNameFields &fields, const QString &number,
                        QChar sep = u'/');
