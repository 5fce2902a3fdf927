// Figures of the fileops commands.
#include "benchmark.h"

#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QListWidget>
#include <QTemporaryDir>

#include <cstdio>

#include "app/yield.h"
#include "testwindow.h"

namespace {

double bareYields(int n)
{
    return secondsOf([n] {
        for (int i = 0; i < n; ++i)
            yieldToEventLoop();
    });
}

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
    w.List1->addItems(paths);
    w.List1->selectAll();
    w.ActiveList = 1;
}

void run(const BenchOptions &o)
{
    const int n = o.n;
    QTemporaryDir dir;
    TestWindow w(dir.path());
    w->show();
    QStringList paths;
    for (int i = 0; i < n; ++i)
        paths << QStringLiteral("/home/user/photos/holiday %1.jpg").arg(i);

    const double yields = bareYields(n);
    printFigure(QStringLiteral("fileops_bare_yields_s"), yields);

    fillSelected(*w, paths);
    const double copy = secondsOf([&] { w->mnCopyList_Click(); });
    printFigure(QStringLiteral("copylist_32767_s"), copy);
    printFigure(QStringLiteral("copylist_vs_yield_ratio"), copy / yields);

    w->List1->clear();
    const double paste = secondsOf([&] { w->mnPasteList_Click(); });
    printFigure(QStringLiteral("paste_32767_s"), paste);
    printFigure(QStringLiteral("paste_vs_yield_ratio"), paste / yields);

    QTemporaryDir files;
    QDir().mkpath(files.path() + QStringLiteral("/a"));
    QDir().mkpath(files.path() + QStringLiteral("/b"));
    const QStringList real = makeFiles(files.path() + QStringLiteral("/a"), n);
    fillSelected(*w, real);
    w.dialogs.folderAnswers = {files.path() + QStringLiteral("/b")};
    const double move = secondsOf([&] { w->mnMoveTo_Click(); });
    printFigure(QStringLiteral("move_32767_s"), move);
    // The same renames, bare: back to where the files came from.
    const double bare = secondsOf([&] {
        for (int i = 0; i < n; ++i) {
            const QByteArray to = QFile::encodeName(real[i]);
            const QByteArray from = QFile::encodeName(files.path() + QStringLiteral("/b/f%1.txt").arg(i));
            std::rename(from.constData(), to.constData());
        }
    });
    printFigure(QStringLiteral("move_bare_renames_s"), bare);
    printFigure(QStringLiteral("move_vs_syscall_ratio"), move / bare);

    fillSelected(*w, real);
    const double del = secondsOf([&] { w->Command1_Click(); });
    printFigure(QStringLiteral("delete_32767_s"), del);
    printFigure(QStringLiteral("delete_vs_yield_ratio"), del / yields);
}

} // namespace

QUILLMERE_BENCH(fileops, run);
