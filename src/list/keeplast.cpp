#include "list/keeplast.h"

#include <QSet>

QList<bool> lastOfEqual(const QStringList &texts)
{
    // Walking from the end, the first sight of a text is the last of its group.
    QList<bool> keep(texts.size(), false);
    QSet<QString> seen;
    seen.reserve(texts.size());
    for (qsizetype i = texts.size() - 1; i >= 0; --i) {
        const qsizetype before = seen.size();
        seen.insert(texts[i]);
        keep[i] = seen.size() != before;
    }
    return keep;
}
