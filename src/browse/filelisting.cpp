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
    qsizetype i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        if (isDigit(a[i]) && isDigit(b[j])) {
            qsizetype ei = i, ej = j;
            while (ei < a.size() && isDigit(a[ei]))
                ++ei;
            while (ej < b.size() && isDigit(b[ej]))
                ++ej;
            // Leading zeros do not change the value.
            qsizetype si = i, sj = j;
            while (si + 1 < ei && a[si] == u'0')
                ++si;
            while (sj + 1 < ej && b[sj] == u'0')
                ++sj;
            if (ei - si != ej - sj)
                return ei - si < ej - sj;
            const int c = QStringView(a).sliced(si, ei - si).compare(QStringView(b).sliced(sj, ej - sj));
            if (c != 0)
                return c < 0;
            i = ei;
            j = ej;
            continue;
        }
        const QChar ca = folded(a[i]), cb = folded(b[j]);
        if (ca != cb)
            return ca < cb;
        ++i;
        ++j;
    }
    if (a.size() - i != b.size() - j)
        return a.size() - i < b.size() - j;
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
