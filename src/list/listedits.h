#pragma once

#include <QList>
#include <QSet>
#include <QStringList>

#include "app/listwalk.h"

class Form1;
class QListWidget;
class QListWidgetItem;

// The walk of a list command: one yield to the event loop and one progress step for each
// entry the list held when it started, skipping entries that others removed meanwhile. It
// ends early when another command inserted or removed entries while it yielded; the caller
// then applies its change to the list as it stands, so no command ever works on an entry
// that is gone or has moved.
void walkWithProgress(Form1 &window, QListWidget *list, ListWalk::Order order);

QStringList entryTexts(const QListWidget *list);
// The selected flag of every entry, read from the selection's ranges in one pass.
QList<bool> selectedFlags(const QListWidget *list);

// The list's selection changes in one step each: a selection built entry by entry splits
// into ranges that every further step and every repaint would have to go through.
void setSelectedFlags(QListWidget *list, const QList<bool> &selected);
void setAllSelected(QListWidget *list, bool selected);

// Replaces an entry's text and repaints it if it is in view. The list would otherwise lay out
// all its entries again and repaint itself whole at the next yield for every changed entry;
// entries keep their height, so the walk that changes them lays the list out once at its end.
void setEntryTextQuietly(QListWidget *list, QListWidgetItem *entry, const QString &text);

// Removes the given entries in one step (see keepEntries); entries not in the list are ignored.
void removeEntries(QListWidget *list, const QSet<QListWidgetItem *> &entries);

// Keeps the entries whose flag is set, in their order and with their selected flags; the
// current entry stays current when it is kept. The tool tip and the scroll position are left
// as they were. A list rebuilt in one step spares the per-row bookkeeping of many removals.
void keepEntries(QListWidget *list, const QList<bool> &keep);
