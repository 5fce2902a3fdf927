// The select-all toggle and moving an entry.
#include "app/form1.h"

#include "app/numbers.h"
#include "list/moveposition.h"
#include "walk/listedits.h"
#include "walk/walk.h"

void Form1::Command3_Click()
{
    // Both states flip on every press, so a press in one list decides the next in the other.
    List1AllSel = !List1AllSel;
    File1AllSel = !File1AllSel;
    EntryList *list = ActiveList == 1 ? List1 : ActiveList == 2 ? File1 : nullptr;
    if (!list)
        return;

    const HeldOpen held(closeGuard_);
    ShowProgressBar(list->count());
    // Read after the walk: a second press while this one yielded has flipped it again.
    if (Walk(held, list, Walk::Order::FromTop).withProgress(progressStep()).toEnd())
        setAllSelected(list, list == List1 ? List1AllSel : File1AllSel);
    UnShowProgressBar();
}

void Form1::Command11_Click()
{
    const int k = List1->currentRow();
    if (k < 0) {
        MsgBox(QStringLiteral("没有文件或没选择文件！"));
        return;
    }
    const QString prompt = QStringLiteral("请输入索引，0是第一项，1是第二项，依此类推。") + QStringLiteral("\r\n")
        + QStringLiteral("现有") + QString::number(List1->count()) + QStringLiteral("项，")
        + QStringLiteral("现行选中项是：") + QString::number(k);
    const EntryId entry = List1->entries()->idAt(k);
    const QString answer = InputBox(prompt, QStringLiteral("输入"));
    const int from = List1->entries()->rowOf(entry);
    if (answer.isEmpty() || from < 0)
        return;

    // A refused position leaves the entry where it stood.
    const MovePosition to = movePosition(readNumber(answer), List1->count());
    if (!to.ok()) {
        MsgBox(reportText(to.error));
        UnForbidCmd();
        return;
    }
    // The entry keeps its selected flag on the way.
    List1->entries()->move(from, to.position);
    List1->setCurrentRow(to.position, QItemSelectionModel::NoUpdate);
    List1_Click();
}
