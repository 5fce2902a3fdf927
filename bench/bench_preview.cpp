// Figures of the rename preview: the prediction's folder read against a bare readdir loop, and
// the time from one keystroke in the base name to the preview of N selected entries applied,
// in the real window, the folder already read.
#include "benchmark.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <cstdio>
#include <fcntl.h>
#include <string>
#include <unistd.h>
#include <vector>

#include "rename/preview.h"
#include "rename/renamepreview.h"
#include "testwindow.h"

namespace {

QStringList makeFolder(const QString &folder, int n)
{
    QStringList paths;
    for (int i = 0; i < n; ++i) {
        // As a phone names its photos: longer than a short string keeps without a heap block.
        paths << folder + QStringLiteral("/IMG_20240613_%1.jpg").arg(i, 6, 10, QLatin1Char('0'));
        const int fd = ::open(QFile::encodeName(paths.last()).constData(), O_WRONLY | O_CREAT, 0644);
        if (fd >= 0)
            ::close(fd);
    }
    return paths;
}

template <typename F>
double fastestOf(int runs, F &&f)
{
    double best = 0;
    for (int run = 0; run < runs; ++run) {
        decltype(f()) result;
        const double seconds = secondsOf([&] { result = f(); });
        best = run == 0 ? seconds : std::min(best, seconds);
    }
    return best;
}

// The longest stretch the window's thread worked without waiting for events: how long a
// key pressed meanwhile could have waited for the field to take it.
class BusyStretches : public QObject {
public:
    BusyStretches()
    {
        auto *dispatcher = QAbstractEventDispatcher::instance();
        connect(dispatcher, &QAbstractEventDispatcher::awake, this, [this] { clock_.start(); });
        connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, this, [this] {
            if (clock_.isValid())
                longest = std::max(longest, clock_.nsecsElapsed() / 1e9);
        });
    }
    double longest = 0;

private:
    QElapsedTimer clock_;
};

// Lets the event loop run until the preview shows what stands now, and paints it.
void waitForPreview(RenamePreview &preview)
{
    while (!preview.isUpToDate())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    QCoreApplication::processEvents();
}

void runPreview(const BenchOptions &o)
{
    const int n = o.n;
    const QString size = QString::number(n);
    QTemporaryDir dir;
    const QStringList paths = makeFolder(dir.path(), n);

    const double bare = fastestOf(5, [&] { return readdirLoop(dir.path()); });
    const double read = fastestOf(5, [&] { return readFolderSnapshot(dir.path()); });
    printFigure(QStringLiteral("preview_readdir_loop_%1_s").arg(size), bare);
    printFigure(QStringLiteral("preview_folder_read_%1_s").arg(size), read);
    printFigure(QStringLiteral("preview_folder_read_vs_readdir_ratio"), read / bare);

    // The prediction alone, on this thread, the folder read.
    PreviewFolders folders;
    folders.folder(dir.path() + u'/');
    const QList<bool> all(n, true);
    const PreviewFields fields{QStringLiteral("文件"), QStringLiteral("0"), QStringLiteral("1"), QString()};
    printFigure(QStringLiteral("preview_prediction_%1_s").arg(size),
                fastestOf(5, [&] { return predictRun(paths, all, fields, folders); }));

    QTemporaryDir appDir;
    TestWindow w(appDir.path());
    w.showActive();
    w->List1->addEntries(paths);
    w->List1->selectAll();
    RenamePreview &preview = *w->renamePreview();
    waitForPreview(preview);
    settle();
    if (preview.prediction().renamed != n)
        std::fprintf(stderr, "bench_preview: the preview did not foresee every rename\n");

    double best = 0, worst = 0;
    BusyStretches busy;
    for (int run = 0; run < 5; ++run) {
        const double seconds = secondsOf([&] {
            QTest::keyClick(w->Text4, char('a' + run));
            waitForPreview(preview);
        });
        best = run == 0 ? seconds : std::min(best, seconds);
        worst = std::max(worst, seconds);
        settle();
    }
    printFigure(QStringLiteral("preview_%1_s").arg(size), best);
    printFigure(QStringLiteral("preview_%1_slowest_s").arg(size), worst);
    printFigure(QStringLiteral("preview_longest_busy_stretch_s"), busy.longest);
}

} // namespace

QUILLMERE_BENCH(preview, runPreview);
