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

// The new full path of src in its own folder: folder, base name (or the file's own bare name),
// the number text when the fields use one, and the new extension (or the file's own).
// Fails with EINVAL when the file's own bare name is asked of a name without a full stop, and
// when the base name or the new extension holds the separator (or a NUL, which would cut the
// name short): each file is renamed in its own folder, never moved into another.
TextResult buildNewPath(const QString &src, const NewNameFields &fields, const QString &number,
                        QChar sep = u'/');

// Whether the base name or the new extension holds what buildNewPath refuses for them.
bool typedNameLeavesFolder(const NewNameFields &fields, QChar sep = u'/');

// The running number's text: plain decimal with at most 15 significant digits (numberText).
QString runningNumberText(double value);

// The number text of the entry about to be renamed, empty when the fields use no number.
// Fails with ERANGE when the running number or the step is not finite: a start of 1E+400 reads
// as infinity, and a name with "inf" in it is no number the user asked for. A step that is not
// finite fails the first entry already, so such a run renames nothing.
TextResult runningNumber(const NewNameFields &fields, double current, double step);
