// Exchanging lists of paths through the clipboard.
#include "app/form1.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QItemSelectionModel>
#include <QMimeData>

#include "app/appinfo.h"
#include "fileops/pathlist.h"
#include "walk/listedits.h"
#include "walk/walk.h"

namespace {

QClipboard *clipboard()
{
    return QGuiApplication::clipboard();
}

// The program's own format beside the text: the paths exactly, whatever their names hold.
const QString kExactPaths = QStringLiteral("application/x-quillmere-paths");

// Another program may hold the clipboard; reading back what was put there tells.
void putOnClipboard(Form1 &w, const QStringList &paths)
{
    bool exact = true;
    const QString text = clipboardListText(paths, &exact);
    QClipboard *board = clipboard();
    if (board && exact) {
        board->setText(text);
    } else if (board) {
        // Only where the text cannot carry every path as it is.
        auto *data = new QMimeData;
        data->setText(text);
        data->setData(kExactPaths, exactPathList(paths));
        board->setMimeData(data);
    }
    if (!board || board->text() != text)
        w.MsgBox(QStringLiteral("无法把列表放到剪贴板！"), QString(), Dialogs::Buttons::Ok,
                 Dialogs::Icon::Warning);
}

// The pieces of the clipboard's text, or the exact paths the program put there with it while
// the text is still what it wrote for them.
QStringList clipboardPieces(const QString &text)
{
    if (const QMimeData *data = clipboard() ? clipboard()->mimeData() : nullptr;
        data && data->hasFormat(kExactPaths)) {
        const QStringList exact = pathsFromExactList(data->data(kExactPaths));
        if (!exact.isEmpty() && clipboardListText(exact) == text)
            return exact + QStringList{QString()};   // as the text's final CR LF leaves
    }
    return splitClipboardList(text);
}

} // namespace

void Form1::mnCopyList_Click()
{
    const HeldOpen held(closeGuard_);
    QStringList paths;
    if (ActiveList == 1) {
        if (GetSelCounts() == 0) {
            MsgBox(QStringLiteral("没有选中文件！"), QStringLiteral("提示"), Dialogs::Buttons::Ok,
                   Dialogs::Icon::Information);
            return;
        }
        ShowProgressBar(List1->count());
        const SelectedEntries selected(List1);
        Walk walk(held, List1, Walk::Order::FromTop);
        walk.withProgress(progressStep());
        for (int row; (row = walk.next()) >= 0;) {
            if (selected.containsRow(row))
                paths << List1->text(row);
        }
        if (walk.stoppedByClose()) {
            UnShowProgressBar();
            return;
        }
    } else if (ActiveList == 2) {
        if (File1->count() == 0 || !File1->selectionModel()->hasSelection()) {
            MsgBox(QStringLiteral("没有或没选中文件！"));
            return;
        }
        ShowProgressBar(File1->count());
        const QList<bool> selected = selectedFlags(File1);
        for (int i = 0; i < File1->count(); ++i) {
            if (selected[i])
                paths << CurrentFolder + File1->text(i);
            ShowProgress();
        }
    } else {
        return;
    }
    putOnClipboard(*this, paths);
    UnShowProgressBar();
}

void Form1::mnPasteList_Click()
{
    const HeldOpen held(closeGuard_);
    const QString text = clipboard() ? clipboard()->text() : QString();
    if (!text.isEmpty()) {
        const QStringList pieces = clipboardPieces(text);
        ShowProgressBar(int(pieces.size()));
        // The pieces join the list together once the walk is over: one insertion per piece
        // would lay out and repaint the whole list at every yield.
        QStringList accepted;
        const qsizetype room = qMax(0, AppInfo::MaxListEntries - List1->count());
        bool full = false;
        Walk walk(held, pieces.size());
        walk.withProgress(progressStep());
        for (int i; (i = walk.next()) >= 0;) {
            if (pieces[i].isEmpty())
                continue;
            if (accepted.size() >= room) {
                full = true;
                break;
            }
            accepted << pieces[i];
        }
        if (walk.stoppedByClose()) {
            UnShowProgressBar();
            return;
        }
        // Entries may have come meanwhile (a drop); the limit holds for the list as it is now.
        const qsizetype roomNow = qMax(0, AppInfo::MaxListEntries - List1->count());
        if (accepted.size() > roomNow) {
            accepted.resize(roomNow);
            full = true;
        }
        List1->addEntries(accepted);
        if (full)
            MsgBox(QStringLiteral("列表最多容纳 %1 个文件，其余的没有粘贴。")
                       .arg(AppInfo::MaxListEntries));
        Command13_Click();
        UnShowProgressBar();
    }
    PanDuanList();
}
