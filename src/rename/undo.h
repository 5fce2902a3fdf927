#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include "platform/fileidentity.h"
#include "platform/fsresult.h"
#include "rename/journal.h"

// Taking a batch back: every file the batch moved goes back where it came from, the last one
// first, never onto a file that is there now. Which files the batch moved comes from its
// journal and, for a batch cut short, from a look at the disk; a file that is no longer
// where the batch left it (renamed, removed or replaced since) stays where it is.
class BatchUndo {
public:
    explicit BatchUndo(const JournalContent &journal);

    // How many files the batch moved.
    int size() const { return int(steps_.size()); }

    enum class Outcome { Restored, AlreadyBack, Skipped };
    struct Result {
        Outcome outcome = Outcome::Restored;
        bool back = false;    // the file is where it came from again, having been elsewhere
        FsResult failure;     // why it stays, when skipped
    };
    // Takes back the k-th file, counting from the last one the batch moved.
    Result step(int k);

    // Where the batch left the k-th file, and where it came from, as text.
    struct Texts {
        QString now;
        QString back;
    };
    Texts texts(int k) const;
    // Those of every file, in the order of step(); made on another thread while the files go
    // back, since no step needs them.
    QList<Texts> allTexts() const;

private:
    struct Step {
        QByteArray now;
        QByteArray back;
        FileIdentity before;       // the file's identity before the batch
        FileIdentity expected;     // what must be at `now`; unknown: judged by size and time
        qint64 size = -1;
        qint64 modifiedNs = 0;
        FileIdentity seen;         // what the look at the disk found at `now`
    };
    bool stillThere(const Step &s) const;
    bool alreadyBack(const Step &s) const;

    JournalKind kind_;
    QList<Step> steps_;   // in the order the batch moved them
};

// The description of a file that was replaced since the batch moved it.
QString replacedSinceDescription();
