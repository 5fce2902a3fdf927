// Figures of the rename commands: the batch rename of N real files by the real window
// (shown, yielding once per entry) against a bare loop of the same kernel renames, and the
// adding of N pane entries to the rename list.
#include "benchmark.h"

#include <algorithm>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>

#include "testwindow.h"

namespace {

void benchRename(const BenchOptions &options)
{
    const int n = options.n;
    const QString suffix = QString::number(n);

    // Kernel renames vary a lot from run to run on a shared machine: both sides count with
    // the fastest of five rounds, each on fresh identical folders, bare loop first.
    QTemporaryDir appDir;
    TestWindow w(appDir.path());
    w.showActive();
    double syscalls = 0, rename = 0, add = 0, unjournaled = 0;
    const QByteArray stateHome = qgetenv("XDG_STATE_HOME");
    QTemporaryDir blocked;
    QFile(blocked.path() + QStringLiteral("/file")).open(QIODevice::WriteOnly);
    // The rename as the window runs it, journal and all; and, for information, the same rename
    // where no journal can be written (the state folder lies under a file), which is the run
    // as it was before it kept one. The two take turns going first.
    const auto windowRename = [&](const QString &folder, bool journaled, double *addSeconds) {
        w->setDir1(folder);
        w->List1->clear();
        w.dialogs.boxes.clear();
        w->File1->selectAll();
        settle();
        const double a = secondsOf([&] { w->Command7_Click(); });
        if (addSeconds)
            *addSeconds = a;
        w->List1->selectAll();
        if (!journaled)
            qputenv("XDG_STATE_HOME", QFile::encodeName(blocked.path() + QStringLiteral("/file/state")));
        settle();
        const double r = secondsOf([&] { w->Command2_Click(); });
        qputenv("XDG_STATE_HOME", stateHome);
        if (w->List1->count() != n || w.dialogs.texts() != QStringList{QStringLiteral("OK!")}
            || !QFile::exists(folder + u'/' + renamedPhotoName(n - 1)))
            std::fprintf(stderr, "bench_rename: the window's rename did not complete\n");
        return r;
    };
    for (int round = 0; round < 5; ++round) {
        QTemporaryDir bare;
        makeEmptyFiles(bare.path(), n, photoName);
        const double s = bareBatchSeconds(bare.path(), n, false);

        QTemporaryDir photos, plain;
        makeEmptyFiles(photos.path(), n, photoName);
        makeEmptyFiles(plain.path(), n, photoName);
        double a = 0, r = 0, u = 0;
        if (round % 2 == 0) {
            r = windowRename(photos.path(), true, &a);
            u = windowRename(plain.path(), false, nullptr);
        } else {
            u = windowRename(plain.path(), false, nullptr);
            r = windowRename(photos.path(), true, &a);
        }
        syscalls = round == 0 ? s : std::min(syscalls, s);
        rename = round == 0 ? r : std::min(rename, r);
        unjournaled = round == 0 ? u : std::min(unjournaled, u);
        add = round == 0 ? a : std::min(add, a);
        if (round == 4) {
            // For information: the re-reading of the file pane that ends the rename, on its own.
            printFigure(QStringLiteral("pane_refresh_%1_s").arg(suffix),
                        secondsOf([&] { w->refreshFile1(); }));
        }
        w->setDir1(appDir.path());
    }

    printFigure(QStringLiteral("rename_%1_s").arg(suffix), rename);
    printFigure(QStringLiteral("syscall_loop_%1_s").arg(suffix), syscalls);
    printFigure(QStringLiteral("rename_vs_syscall_ratio"), rename / syscalls);
    printFigure(QStringLiteral("rename_unjournaled_%1_s").arg(suffix), unjournaled);
    printFigure(QStringLiteral("rename_vs_unjournaled_ratio"), rename / unjournaled);
    printFigure(QStringLiteral("add_%1_s").arg(suffix), add);
    printFigure(QStringLiteral("peak_rss_mb"), peakRssMiB());
}

} // namespace

QUILLMERE_BENCH(rename, benchRename);
