#pragma once

#include <QList>
#include <QSet>
#include <QStringList>

#include "walk/entrylist.h"

QStringList entryTexts(const EntryList *list);
// The selected flag of every entry, read from the selection's ranges in one pass.
QList<bool> selectedFlags(const EntryList *list);

// The list's selection changes in one step each: a selection built entry by entry splits
// into ranges that every further step and every repaint would have to go through.
void setSelectedFlags(EntryList *list, const QList<bool> &selected);
void setAllSelected(EntryList *list, bool selected);

// Removes the given entries in one step (see keepEntries); entries no longer in the list are
// ignored.
void removeEntries(EntryList *list, const QSet<EntryId> &entries);

// Keeps the entries whose flag is set, in their order and with their selected flags; the
// current entry stays current when it is kept. The tool tip and the scroll position are left
// as they were.
void keepEntries(EntryList *list, const QList<bool> &keep);
