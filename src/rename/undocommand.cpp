// Taking a batch back: the last one with "撤销上次命名", any one from the history window.
#include "app/form1.h"

#include <QAction>
#include <QHash>
#include <QProgressBar>
#include <QtConcurrent/QtConcurrentRun>

#include <algorithm>
#include <vector>

#include "walk/disposal.h"
#include "walk/walk.h"
#include "fileops/pathlist.h"
#include "walk/entrylist.h"
#include "walk/listedits.h"
#include "platform/statefolder.h"
#include "rename/historywindow.h"
#include "rename/journal.h"
#include "rename/undo.h"

namespace {

QString kindWord(JournalKind kind)
{
    return kind == JournalKind::Rename ? QStringLiteral("命名") : QStringLiteral("移动");
}

QString confirmText(const JournalSummary &s)
{
    const QString when = HistoryWindow::timeText(s.time);
    if (!s.ended)
        return QStringLiteral("撤销 %1 中断的%2，是否继续？").arg(when, kindWord(s.kind));
    return QStringLiteral("撤销 %1 的%2（%3 个文件），是否继续？")
        .arg(when, kindWord(s.kind))
        .arg(s.recordedDone);
}

// Entries that name where the batch left a file name where it came from again; everything
// else in the list stays as it is. `back` holds the files that went back, as indices into
// `texts`, in the batch's order; the list mostly holds them in that order, which is followed
// before anything is looked up.
void giveEntriesBack(EntryList *list, const QList<BatchUndo::Texts> &texts,
                     const std::vector<int> &back)
{
    if (back.empty())
        return;
    QuietEntryTexts changes(list);
    const QStringList &entries = list->texts();
    const auto moved = [&](size_t i) -> const BatchUndo::Texts & { return texts[back[i]]; };
    QHash<QStringView, size_t> where;
    size_t next = 0;
    for (int row = 0; row < entries.size(); ++row) {
        const BatchUndo::Texts *t = nullptr;
        if (next < back.size() && entries[row] == moved(next).now) {
            t = &moved(next++);
        } else {
            if (where.isEmpty()) {
                where.reserve(qsizetype(back.size()));
                for (size_t i = 0; i < back.size(); ++i)
                    where.insert(moved(i).now, i);
            }
            const auto it = where.constFind(entries[row]);
            if (it != where.cend())
                t = &moved(*it);
        }
        if (t)
            changes.set(row, t->back);
    }
}

} // namespace

void Form1::mnUndo_Click()
{
    // The newest batch not yet taken back; one whose journal cannot be read is passed over
    // (the history says why).
    for (const QString &path : journalPaths(appStateFolder())) {
        const JournalSummary s = readJournalSummary(path);
        if (s.usable() && !s.undone) {
            undoBatch(path);
            return;
        }
    }
    MsgBox(QStringLiteral("没有可以撤销的命名。"));
}

void Form1::mnHistory_Click()
{
    if (!history_)
        history_ = new HistoryWindow(this);
    history_->reload();
    history_->show();
    history_->raise();
    history_->activateWindow();
}

void Form1::journalsChanged()
{
    if (history_)
        history_->reload();
}

void Form1::undoBatch(const QString &journalPath)
{
    // Not while a batch runs or another is taken back: the lock covers both.
    if (!mnUndo->isEnabled())
        return;
    const HeldOpen held(closeGuard_);
    JournalContent journal = readJournal(journalPath);
    const JournalSummary &s = journal.summary;
    if (!s.usable()) {
        MsgBox(QStringLiteral("这个撤销记录无法读取（%1），不能撤销。").arg(s.problem));
        journalsChanged();
        return;
    }
    if (s.undone) {
        MsgBox(QStringLiteral("这次%1已经撤销过了。").arg(kindWord(s.kind)));
        return;
    }
    if (MsgBox(confirmText(s), QStringLiteral("询问："), Dialogs::Buttons::YesNo,
               Dialogs::Icon::Question)
        != Dialogs::Answer::Yes)
        return;

    ForbidCmd();
    // The look at the disk comes after the question, so it sees the files as they are now.
    BatchUndo undo(std::move(journal));
    setProgressMaximum(float(undo.size()));
    setProgressPosition(0.0f);
    ProgressBar1->setVisible(true);
    // Should the note fail, the files are still taken back; a later undo finds them back.
    noteUndoStarted(journalPath);

    // The entries follow the files once they are back; their texts are made meanwhile on
    // another thread, and waited for before `undo` is gone.
    QFuture<QList<BatchUndo::Texts>> texts = QtConcurrent::run([&undo] { return undo.allTexts(); });
    FailureTally tally;
    std::vector<int> back;   // the steps that took a file back
    back.reserve(size_t(undo.size()));
    // Each file takes microseconds and the user waits on none of them: the walk yields
    // once a millisecond rather than after every file.
    Walk walk(held, undo.size(), Walk::Pace::EveryMillisecond);
    for (int k; (k = walk.next()) >= 0;) {
        const BatchUndo::Result r = undo.step(k);
        if (r.outcome == BatchUndo::Outcome::Skipped)
            tally.add(undo.texts(k).now, r.failure);
        else if (r.back)
            back.push_back(k);
        setProgressPosition(float(k + 1));
    }
    std::reverse(back.begin(), back.end());
    QList<BatchUndo::Texts> backTexts = texts.takeResult();
    giveEntriesBack(List1, backTexts, back);

    // A window closed meanwhile leaves the batch to be taken back further another time.
    if (!walk.stoppedByClose()) {
        noteUndone(journalPath, undo.size() - tally.count, tally.count);
        if (tally.count == 0)
            MsgBox(QStringLiteral("撤销完成。"), QStringLiteral("提示"), Dialogs::Buttons::Ok,
                   Dialogs::Icon::Information);
        else
            MsgBox(failureReport(tally, QStringLiteral("撤销")), QString(), Dialogs::Buttons::Ok,
                   Dialogs::Icon::Warning);
        refreshFile1();
    }
    ProgressBar1->setVisible(false);
    UnForbidCmd();
    journalsChanged();
    releaseList(undo.takeEntries());
    releaseList(std::move(backTexts));
}
