// Figures of the list commands: each command against a bare loop of as many event-loop
// yields as the command makes, with the window shown.
#include <algorithm>
#include <cstdio>

#include <QCoreApplication>
#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QLineEdit>
#include <QMimeData>
#include <QTemporaryDir>
#include <QUrl>

#include "walk/walk.h"
#include "benchmark.h"
#include "list/form2.h"
#include "walk/listedits.h"
#include "testwindow.h"

namespace {

// The data of a drop from another program, as the window system hands it over: the bytes of a
// URI list, not URL objects (an in-process QMimeData converts each URL back and forth).
class DroppedUris final : public QMimeData {
public:
    explicit DroppedUris(QByteArray uris) : uris_(std::move(uris)) {}
    QStringList formats() const override { return {QStringLiteral("text/uri-list")}; }

protected:
    QVariant retrieveData(const QString &mimeType, QMetaType) const override
    {
        return mimeType == QLatin1String("text/uri-list") ? QVariant(uris_) : QVariant();
    }

private:
    QByteArray uris_;
};

void fillList(Form1 &w, int n, bool halfDuplicates)
{
    QStringList texts;
    texts.reserve(n);
    for (int i = 0; i < n; ++i)
        texts << QStringLiteral("/data/photos/img%1.jpg").arg(halfDuplicates ? i / 2 : i);
    w.List1->clear();
    w.List1->addEntries(texts);
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

    const double yieldLoop = yieldLoopSeconds(n);
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

    const auto report = [&](const char *name, const AgainstYields &timed) {
        printFigure(QStringLiteral("%1_%2_s").arg(QLatin1String(name)).arg(n), timed.seconds);
        printFigure(QStringLiteral("%1_vs_yield_ratio").arg(QLatin1String(name)), timed.ratio());
    };

    report("dedup", againstYields(n, [&] { fillList(*w, n, true); }, [&] { w->Command13_Click(); }));

    w->ActiveList = 1;
    report("toggle", againstYields(n, [&] { fillList(*w, n, false); }, [&] { w->Command3_Click(); }));

    Form2 find(&*w);
    find.Text1->setText(QStringLiteral("jpg"));
    const int yields = n + w->File1->count();
    report("find", againstYields(yields, [&] { fillList(*w, n, false); }, [&] { find.Command1_Click(); }));

    report("remove_selected",
           againstYields(n, [&] { fillList(*w, n, false); }, [&] { w->Command6_Click(); }));

    QByteArray uris;
    for (int i = 0; i < n; ++i)
        uris += QUrl::fromLocalFile(pane.path() + QStringLiteral("/file%1.jpg").arg(i)).toEncoded() + "\r\n";
    const DroppedUris dropped(uris);
    QWidget *target = w->List1->viewport();
    const auto drop = [&] {
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &dropped, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(target, &enter);
        QDropEvent event(QPointF(5, 5), Qt::CopyAction, &dropped, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(target, &event);
    };
    report("drop", againstYields(n, [&] { w->List1->clear(); }, drop));
    if (w->List1->count() != n)
        std::fprintf(stderr, "bench_list: the drop did not add every path\n");
}

} // namespace

QUILLMERE_BENCH(list, runList);
