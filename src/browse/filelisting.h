#pragma once

#include <QString>
#include <QStringList>

class NamePatterns;

// The names of the plain files of a folder that match the patterns, in the natural order a
// file manager shows them (numbers by value, case ignored). Folders and hidden files are
// not listed.
QStringList listPaneFiles(const QString &folder, const NamePatterns &patterns);

// The natural order of names: runs of digits compare by their value, everything else
// without regard to case.
bool naturalLess(const QString &a, const QString &b);

// Sorts names into the order of naturalLess, faster than std::sort with it on a large list.
void sortNaturally(QStringList &names);
