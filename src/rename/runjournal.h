#pragma once

#include <QList>
#include <QPointer>
#include <QString>

#include <memory>

#include "rename/journal.h"
#include "rename/newname.h"

class Form1;

// The journal of a run of the window's batch commands, kept where the program keeps its
// state. When the journal cannot be written the run goes on as ever, and the window's status
// line says that this batch cannot be taken back.
class RunJournal {
public:
    // A run that keeps no journal (a copy): every call does nothing.
    RunJournal() = default;
    // sourceIdentities: as JournalWriter::begin takes them.
    RunJournal(Form1 &window, JournalKind kind, const QList<PlannedMove> &plan,
               const std::function<SourceIdentities()> &sourceIdentities = {});
    RunJournal(RunJournal &&) = default;
    RunJournal &operator=(RunJournal &&) = default;
    ~RunJournal() { finish(); }

    // The file at `from` is now at `to`.
    void done(const QString &from, const QString &to)
    {
        if (writer_)
            writer_->done(from, to);
    }
    // The plan's entry `index` is done as planned, the run knows: the same as done() with its
    // paths, for less.
    void donePlanned(int index)
    {
        if (writer_)
            writer_->donePlanned(index);
    }
    void finish();

private:
    QPointer<Form1> window_;
    std::unique_ptr<JournalWriter> writer_;
};

// What the runs mean to do, read from the window as they start: the selected entries of the
// rename list (selectedSources) renamed with the fields (the running number going up by `step`
// for each), the selected entries of the rename list or of the file pane moved to a folder
// (ending in '/').
QStringList selectedSources(const Form1 &window);
QList<PlannedMove> renamePlan(const QStringList &sources, const NewNameFields &fields, double start,
                              double step);
QList<PlannedMove> listMovePlan(const Form1 &window, const QString &targetFolder);
QList<PlannedMove> paneMovePlan(const Form1 &window, const QString &targetFolder);
