// Pruning the rename list: remove the selected entries, clear, remove duplicates, drop the
// entries whose files are missing. None of them touches a file on disk.
#include "app/form1.h"

#include "list/keeplast.h"
#include "platform/filelookup.h"
#include "walk/listedits.h"
#include "walk/walk.h"

namespace {

const QString NoFiles = QStringLiteral("没有文件！");

// The change of these commands is made in one step once their walk is over, on the list as
// it stands then (entries that others added or removed meanwhile counted).
bool walkThrough(Form1 &w, const HeldOpen &held)
{
    return Walk(held, w.List1, Walk::Order::FromEnd).withProgress(w.progressStep()).toEnd();
}

} // namespace

void Form1::Command6_Click()
{
    if (List1->count() == 0) {
        MsgBox(NoFiles);
        UnShowProgressBar();
        return;
    }
    const HeldOpen held(closeGuard_);
    ShowProgressBar(List1->count());
    if (walkThrough(*this, held)) {
        QList<bool> keep = selectedFlags(List1);
        for (bool &k : keep)
            k = !k;
        keepEntries(List1, keep);
        PanDuanList();
    }
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
    const HeldOpen held(closeGuard_);
    ShowProgressBar(List1->count());
    if (walkThrough(*this, held)) {
        keepEntries(List1, lastOfEqual(entryTexts(List1)));
        MsgBox(QStringLiteral("Ok!"));
    }
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
