// Pruning the rename list: remove the selected entries, clear, remove duplicates, drop the
// entries whose files are missing. None of them touches a file on disk.
#include "app/form1.h"

#include "list/keeplast.h"
#include "list/listedits.h"
#include "platform/filelookup.h"

namespace {

const QString NoFiles = QStringLiteral("没有文件！");

} // namespace

void Form1::Command6_Click()
{
    if (List1->count() == 0) {
        MsgBox(NoFiles);
        UnShowProgressBar();
        return;
    }
    ShowProgressBar(qint16(List1->count()));
    walkWithProgress(*this, List1, ListWalk::Order::FromEnd);
    QList<bool> keep = selectedFlags(List1);
    for (bool &k : keep)
        k = !k;
    keepEntries(List1, keep);
    PanDuanList();
    UnShowProgressBar();
}

void Form1::Command10_Click()
{
    List1->clear();
    PanDuanList();
}

// The paste command relies on this returning only once "Ok!" has been closed, with no two
// entries equal and the bar hidden.
void Form1::Command13_Click()
{
    if (List1->count() == 0) {
        MsgBox(NoFiles);
        return;
    }
    ShowProgressBar(qint16(List1->count()));
    walkWithProgress(*this, List1, ListWalk::Order::FromEnd);
    // Worked out on the list as it stands after the walk, so entries that others added or
    // removed meanwhile are accounted for as well.
    keepEntries(List1, lastOfEqual(entryTexts(List1)));
    MsgBox(QStringLiteral("Ok!"));
    UnShowProgressBar();
}

void Form1::Command14_Click()
{
    if (List1->count() == 0) {
        MsgBox(NoFiles);
        return;
    }
    const QStringList texts = entryTexts(List1);
    QList<bool> keep(texts.size());
    for (qsizetype row = 0; row < texts.size(); ++row)
        keep[row] = findFirst(texts[row], LookupKind::PlainFiles);
    keepEntries(List1, keep);
    List1->viewport()->update();
}
