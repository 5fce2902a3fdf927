// Moving and copying the selected files to a folder.
#include "app/form1.h"

#include <QItemSelectionModel>

#include "app/pathpieces.h"
#include "fileops/pathlist.h"
#include "platform/fileops.h"
#include "rename/runjournal.h"
#include "walk/listedits.h"
#include "walk/walk.h"

namespace {

enum class Transfer { Move, Copy };

FsResult transferOne(Transfer how, const QString &from, const QString &to)
{
    return how == Transfer::Move ? moveFile(from, to) : copyFileReplacing(from, to);
}

// A moved entry names the file's new place; a failed move keeps the old text.
void transferRenameList(Form1 &w, const HeldOpen &held, Transfer how, const QString &target,
                        FailureTally &tally, RunJournal &journal)
{
    const SelectedEntries selected(w.List1);
    Walk walk(held, w.List1, Walk::Order::FromTop);
    walk.withProgress(w.progressStep());
    QuietEntryTexts texts(w.List1);
    for (int row; (row = walk.next()) >= 0;) {
        if (selected.containsRow(row)) {
            const QString from = w.List1->text(row);
            const QString to = target + GetRelPath(from);
            const FsResult r = transferOne(how, from, to);
            if (!r.ok()) {
                tally.add(from, r);
            } else if (how == Transfer::Move) {
                texts.set(row, to);
                journal.done(from, to);
            }
        }
    }
}

void transferPane(Form1 &w, Transfer how, const QString &target, FailureTally &tally,
                  RunJournal &journal)
{
    const QString folder = w.CurrentFolder;
    const int count = w.File1->count();
    const QList<bool> selected = selectedFlags(w.File1);
    for (int i = 0; i < count; ++i) {
        const QString name = w.File1->text(i);
        if (selected[i]) {
            const FsResult r = transferOne(how, folder + name, target + name);
            if (!r.ok())
                tally.add(folder + name, r);
            else
                journal.done(folder + name, target + name);
        }
        w.ShowProgress();
    }
}

void closingMessage(Form1 &w, Transfer how, const FailureTally &tally)
{
    if (tally.count == 0)
        w.MsgBox(QStringLiteral("Ok!"));
    else
        w.MsgBox(failureReport(tally, how == Transfer::Move ? QStringLiteral("移动")
                                                            : QStringLiteral("复制")),
                 QString(), Dialogs::Buttons::Ok, Dialogs::Icon::Warning);
}

void transferSelected(Form1 &w, Transfer how)
{
    const HeldOpen held(w.closeGuard());
    QString target = w.BrowseForFolder(QStringLiteral("请选择文件夹"));
    // Here the root "/" is a folder like any other; only the empty text means a cancel.
    if (target.isEmpty())
        return;
    if (!target.endsWith(u'/'))
        target += u'/';
    w.ForbidCmd();
    FailureTally tally;
    if (w.ActiveList == 1) {
        if (w.GetSelCounts() == 0) {
            w.MsgBox(QStringLiteral("文件列表里没有文件或没选中文件！"));
        } else {
            w.ShowProgressBar(w.List1->count());
            RunJournal journal = how == Transfer::Move
                                     ? RunJournal(w, JournalKind::Move, listMovePlan(w, target))
                                     : RunJournal();
            transferRenameList(w, held, how, target, tally, journal);
            journal.finish();
            if (!held.closing())
                closingMessage(w, how, tally);
        }
    } else if (w.ActiveList == 2) {
        if (!w.File1->selectionModel()->hasSelection()) {
            w.MsgBox(QStringLiteral("预览列表里没有文件或没选中文件！"));
        } else {
            w.ShowProgressBar(w.File1->count());
            RunJournal journal = how == Transfer::Move
                                     ? RunJournal(w, JournalKind::Move, paneMovePlan(w, target))
                                     : RunJournal();
            transferPane(w, how, target, tally, journal);
            journal.finish();
            if (how == Transfer::Move)
                w.refreshFile1();
            closingMessage(w, how, tally);
        }
    }
    w.UnForbidCmd();
    w.UnShowProgressBar();
    w.Command8_Click();
}

} // namespace

void Form1::mnMoveTo_Click()
{
    transferSelected(*this, Transfer::Move);
}

void Form1::mnCopyTo_Click()
{
    transferSelected(*this, Transfer::Copy);
}
