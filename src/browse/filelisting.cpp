#include "browse/filelisting.h"

#include <algorithm>

#include "browse/patterns.h"
#include "platform/direntries.h"

namespace {

bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

// Sorting a large folder folds the case of every character many times over; most names
// are ASCII, which needs no table look-up.
QChar folded(QChar c)
{
    const char16_t u = c.unicode();
    if (u < 0x80)
        return QChar(u >= u'A' && u <= u'Z' ? char16_t(u + 32) : u);
    return c.toCaseFolded();
}

} // namespace

// Names equal but for case or leading zeros fall back to plain order, so the sort is total.
bool naturalLess(const QString &a, const QString &b)
{
    const QChar *pa = a.constData(), *pb = b.constData();
    const qsizetype na = a.size(), nb = b.size();
    qsizetype i = 0, j = 0;
    while (i < na && j < nb) {
        if (isDigit(pa[i]) && isDigit(pb[j])) {
            qsizetype ei = i, ej = j;
            while (ei < na && isDigit(pa[ei]))
                ++ei;
            while (ej < nb && isDigit(pb[ej]))
                ++ej;
            // Leading zeros do not change the value.
            qsizetype si = i, sj = j;
            while (si + 1 < ei && pa[si] == u'0')
                ++si;
            while (sj + 1 < ej && pb[sj] == u'0')
                ++sj;
            if (ei - si != ej - sj)
                return ei - si < ej - sj;
            for (qsizetype k = 0; k < ei - si; ++k) {
                if (pa[si + k] != pb[sj + k])
                    return pa[si + k] < pb[sj + k];
            }
            i = ei;
            j = ej;
            continue;
        }
        if (pa[i] != pb[j]) {
            const QChar ca = folded(pa[i]), cb = folded(pb[j]);
            if (ca != cb)
                return ca < cb;
        }
        ++i;
        ++j;
    }
    if (na - i != nb - j)
        return na - i < nb - j;
    return a < b;
}

QStringList listPaneFiles(const QString &folder, const NamePatterns &patterns)
{
    QStringList names;
    for (const DirEntry &entry : readDirEntries(folder)) {
        if (entry.kind == EntryKind::File && !entry.name.startsWith(u'.') && patterns.matches(entry.name))
            names << entry.name;
    }
    std::sort(names.begin(), names.end(), naturalLess);
    return names;
}
