// Start-up: from making the main window to its first painted frame.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "benchmark.h"
#include "testwindow.h"

namespace {

void startup(const BenchOptions &options)
{
    QTemporaryDir folder;
    for (int i = 0; i < options.n; ++i)
        QFile(folder.filePath(QStringLiteral("文件%1.jpg").arg(i))).open(QIODevice::WriteOnly);

    std::unique_ptr<TestWindow> w;
    const double seconds = secondsOf([&] {
        w = std::make_unique<TestWindow>(folder.path());
        (*w)->show();
        (void)QTest::qWaitForWindowExposed(w->form.get());
        (*w)->grab();   // the first frame, painted
    });
    printFigure(QStringLiteral("startup_%1_files_s").arg(options.n), seconds);
}

} // namespace

QUILLMERE_BENCH(startup, startup);
