// Figures of the fileops commands.
#include "benchmark.h"

#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>

#include <cstdio>
#include <unistd.h>
#include <utility>
#include <fcntl.h>
#include <vector>

#include "testwindow.h"

namespace {

QStringList makeFiles(const QString &folder, int n)
{
    QStringList paths;
    paths.reserve(n);
    for (int i = 0; i < n; ++i) {
        const QString p = folder + QStringLiteral("/f%1.txt").arg(i);
        QFile f(p);
        if (f.open(QIODevice::WriteOnly))
            f.write("x");
        paths << p;
    }
    return paths;
}

void fillSelected(Form1 &w, const QStringList &paths)
{
    w.List1->clear();
    w.List1->addEntries(paths);
    w.List1->selectAll();
    w.ActiveList = 1;
    settle();
}

void run(const BenchOptions &o)
{
    const int n = o.n;
    const QString size = QString::number(n);
    QTemporaryDir dir;
    TestWindow w(dir.path());
    w->show();
    QStringList paths;
    for (int i = 0; i < n; ++i)
        paths << QStringLiteral("/home/user/photos/holiday %1.jpg").arg(i);

    const double yields = yieldLoopSeconds(n);
    printFigure(QStringLiteral("fileops_yield_loop_%1_s").arg(size), yields);
    // Each command against as many bare yields as it makes.
    const auto reportAgainstYields = [&](const char *name, const AgainstYields &timed) {
        printFigure(QStringLiteral("%1_%2_s").arg(QLatin1String(name), size), timed.seconds);
        printFigure(QStringLiteral("%1_vs_yield_ratio").arg(QLatin1String(name)), timed.ratio());
    };

    reportAgainstYields("copylist", againstYields(n, [&] { fillSelected(*w, paths); },
                                                  [&] { w->mnCopyList_Click(); }));

    // One yield per pasted path, then one per entry in the removal of duplicates.
    reportAgainstYields("paste", againstYields(2 * n, [&] { w->List1->clear(); },
                                               [&] { w->mnPasteList_Click(); }));

    // The bare renames move identical files between two fresh folders of their own, so both
    // sides fill an empty folder.
    QTemporaryDir files, bareFiles;
    const auto folders = [](const QTemporaryDir &d) {
        const QString a = d.path() + QStringLiteral("/a/"), b = d.path() + QStringLiteral("/b/");
        QDir().mkpath(a);
        QDir().mkpath(b);
        return std::pair{a, b};
    };
    const auto targets = [](const QStringList &from, const QString &a, const QString &b) {
        QStringList to;
        for (const QString &p : from)
            to << b + p.mid(a.size());
        return to;
    };
    const auto [bareA, bareB] = folders(bareFiles);
    const QStringList bareFrom = makeFiles(bareA.chopped(1), n);
    const double bare = bareRenamesSeconds(bareFrom, targets(bareFrom, bareA, bareB));

    const auto [a, b] = folders(files);
    const QStringList real = makeFiles(a.chopped(1), n);
    const QStringList moved = targets(real, a, b);
    fillSelected(*w, real);
    w.dialogs.folderAnswers = {b};
    const double move = secondsOf([&] { w->mnMoveTo_Click(); });
    if (!QFile::exists(moved.last()))
        std::fprintf(stderr, "bench_fileops: the window's move did not complete\n");
    printFigure(QStringLiteral("move_%1_s").arg(size), move);
    printFigure(QStringLiteral("move_bare_renames_%1_s").arg(size), bare);
    printFigure(QStringLiteral("move_vs_syscall_ratio"), move / bare);

    // Delete: the yields and the same unlinks, bare, on identical files.
    std::vector<QByteArray> unlinkPaths;
    for (const QString &p : makeFiles(bareA.chopped(1), n))
        unlinkPaths.push_back(QFile::encodeName(p));
    const double unlinks = secondsOf([&] {
        for (const QByteArray &p : unlinkPaths)
            ::unlink(p.constData());
    });
    const QStringList doomed = makeFiles(a.chopped(1), n);
    fillSelected(*w, doomed);
    w.dialogs.answers = {Dialogs::Answer::Yes};
    const double del = secondsOf([&] { w->Command1_Click(); });
    printFigure(QStringLiteral("delete_%1_s").arg(size), del);
    printFigure(QStringLiteral("delete_bare_unlinks_%1_s").arg(size), unlinks);
    printFigure(QStringLiteral("delete_vs_yield_ratio"), del / (yields + unlinks));
    if (w->List1->count() != 0)
        std::fprintf(stderr, "bench_fileops: the window's delete did not complete\n");
}

} // namespace

QUILLMERE_BENCH(fileops, run);
