#include "list/keeplast.h"

#include <QHash>
#include <QStringView>

#include <vector>

QList<bool> lastOfEqual(const QStringList &texts)
{
    // Walking from the end, the first sight of a text is the last of its group. The texts seen
    // are kept in a flat table of rows with their hashes (open addressing, at most half full):
    // no allocation per text, and a text is compared only with those of the same hash.
    const qsizetype n = texts.size();
    QList<bool> keep(n, false);
    struct Slot {
        qint32 row = -1;
        quint32 hash = 0;
    };
    size_t capacity = 16;
    while (capacity < size_t(n) * 2)
        capacity *= 2;
    const size_t mask = capacity - 1;
    std::vector<Slot> seen(capacity);
    for (qsizetype i = n - 1; i >= 0; --i) {
        const QString &text = texts[i];
        const size_t hash = qHash(QStringView(text));
        for (size_t at = hash & mask;; at = (at + 1) & mask) {
            Slot &slot = seen[at];
            if (slot.row < 0) {
                slot = {qint32(i), quint32(hash)};
                keep[i] = true;
                break;
            }
            if (slot.hash == quint32(hash) && texts[slot.row] == text)
                break;
        }
    }
    return keep;
}
