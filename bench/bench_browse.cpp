// Figures of the file pane's listing: a large real folder listed the program's way, against a
// bare readdir loop over the same folder.
#include "benchmark.h"

#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "browse/filelisting.h"
#include "browse/patterns.h"

namespace {

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
    if (listPaneFiles(dir.path(), all).size() != n)
        std::fprintf(stderr, "bench_browse: the pane did not list every file\n");

    printFigure(QStringLiteral("readdir_loop_%1_s").arg(size), bare);
    printFigure(QStringLiteral("pane_listing_%1_s").arg(size), pane);
    printFigure(QStringLiteral("pane_listing_vs_readdir_ratio"), pane / bare);
}

} // namespace

QUILLMERE_BENCH(browse, runBrowse);
