#pragma once

#include <QHash>
#include <QList>
#include <QSharedPointer>
#include <QString>
#include <QStringList>

#include "platform/fsresult.h"
#include "rename/nametables.h"

// What a folder held when it was last read. The prediction looks every source and target up
// in it, so it holds every name, of any kind: a target may collide with a folder or a hidden
// file just as with a file.
struct FolderSnapshot {
    int error = 0;              // errno of a folder that could not be read
    quint64 device = 0;
    quint64 inode = 0;
    int nameMax = 255;          // bytes
    NameSet names;
};
using FolderSnapshotPtr = QSharedPointer<const FolderSnapshot>;

FolderSnapshotPtr readFolderSnapshot(const QString &folder);

// The folders a prediction has met, by their text as the entries give it; a folder met for
// the first time is read then. Snapshots are shared, never changed: a copy of the set costs
// nothing, and a prediction on a worker thread may read folders into its own copy.
struct PreviewFolders {
    const FolderSnapshot &folder(const QString &path);
    QHash<QString, FolderSnapshotPtr> known;
};

// The four rename fields as typed.
struct PreviewFields {
    QString baseName;
    QString start;
    QString step;
    QString extension;
};

// What the run would do with one entry of the list.
struct RowPreview {
    enum class State : quint8 { None, Renamed, Failed, NotReached };
    State state = State::None;   // None: not selected, so not renamed
    QString newPath;             // when one was built
    qsizetype nameFrom = 0;      // where the new path leaves the entry's folder

    // The new path beyond the entry's folder: the new name, or more where it leaves the folder.
    QString newName() const { return newPath.mid(nameFrom); }
};

struct RunPrediction {
    QList<RowPreview> rows;      // one per entry, in list order
    int selected = 0;
    int renamed = 0;             // entries renamed before the run stops, or all selected
    int failedRow = -1;          // the entry the run stops at, -1 when it gets through
    FsResult error;              // of that entry: the number and text the run would report
    QString reason;              // of that entry: why, in the program's words
};

// Runs the batch rename in thought: the entries in list order, the same names and numbers as
// the run makes, against the folders' names as last read plus the names the batch itself gives
// and frees. Stops, as the run does, at the first entry that would fail.
RunPrediction predictRun(const QStringList &entries, const QList<bool> &selected,
                         const PreviewFields &fields, PreviewFolders &folders);

// The texts a person sees and hears: the short one beside the entry, the full one a screen
// reader reads for it, and the window's summary line.
QString previewShortText(const RunPrediction &prediction, int row);
QString previewDescription(const RunPrediction &prediction, int row);
QString predictionSummary(const RunPrediction &prediction);
