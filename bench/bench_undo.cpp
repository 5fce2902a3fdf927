// Figures of taking a batch back: the undo of a batch rename of N real files by the real window
// (shown, yielding once per file) against a bare loop of the same kernel renames.
#include "benchmark.h"

#include <QAction>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>

#include "platform/statefolder.h"
#include "rename/runjournal.h"
#include "testwindow.h"

namespace {

void benchUndo(const BenchOptions &options)
{
    const int n = options.n;
    const QString suffix = QString::number(n);
    QTemporaryDir appDir;
    TestWindow w(appDir.path());
    w.showActive();
    double syscalls = 0, undo = 0, plan = 0;
    // Kernel renames vary from run to run on a shared machine: both sides count with the
    // fastest of five rounds. The bare loop takes back a bare batch, so that its folder has
    // been through the same creating and renaming as the window's.
    for (int round = 0; round < 5; ++round) {
        QTemporaryDir bare;
        makeEmptyFiles(bare.path(), n, photoName);
        bareBatchSeconds(bare.path(), n, false);
        const double s = bareBatchSeconds(bare.path(), n, true);

        QTemporaryDir photos;
        makeEmptyFiles(photos.path(), n, photoName);
        w->setDir1(photos.path());
        w->List1->clear();
        w->File1->selectAll();
        w->Command7_Click();
        w->List1->selectAll();
        settle();
        // For information: what the journal costs before the rename's first file, on its own
        // (the plan made from the list, written and brought to the disk).
        const double p = secondsOf([&] {
            FsResult error;
            auto writer = JournalWriter::begin(
                appStateFolder(), JournalKind::Rename,
                renamePlan(selectedSources(*w), NewNameFields{QStringLiteral("文件"), true, QString()}, 0, 1), error);
        });
        w->Command2_Click();
        w.dialogs.boxes.clear();
        settle();
        const double u = secondsOf([&] { w->mnUndo_Click(); });
        if (w.dialogs.texts().value(1) != QStringLiteral("撤销完成。")
            || !QFile::exists(photos.path() + u'/' + photoName(n - 1)))
            std::fprintf(stderr, "bench_undo: the undo did not complete\n");
        syscalls = round == 0 ? s : std::min(syscalls, s);
        undo = round == 0 ? u : std::min(undo, u);
        plan = round == 0 ? p : std::min(plan, p);
        w->setDir1(appDir.path());
    }
    printFigure(QStringLiteral("undo_%1_s").arg(suffix), undo);
    printFigure(QStringLiteral("undo_syscall_loop_%1_s").arg(suffix), syscalls);
    printFigure(QStringLiteral("undo_vs_syscall_ratio"), undo / syscalls);
    printFigure(QStringLiteral("journal_plan_%1_s").arg(suffix), plan);
}

} // namespace

QUILLMERE_BENCH(undo, benchUndo);
