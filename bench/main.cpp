// quillmere-bench [--n N] [group ...]: runs the registered groups (all when none is named).
#include <QApplication>
#include <QFile>
#include <QStringList>
#include <QThreadPool>
#include <QTextStream>

#include <algorithm>
#include <map>
#include <sys/resource.h>

#include "walk/walk.h"
#include "benchmark.h"

namespace {

std::map<std::string, BenchFunction> &groups()
{
    static std::map<std::string, BenchFunction> g;
    return g;
}

} // namespace

bool registerBench(const char *name, BenchFunction run)
{
    groups()[name] = std::move(run);
    return true;
}

void printFigure(const QString &name, double value)
{
    QTextStream(stdout) << name << ": " << QString::number(value, 'f', 4) << Qt::endl;
}

void settle()
{
    // Work the window has set going in the background (the rename preview's prediction) is
    // let finish too, so that it shares the processors with no command that is timed.
    for (int i = 0; i < 3; ++i) {
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThreadPool::globalInstance()->waitForDone();
    }
}

double yieldLoopSeconds(int n)
{
    settle();
    const auto loop = [n] {
        for (int i = 0; i < n; ++i)
            yieldToEventLoop();
    };
    loop();
    double best = secondsOf(loop);
    for (int run = 0; run < 2; ++run)
        best = std::min(best, secondsOf(loop));
    return best;
}

AgainstYields againstYields(int yields, const std::function<void()> &prepare,
                            const std::function<void()> &command, int rounds)
{
    AgainstYields best;
    for (int round = 0; round < rounds; ++round) {
        prepare();
        settle();
        const double bare = secondsOf([yields] {
            for (int i = 0; i < yields; ++i)
                yieldToEventLoop();
        });
        const double t = secondsOf(command);
        best.yieldsSeconds = round == 0 ? bare : std::min(best.yieldsSeconds, bare);
        best.seconds = round == 0 ? t : std::min(best.seconds, t);
    }
    return best;
}

double peakRssMiB()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_maxrss) / 1024.0;
}

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    BenchOptions options;
    QStringList wanted;
    const QStringList args = app.arguments().mid(1);
    for (int i = 0; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--n") && i + 1 < args.size())
            options.n = qBound(1, args[++i].toInt(), 32767);
        else
            wanted << args[i];
    }
    for (const auto &[name, run] : groups()) {
        if (wanted.isEmpty() || wanted.contains(QString::fromStdString(name)))
            run(options);
    }
    return 0;
}
