#include "rename/runjournal.h"

#include <QStatusBar>

#include "app/form1.h"
#include "app/pathpieces.h"
#include "walk/entrylist.h"
#include "walk/listedits.h"
#include "platform/statefolder.h"

namespace {

const QString kCannotJournal = QStringLiteral("无法写入撤销记录（%1），这次%2不能撤销。");

bool showsOurNotice(const QString &message)
{
    return message.startsWith(kCannotJournal.left(kCannotJournal.indexOf(u'%')));
}

} // namespace

RunJournal::RunJournal(Form1 &window, JournalKind kind, const QList<PlannedMove> &plan,
                       const std::function<SourceIdentities()> &sourceIdentities)
    : window_(&window)
{
    FsResult error;
    writer_ = JournalWriter::begin(appStateFolder(), kind, plan, error, sourceIdentities);
    if (!writer_) {
        // Told once, beside the run: the run's own messages come as they always do.
        window.statusBar()->showMessage(
            kCannotJournal.arg(error.description,
                               kind == JournalKind::Rename ? QStringLiteral("命名")
                                                           : QStringLiteral("移动")));
        return;
    }
    // A notice of an earlier run no longer holds; a window without a status line keeps none.
    auto *bar = window.findChild<QStatusBar *>(QString(), Qt::FindDirectChildrenOnly);
    if (bar && showsOurNotice(bar->currentMessage()))
        bar->clearMessage();
}

void RunJournal::finish()
{
    if (!writer_)
        return;
    writer_->finish();
    writer_.reset();
    pruneJournals(appStateFolder(), kJournalsKept);
    if (window_)
        window_->journalsChanged();
}

QStringList selectedSources(const Form1 &window)
{
    const QList<bool> selected = selectedFlags(window.List1);
    const QStringList &texts = window.List1->texts();
    QStringList sources;
    for (qsizetype row = 0; row < texts.size(); ++row) {
        if (selected[row])
            sources.append(texts[row]);
    }
    return sources;
}

QList<PlannedMove> renamePlan(const QStringList &sources, const NewNameFields &fields, double start,
                              double step)
{
    QList<PlannedMove> plan;
    plan.reserve(sources.size());
    double number = start;
    for (const QString &source : sources) {
        // Built as the run builds it; the run stops at a name it cannot build, and nothing
        // after it is renamed.
        const TextResult numberText = runningNumber(fields, number, step);
        const TextResult target =
            numberText.ok() ? buildNewPath(source, fields, numberText.text) : numberText;
        if (!target.ok())
            break;
        plan.append({source, target.text});
        number += step;
    }
    return plan;
}

QList<PlannedMove> listMovePlan(const Form1 &window, const QString &targetFolder)
{
    const QList<bool> selected = selectedFlags(window.List1);
    const QStringList &texts = window.List1->texts();
    QList<PlannedMove> plan;
    for (qsizetype row = 0; row < texts.size(); ++row) {
        if (selected[row])
            plan.append({texts[row], targetFolder + GetRelPath(texts[row])});
    }
    return plan;
}

QList<PlannedMove> paneMovePlan(const Form1 &window, const QString &targetFolder)
{
    const QList<bool> selected = selectedFlags(window.File1);
    const QStringList &names = window.File1->texts();
    QList<PlannedMove> plan;
    for (qsizetype row = 0; row < names.size(); ++row) {
        if (selected[row])
            plan.append({window.CurrentFolder + names[row], targetFolder + names[row]});
    }
    return plan;
}
