// Figures of the list commands: each command against a bare loop of as many event-loop
// yields as the command makes, with the window shown.
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QTemporaryDir>

#include "app/yield.h"
#include "benchmark.h"
#include "list/form2.h"
#include "list/listedits.h"
#include "testwindow.h"

namespace {

void fillList(Form1 &w, int n, bool halfDuplicates)
{
    QStringList texts;
    texts.reserve(n);
    for (int i = 0; i < n; ++i)
        texts << QStringLiteral("/data/photos/img%1.jpg").arg(halfDuplicates ? i / 2 : i);
    w.List1->clear();
    w.List1->addItems(texts);
    // A fragmented selection: every third entry.
    QList<bool> flags(n);
    for (int i = 0; i < n; ++i)
        flags[i] = i % 3 == 0;
    setSelectedFlags(w.List1, flags);
}

void runList(const BenchOptions &o)
{
    const int n = o.n;
    QTemporaryDir pane;
    for (int i = 0; i < n; ++i) {
        QFile f(pane.path() + QStringLiteral("/file%1.%2").arg(i).arg(i % 2 ? "jpg" : "txt"));
        f.open(QIODevice::WriteOnly);
    }
    TestWindow w(pane.path());
    w->show();
    w->setDir1(pane.path());

    const double yieldLoop = secondsOf([&] {
        for (int i = 0; i < n; ++i)
            yieldToEventLoop();
    });
    printFigure(QStringLiteral("yield_loop_%1_s").arg(n), yieldLoop);

    // The same yields with the progress step each command owes per entry: the floor of
    // what the commands can reach with the bar as it is drawn now.
    w->ShowProgressBar(qint16(n));
    const double progressLoop = secondsOf([&] {
        for (int i = 0; i < n; ++i) {
            yieldToEventLoop();
            w->ShowProgress();
        }
    });
    w->UnShowProgressBar();
    printFigure(QStringLiteral("yield_progress_loop_%1_s").arg(n), progressLoop);

    const auto report = [&](const char *name, double seconds, int yields) {
        printFigure(QStringLiteral("%1_%2_s").arg(QLatin1String(name)).arg(n), seconds);
        printFigure(QStringLiteral("%1_%2_vs_yield_ratio").arg(QLatin1String(name)).arg(n),
                    seconds / (yieldLoop * yields / n));
        printFigure(QStringLiteral("%1_%2_vs_yield_progress_ratio").arg(QLatin1String(name)).arg(n),
                    seconds / (progressLoop * yields / n));
    };

    fillList(*w, n, true);
    report("dedup", secondsOf([&] { w->Command13_Click(); }), n);

    fillList(*w, n, false);
    w->ActiveList = 1;
    report("toggle", secondsOf([&] { w->Command3_Click(); }), n);

    fillList(*w, n, false);
    Form2 find(&*w);
    find.Text1->setText(QStringLiteral("jpg"));
    const int yields = w->List1->count() + w->File1->count();
    report("find", secondsOf([&] { find.Command1_Click(); }), yields);

    fillList(*w, n, false);
    report("remove_selected", secondsOf([&] { w->Command6_Click(); }), n);
}

} // namespace

QUILLMERE_BENCH(list, runList);
