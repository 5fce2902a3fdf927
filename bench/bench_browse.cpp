// Figures of the file pane's listing: a large real folder listed the program's way, against a
// bare readdir loop over the same folder, and against the listing as it was before sort keys.
#include "benchmark.h"

#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <dirent.h>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "browse/filelisting.h"
#include "browse/patterns.h"

namespace {

// The listing as it was: entries read into a list of name and kind, filtered, then sorted
// with a comparison that walks both names on every call.
namespace old {

enum class Kind { File, Folder, Other };

struct Entry {
    QString name;
    Kind kind;
};

Kind kindOf(int folderFd, const dirent *entry)
{
    switch (entry->d_type) {
    case DT_REG:
        return Kind::File;
    case DT_DIR:
        return Kind::Folder;
    case DT_LNK:
    case DT_UNKNOWN: {
        struct stat st;
        if (::fstatat(folderFd, entry->d_name, &st, 0) != 0)
            return Kind::Other;
        return S_ISREG(st.st_mode) ? Kind::File : S_ISDIR(st.st_mode) ? Kind::Folder : Kind::Other;
    }
    default:
        return Kind::Other;
    }
}

QList<Entry> readEntries(const QString &folder)
{
    QList<Entry> entries;
    DIR *dir = ::opendir(QFile::encodeName(folder).constData());
    if (!dir)
        return entries;
    const int fd = ::dirfd(dir);
    while (const dirent *entry = ::readdir(dir)) {
        const char *n = entry->d_name;
        if (n[0] == '.' && (n[1] == '\0' || (n[1] == '.' && n[2] == '\0')))
            continue;
        entries.append({QFile::decodeName(n), kindOf(fd, entry)});
    }
    ::closedir(dir);
    return entries;
}

bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

QChar folded(QChar c)
{
    const char16_t u = c.unicode();
    if (u < 0x80)
        return QChar(u >= u'A' && u <= u'Z' ? char16_t(u + 32) : u);
    return c.toCaseFolded();
}

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
    for (const Entry &entry : readEntries(folder)) {
        if (entry.kind == Kind::File && !entry.name.startsWith(u'.') && patterns.matches(entry.name))
            names << entry.name;
    }
    std::sort(names.begin(), names.end(), naturalLess);
    return names;
}

} // namespace old

// The floor: the names as the kernel hands them over, nothing decoded, nothing sorted.
std::vector<std::string> readdirLoop(const QString &folder)
{
    std::vector<std::string> names;
    DIR *dir = ::opendir(QFile::encodeName(folder).constData());
    if (!dir)
        return names;
    while (const dirent *entry = ::readdir(dir)) {
        const char *n = entry->d_name;
        if (n[0] == '.' && (n[1] == '\0' || (n[1] == '.' && n[2] == '\0')))
            continue;
        names.emplace_back(n);
    }
    ::closedir(dir);
    return names;
}

// A photo folder as a camera and a chat program leave it: mostly one numbered pattern, the
// rest a mix of cases, leading zeros, accented and plain names.
void makeFolder(const QString &folder, int n)
{
    const int mixed = std::min(n / 16, 2048);
    const auto make = [&](const QString &name) {
        const int fd = ::open(QFile::encodeName(folder + u'/' + name).constData(),
                              O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (fd >= 0)
            ::close(fd);
    };
    for (int i = 0; i < n - mixed; ++i)
        make(QStringLiteral("文件%1.jpg").arg(i + 1));
    for (int i = 0; i < mixed; ++i) {
        switch (i % 4) {
        case 0: make(QStringLiteral("IMG_%1.JPG").arg(i, 5, 10, QLatin1Char('0'))); break;
        case 1: make(QStringLiteral("img_%1.jpg").arg(i)); break;
        case 2: make(QStringLiteral("Äpfel und Birnen %1.png").arg(i)); break;
        default: make(QStringLiteral("scan-%1-%2.tif").arg(i % 7).arg(i)); break;
        }
    }
}

// The fastest of three calls of f; what f returns is freed outside the timing.
template <typename F>
double fastestOfThree(F &&f)
{
    double best = 0;
    for (int run = 0; run < 3; ++run) {
        decltype(f()) result;
        const double seconds = secondsOf([&] { result = f(); });
        best = run == 0 ? seconds : std::min(best, seconds);
    }
    return best;
}

void runBrowse(const BenchOptions &o)
{
    const int n = o.n;
    const QString size = QString::number(n);
    QTemporaryDir dir;
    makeFolder(dir.path(), n);
    const NamePatterns all(QStringLiteral("*.*"));

    const double bare = fastestOfThree([&] { return readdirLoop(dir.path()); });
    const double pane = fastestOfThree([&] { return listPaneFiles(dir.path(), all); });
    const double paneOld = fastestOfThree([&] { return old::listPaneFiles(dir.path(), all); });
    const QStringList listed = listPaneFiles(dir.path(), all);
    if (listed != old::listPaneFiles(dir.path(), all) || listed.size() != n)
        std::fprintf(stderr, "bench_browse: the pane's listing differs from the old listing\n");

    printFigure(QStringLiteral("readdir_loop_%1_s").arg(size), bare);
    printFigure(QStringLiteral("pane_listing_%1_s").arg(size), pane);
    printFigure(QStringLiteral("pane_listing_old_%1_s").arg(size), paneOld);
    printFigure(QStringLiteral("pane_listing_vs_readdir_ratio"), pane / bare);
}

} // namespace

QUILLMERE_BENCH(browse, runBrowse);
