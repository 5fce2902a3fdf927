#pragma once

#include <QListWidget>
#include <QStringList>

#include "list/listedits.h"

inline void setEntries(QListWidget *list, const QStringList &texts, const QList<int> &selected = {})
{
    list->clear();
    list->addItems(texts);
    for (int row : selected)
        list->item(row)->setSelected(true);
}

inline QList<int> selectedRows(const QListWidget *list)
{
    QList<int> rows;
    const QList<bool> flags = selectedFlags(list);
    for (int i = 0; i < flags.size(); ++i)
        if (flags[i])
            rows << i;
    return rows;
}
