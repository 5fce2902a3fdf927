// Deleting the selected files.
#include "app/form1.h"

#include "app/listwalk.h"
#include "app/yield.h"
#include "fileops/pathlist.h"
#include "list/entrylist.h"
#include "list/listedits.h"
#include "platform/fileops.h"

namespace {

// A file that is gone after the attempt counts as deleted, whatever the attempt said.
bool deleteOne(const QString &path, FailureTally &tally)
{
    const FsResult r = deletePath(path);
    if (r.ok() || !pathPresent(path))
        return true;
    tally.add(path, r);
    return false;
}

// Walks the list from the end; the walk yields, so it goes through ListWalk, which never
// lets a change made meanwhile by another command point it at a wrong entry. The entries of
// deleted files leave the list together at the end: one removal per entry would lay out and
// repaint the whole list at every yield.
void deleteSelected(Form1 &w, EntryList *list, const QString &folder, bool removeEntries,
                    FailureTally &tally)
{
    const SelectedEntries selected(list);
    ListWalk walk(list, ListWalk::Order::FromEnd);
    for (int k = 0; k < walk.size(); ++k) {
        yieldToEventLoop();
        const int row = walk.next();
        if (row < 0)
            break;
        if (selected.containsRow(row) && deleteOne(folder + list->text(row), tally))
            walk.markCurrent();
        w.ShowProgress();
    }
    if (removeEntries)
        ::removeEntries(list, walk.marked());
}

} // namespace

void Form1::Command1_Click()
{
    if (MsgBox(QStringLiteral("文件删除后不可恢复，是否继续？"), QStringLiteral("询问："),
               Dialogs::Buttons::YesNo, Dialogs::Icon::Question)
        != Dialogs::Answer::Yes)
        return;
    EntryList *list = ActiveList == 1 ? List1 : ActiveList == 2 ? File1 : nullptr;
    FailureTally tally;
    if (list) {
        if (list->count() == 0) {
            MsgBox(QStringLiteral("没有文件！"));
            return;
        }
        ShowProgressBar(qint16(list->count()));
        // The pane's names belong to the folder shown when the walk began.
        deleteSelected(*this, list, list == File1 ? CurrentFolder : QString(), list == List1, tally);
        if (list == File1)
            refreshFile1();
    }
    UnShowProgressBar();
    if (tally.count == 0)
        MsgBox(QStringLiteral("OK！"), QStringLiteral("提示："), Dialogs::Buttons::Ok,
               Dialogs::Icon::Information);
    else
        MsgBox(failureReport(tally, QStringLiteral("删除")), QStringLiteral("提示："),
               Dialogs::Buttons::Ok, Dialogs::Icon::Warning);
    refreshFile1();
    PanDuanList();
}
