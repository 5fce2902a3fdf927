#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <vector>

#include "platform/fileidentity.h"
#include "platform/fsresult.h"
#include "rename/journal.h"

// Taking a batch back: every file the batch moved goes back where it came from, the last one
// first, never onto a file that is there now. Which files the batch moved comes from its
// journal and, for a batch cut short, from a look at the disk; a file that is no longer
// where the batch left it (renamed, removed or replaced since) stays where it is.
class BatchUndo {
public:
    // Takes over the journal's entries; its summary stays as it is.
    explicit BatchUndo(JournalContent &&journal);

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
    // The journal's entries, for whoever frees them; no step can be taken after.
    QList<JournalEntry> takeEntries() { return std::move(entries_); }

private:
    // A file the batch moved: its entry of the journal (`to` is where the batch left it, `from`
    // where it came from), and the identities that tell whether it is still there.
    struct Step {
        int entry = 0;
        FileIdentity expected;     // what must be at `to`; unknown: judged by size and time
        FileIdentity seen;         // what the look at the disk found at `to`
    };
    bool stillThere(const Step &s) const;
    bool alreadyBack(const Step &s) const;

    JournalKind kind_;
    QList<JournalEntry> entries_;
    std::vector<Step> steps_;   // in the order the batch moved them
};

// The description of a file that was replaced since the batch moved it.
QString replacedSinceDescription();
