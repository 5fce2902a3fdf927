#pragma once

#include <QFutureWatcher>
#include <QHash>
#include <QList>
#include <QObject>
#include <QPointer>

#include "walk/entrylist.h"
#include "rename/preview.h"

class Form1;
class QLabel;

// Keeps the preview of the batch rename beside the rename list's selected entries, and its
// summary in the window's status bar, in step with the four fields, the list, its selection
// and the files. A prediction starts when the window falls idle, so the changes of one turn of
// the event loop make one, and none runs while a command yields its way through a list; it is
// made on a worker thread from a copy of what it needs, so typing never waits for it, and only
// the prediction of what stands now is shown for good.
class RenamePreview final : public QObject {
    Q_OBJECT

public:
    // What each row of the rename list answers, besides the description a screen reader reads.
    enum Role { StateRole = Qt::UserRole + 40, ShortTextRole };

    explicit RenamePreview(Form1 &window);
    ~RenamePreview() override;

    // Files may have been renamed, added or removed: the folders are read anew. So they are
    // when entries are added.
    void foldersChanged();
    // Whether what is shown follows the fields, the list and the folders as they stand (never
    // while the list is locked).
    bool isUpToDate() const { return !pending_ && !running_ && shownVersion_ == version_; }
    QLabel *summary() const { return summary_; }
    // The prediction shown, for the entries as they were when it was made.
    const RunPrediction &prediction() const { return shown_; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct Job {
        QStringList entries;
        QList<EntryId> ids;
        QList<bool> selected;
        PreviewFields fields;
        PreviewFolders folders;
        quint64 version = 0;
        quint64 foldersVersion = 0;
        RunPrediction prediction;
    };

    void changed();
    void startWhenIdle();
    void finished();
    // The row of the shown prediction that holds the entry now at `row`, or -1.
    int shownRow(int row, EntryId id) const;
    QVariant rowData(int row, EntryId id, int role) const;

    Form1 &window_;
    QPointer<EntryList> list_;   // goes before the preview when the window closes
    QLabel *summary_;
    QFutureWatcher<Job> watcher_;
    PreviewFolders folders_;
    quint64 version_ = 0;
    quint64 foldersVersion_ = 0;
    quint64 shownVersion_ = ~quint64(0);
    bool pending_ = false;    // a change not yet predicted
    bool running_ = false;

    // The prediction shown, with the entries it was made for: rows that moved since are
    // found by their identity until the next prediction arrives.
    RunPrediction shown_;
    QList<EntryId> shownIds_;
    mutable QHash<EntryId, int> shownRowOf_;
    mutable bool shownRowOfValid_ = false;
};
