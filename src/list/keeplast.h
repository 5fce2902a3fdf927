#pragma once

#include <QList>
#include <QStringList>

// For each text, whether it is the last of the texts equal to it (equal code unit for code
// unit, case counting). Keeping exactly those leaves one of each group, the one that stood
// last, with the survivors in their old order.
QList<bool> lastOfEqual(const QStringList &texts);
