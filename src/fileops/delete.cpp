// Deleting the selected files.
#include "app/form1.h"

#include "fileops/pathlist.h"
#include "platform/fileops.h"
#include "walk/listedits.h"
#include "walk/walk.h"

namespace {

// Only a file that is gone counts as deleted: the delete says so when it removed the file or
// found its name missing from a folder that is there.
bool deleteOne(const QString &path, FailureTally &tally)
{
    const FsResult r = deletePath(path);
    if (r.ok())
        return true;
    tally.add(path, r);
    return false;
}

// Walks the list from the end. The entries of deleted files leave the list together at the
// end: one removal per entry would lay out and repaint the whole list at every yield.
void deleteSelected(Form1 &w, const HeldOpen &held, EntryList *list, const QString &folder,
                    bool removeEntries, FailureTally &tally)
{
    const SelectedEntries selected(list);
    Walk walk(held, list, Walk::Order::FromEnd);
    walk.withProgress(w.progressStep());
    for (int row; (row = walk.next()) >= 0;) {
        if (selected.containsRow(row) && deleteOne(folder + list->text(row), tally))
            walk.markCurrent();
    }
    if (removeEntries)
        ::removeEntries(list, walk.marked());
}

} // namespace

void Form1::Command1_Click()
{
    const HeldOpen held(closeGuard_);
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
        ShowProgressBar(list->count());
        // The pane's names belong to the folder shown when the walk began.
        deleteSelected(*this, held, list, list == File1 ? CurrentFolder : QString(), list == List1, tally);
        if (list == File1)
            refreshFile1();
    }
    UnShowProgressBar();
    if (held.closing())
        return;
    if (tally.count == 0)
        MsgBox(QStringLiteral("OK！"), QStringLiteral("提示："), Dialogs::Buttons::Ok,
               Dialogs::Icon::Information);
    else
        MsgBox(failureReport(tally, QStringLiteral("删除")), QStringLiteral("提示："),
               Dialogs::Buttons::Ok, Dialogs::Icon::Warning);
    refreshFile1();
    PanDuanList();
}
