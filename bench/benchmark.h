#pragma once

#include <QString>
#include <QStringList>

#include <chrono>
#include <functional>
#include <string>
#include <vector>

// The benchmark runs the program's own commands headless on real files and prints one
// "name: value" line per figure. Each subsystem registers its figures in its own file.
struct BenchOptions {
    int n = 32767;   // entries per list
};

using BenchFunction = std::function<void(const BenchOptions &)>;

// Registers a group of figures; groups run in the order of their names.
bool registerBench(const char *name, BenchFunction run);

void printFigure(const QString &name, double value);

// Seconds taken by f.
template <typename F>
double secondsOf(F &&f)
{
    const auto start = std::chrono::steady_clock::now();
    f();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// The baseline of the walking commands: n bare yields to the event loop with the window as it
// stands. The window settles first (its first paint, the panes' first fill), and the fastest
// of three runs counts, so the baseline is never inflated by start-up work.
double yieldLoopSeconds(int n);

// A command timed against as many bare yields as it makes, the two in alternation: each round
// prepares, settles, times the yields, then the command, and each side counts with its fastest
// round. A machine whose speed drifts while the benchmark runs shifts both sides alike.
struct AgainstYields {
    double seconds = 0;
    double yieldsSeconds = 0;
    double ratio() const { return seconds / yieldsSeconds; }
};
AgainstYields againstYields(int yields, const std::function<void()> &prepare,
                            const std::function<void()> &command, int rounds = 5);

// The floor of reading a folder: the names as the kernel hands them over, nothing decoded,
// nothing sorted ("." and ".." left out).
std::vector<std::string> readdirLoop(const QString &folder);

// Seconds of the bare renames from[i] to to[i] (renameat2, never replacing), the paths encoded
// beforehand so that only the kernel's work is timed.
double bareRenamesSeconds(const QStringList &from, const QStringList &to);

// The files of the rename and undo figures: photo_00000.jpg, … before the batch, and the
// names the window's default fields give them, 文件0.jpg, …
QString photoName(int i);
QString renamedPhotoName(int i);
// Makes n empty files in the folder, named name(0) … name(n - 1).
void makeEmptyFiles(const QString &folder, int n, QString (*name)(int));
// The bare renames of such a batch in one folder: each photo to its new name from the first
// on, or, for an undo, each back again from the last.
double bareBatchSeconds(const QString &folder, int n, bool undo);

// Lets the window finish what a benchmark's preparation left pending (a list filled just now
// lays itself out and repaints), so that a command's figure holds only the command's work.
void settle();

// Peak resident set size of this process so far, in MiB.
double peakRssMiB();

#define QUILLMERE_BENCH(name, fn) \
    static const bool name##_registered = registerBench(#name, fn)
