// The batch rename: every selected entry of the rename list is renamed in its own folder to
// the name the four fields give, in list order, and its entry then names the new path.
#include "app/form1.h"

#include <QLineEdit>
#include <QProgressBar>
#include <QtConcurrent/QtConcurrentRun>

#include "app/numbers.h"
#include "platform/renamefile.h"
#include "rename/newname.h"
#include "rename/runjournal.h"
#include "walk/disposal.h"
#include "walk/walk.h"

void Form1::Command2_Click()
{
    if (List1->count() == 0) {
        MsgBox(QStringLiteral("列表里没有项目！"));
        return;
    }
    const HeldOpen held(closeGuard_);
    // The journal records which file each entry names before the first is renamed: that
    // look at the disk goes on from here, beside the locking and the making of the new names.
    QStringList sources = selectedSources(*this);
    QFuture<SourceIdentities> identities = QtConcurrent::run(identitiesOfSources, sources);
    ForbidCmd();

    // The fields are locked for the whole run, so what they hold now holds for every entry.
    const NewNameFields fields{Text4->text(), !Text2->text().isEmpty(), Text6->text()};
    const double step = readNumber(Text3->text());
    double currentNumber = readNumber(Text2->text());

    // With no entry selected the maximum is 0: the bar stays empty and the run goes on to "OK!".
    setProgressMaximum(float(GetSelCounts()));
    setProgressPosition(0.0f);
    ProgressBar1->setVisible(true);

    // The run follows the entries present now: a paste meanwhile may add entries (never
    // visited) or remove duplicates (skipped), and no file is renamed but the one its entry
    // named when it was reached.
    const SelectedEntries selected(List1);
    Walk walk(held, List1, Walk::Order::FromTop);
    QuietEntryTexts texts(List1);
    QList<PlannedMove> plan = renamePlan(sources, fields, currentNumber, step);
    RunJournal journal(*this, JournalKind::Rename, plan, [&identities] { return identities.result(); });
    FsResult failure;
    int renamed = 0;
    for (int entry; (entry = walk.next()) >= 0;) {
        if (!selected.containsRow(entry))
            continue;
        // The entry's own text, not a copy: it is read before the entry is given its new path.
        const QString &src = List1->texts()[entry];
        // The plan built this entry's name with the same fields and the same running number
        // when it holds the same path at the same place; otherwise (the list changed
        // meanwhile, or the plan stopped at a name it could not build) it is built here.
        TextResult target;
        const bool planned = renamed < plan.size() && plan.at(renamed).from == src;
        if (planned) {
            target.text = plan.at(renamed).to;
        } else {
            const TextResult number = runningNumber(fields, currentNumber, step);
            target = number.ok() ? buildNewPath(src, fields, number.text) : number;
        }
        failure = target.ok() ? renameNoReplace(src, target.text) : target.error;
        if (!failure.ok())
            break;
        if (planned)
            journal.donePlanned(renamed);
        else
            journal.done(src, target.text);
        // Only a file that was renamed gets its new path: a failed entry keeps naming its file.
        texts.set(entry, target.text);
        currentNumber += step;
        setProgressPosition(float(++renamed));
    }

    texts.finish();
    journal.finish();
    if (!walk.stoppedByClose()) {
        if (failure.ok())
            MsgBox(QStringLiteral("OK!"), QStringLiteral("提示"), Dialogs::Buttons::Ok,
                   Dialogs::Icon::Information);
        else
            MsgBox(reportText(failure));
        refreshFile1();
    }
    ProgressBar1->setVisible(false);
    UnForbidCmd();
    releaseList(std::move(plan));
    releaseList(std::move(sources));
}
