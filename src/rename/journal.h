#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QHash>
#include <QList>
#include <QString>

#include <functional>
#include <memory>
#include <vector>

#include "walk/displayrate.h"
#include "platform/durablefile.h"
#include "platform/fileidentity.h"
#include "platform/fsresult.h"

// The journal of one batch (a batch rename, or a move of files to a folder): what the batch is
// about to do, written and brought to the disk before its first file is touched, and then what
// it did. From it a batch can be taken back later, after a restart or a crash too. One file per
// batch in the state folder; docs/journal.md describes the format.

enum class JournalKind { Rename, Move };

using SourceIdentities = QHash<QByteArray, FolderIdentities>;

// One file the batch means to move: from where to where, in the program's text.
struct PlannedMove {
    QString from;
    QString to;
};

// Writes the journal of a batch that is running.
class JournalWriter {
public:
    // Writes the plan to a new journal in the folder and brings it to the disk. On failure
    // nothing is left behind and `error` says why.
    // The identities of the files before the batch are read here, unless sourceIdentities
    // gives those of their folders (identitiesOfSources), read moments before and asked for
    // once the plan's names are encoded.
    static std::unique_ptr<JournalWriter> begin(
        const QString &folder, JournalKind kind, const QList<PlannedMove> &plan, FsResult &error,
        const std::function<SourceIdentities()> &sourceIdentities = {});
    ~JournalWriter();

    // A file of the batch has been moved. Usually it is the next one of the plan, to the
    // planned place; an entry the plan did not foresee is journaled as it is.
    void done(const QString &from, const QString &to);
    // The plan's entry `index` was moved to its planned place.
    void donePlanned(int index);
    // Writes what is still held back and notes that the batch ran to its end. A journal of a
    // batch that moved nothing is removed.
    void finish();

    // Whether writing has failed since the plan was written; the journal then reads as that
    // of a batch cut short, whose done files are found on the disk.
    bool failed() const { return !error_.ok(); }
    const QString &path() const { return file_.path(); }

private:
    JournalWriter() = default;
    int plannedIndexOf(const QString &from);
    void holdDone(int index);
    void holdRangeBack();
    void write();

    QList<PlannedMove> plan_;
    std::vector<char> across_;   // between file systems: the file's identity changes
    DurableFile file_;
    FsResult error_;
    int cursor_ = 0;
    QHash<QString, QList<int>> plannedByFrom_;   // made when the plan's order is left
    int rangeFirst_ = -1;
    int rangeLast_ = -1;
    QByteArray held_;
    int doneCount_ = 0;
    bool finished_ = false;
    DisplayRate writeRate_;
};

// The identities of the entries of the folders that hold the paths, by the folders' bytes
// (ending in '/'), as a journal's plan records them. A batch reads them on another thread
// while it makes its plan.
SourceIdentities identitiesOfSources(const QStringList &paths);

// What a journal says of its batch, read without going through its plan.
struct JournalSummary {
    QString path;
    JournalKind kind = JournalKind::Rename;
    QDateTime time;            // when the batch started, UTC
    int planned = 0;           // files the plan held
    int recordedDone = 0;      // files the journal records as done
    bool ended = false;        // the batch ran to its end; otherwise it was cut short
    bool undoStarted = false;
    bool undone = false;
    QString problem;           // why the journal cannot be used; empty when it can

    bool usable() const { return problem.isEmpty(); }
};

// One file of a batch, as the journal has it: the paths in the file system's bytes.
struct JournalEntry {
    QByteArray from;
    QByteArray to;
    FileIdentity identity;       // of the file before the batch; unknown when it was not there
    bool across = false;         // moved between file systems
    qint64 size = -1;            // for those: the file's size and modification time, which a
    qint64 modifiedNs = 0;       // move keeps while the identity changes
    bool recordedDone = false;
    FileIdentity doneIdentity;   // where recorded: the file's identity at `to` after the move
};

struct JournalContent {
    JournalSummary summary;
    QList<JournalEntry> entries;
};

// The journals in the folder, newest first: their paths, and what they say (unreadable ones
// with their problem).
QStringList journalPaths(const QString &folder);
QList<JournalSummary> journalSummaries(const QString &folder);
JournalSummary readJournalSummary(const QString &path);
// The whole journal; summary.problem says why it cannot be used.
JournalContent readJournal(const QString &path);

// Notes in the journal that its batch is being taken back, and that it has been.
FsResult noteUndoStarted(const QString &path);
FsResult noteUndone(const QString &path, int restored, int skipped);

// Keeps the newest `keep` journals in the folder and removes the others.
void pruneJournals(const QString &folder, int keep);
inline constexpr int kJournalsKept = 100;
