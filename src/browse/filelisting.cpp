#include "browse/filelisting.h"

#include <QtConcurrent/QtConcurrentRun>
#include <QtEndian>

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

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

// The sort key of a name: bytes whose plain order is the order of naturalLess but for its
// final tie-break. A character is its folded code unit, written as UTF-8 writes a code point,
// which keeps the order and lets a letter of a Latin name take one byte. A digit run is the
// byte '0' (no other character folds to a digit, so a run sorts exactly where its first digit
// would), its length without leading zeros (one byte, or 0xFF and eight), then its digits two
// to a byte. No piece is the start of another, so keys compare piece by piece.
constexpr std::size_t maxKeyBytesPerUnit = 3;

uchar *writeKey(const QString &name, uchar *out)
{
    const QChar *p = name.constData();
    const qsizetype size = name.size();
    for (qsizetype i = 0; i < size;) {
        if (!isDigit(p[i])) {
            const char16_t u = folded(p[i++]).unicode();
            if (u < 0x80) {
                *out++ = uchar(u);
            } else if (u < 0x800) {
                *out++ = uchar(0xC0 | (u >> 6));
                *out++ = uchar(0x80 | (u & 0x3F));
            } else {
                *out++ = uchar(0xE0 | (u >> 12));
                *out++ = uchar(0x80 | ((u >> 6) & 0x3F));
                *out++ = uchar(0x80 | (u & 0x3F));
            }
            continue;
        }
        qsizetype end = i;
        while (end < size && isDigit(p[end]))
            ++end;
        while (i + 1 < end && p[i] == u'0')
            ++i;
        const quint64 length = quint64(end - i);
        *out++ = '0';
        if (length < 0xFF) {
            *out++ = uchar(length);
        } else {
            *out++ = 0xFF;
            for (int shift = 56; shift >= 0; shift -= 8)
                *out++ = uchar(length >> shift);
        }
        for (; i + 1 < end; i += 2)
            *out++ = uchar((p[i].unicode() - u'0') << 4 | (p[i + 1].unicode() - u'0'));
        if (i < end)
            *out++ = uchar((p[i++].unicode() - u'0') << 4);
    }
    return out;
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

void sortNaturally(QStringList &names)
{
    // A sort compares every name some fifteen times, and walking digit runs and folding case
    // in each comparison cost as much as reading the folder; a key made once per name is
    // compared as plain bytes instead.
    const qsizetype n = names.size();
    // A large folder's names are keyed and sorted in two halves, one on another thread, and
    // the halves merged. Each half's keys have their own part of the buffer.
    const qsizetype half = n >= 4096 ? n / 2 : n;
    qsizetype units = 0, firstHalfUnits = 0;
    for (qsizetype i = 0; i < n; ++i) {
        if (i == half)
            firstHalfUnits = units;
        units += names.at(i).size();
    }
    const std::unique_ptr<uchar[]> keys(new uchar[std::size_t(units) * maxKeyBytesPerUnit]);

    // What the sort moves is kept small: the key's head and the name's index; the rest of
    // the key is read through the index only when two heads are equal.
    struct Keyed {
        quint64 head[2];   // the first 16 bytes, zero-padded, to be compared as integers
        qsizetype index;
    };
    std::vector<Keyed> keyed(static_cast<std::size_t>(n));
    std::vector<const uchar *> starts(static_cast<std::size_t>(n)), ends(static_cast<std::size_t>(n));
    // Zero padding cannot reorder: where one key ends inside the head, the other has only
    // zeros there (the heads are equal) or a greater byte, and the shorter key comes first
    // either way. Equal keys leave the order to the names themselves, as naturalLess does.
    const auto less = [&](const Keyed &a, const Keyed &b) {
        if (a.head[0] != b.head[0])
            return a.head[0] < b.head[0];
        if (a.head[1] != b.head[1])
            return a.head[1] < b.head[1];
        const uchar *const ka = starts[std::size_t(a.index)], *const kb = starts[std::size_t(b.index)];
        const std::size_t sa = std::size_t(ends[std::size_t(a.index)] - ka);
        const std::size_t sb = std::size_t(ends[std::size_t(b.index)] - kb);
        const std::size_t common = std::min(sa, sb);
        if (common > 16) {
            if (const int c = std::memcmp(ka + 16, kb + 16, common - 16))
                return c < 0;
        }
        if (sa != sb)
            return sa < sb;
        return names.at(a.index) < names.at(b.index);
    };
    const auto keyAndSort = [&](qsizetype first, qsizetype last, uchar *end) {
        for (qsizetype i = first; i < last; ++i) {
            uchar *const start = end;
            end = writeKey(names.at(i), start);
            starts[std::size_t(i)] = start;
            ends[std::size_t(i)] = end;
            uchar head[16] = {};
            std::memcpy(head, start, std::min<std::size_t>(std::size_t(end - start), sizeof head));
            keyed[std::size_t(i)] = {{qFromBigEndian<quint64>(head), qFromBigEndian<quint64>(head + 8)}, i};
        }
        std::sort(keyed.begin() + first, keyed.begin() + last, less);
    };
    QFuture<void> secondHalf;
    if (half < n) {
        secondHalf = QtConcurrent::run(
            [&] { keyAndSort(half, n, keys.get() + std::size_t(firstHalfUnits) * maxKeyBytesPerUnit); });
    }
    keyAndSort(0, half, keys.get());
    secondHalf.waitForFinished();

    QStringList sorted;
    sorted.reserve(n);
    const auto take = [&](const Keyed &k) { sorted.append(std::move(names[k.index])); };
    auto a = keyed.cbegin(), b = keyed.cbegin() + half;
    const auto aEnd = b, bEnd = keyed.cend();
    while (a != aEnd && b != bEnd)
        take(less(*b, *a) ? *b++ : *a++);
    std::for_each(a, aEnd, take);
    std::for_each(b, bEnd, take);
    names = std::move(sorted);
}

QStringList listPaneFiles(const QString &folder, const NamePatterns &patterns)
{
    QStringList names = readVisibleNames(folder, EntryKind::File);
    names.removeIf([&](const QString &name) { return !patterns.matches(name); });
    sortNaturally(names);
    return names;
}
