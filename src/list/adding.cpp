// Adding entries to the rename list: from the file pane, by a drop, and the list's own
// click and focus handlers.
#include "app/form1.h"

#include <QItemSelectionModel>
#include <QMimeData>
#include <QUrl>

#include <algorithm>

#include "app/appinfo.h"
#include "app/yield.h"
#include "list/entrylist.h"

namespace {

// The rows selected in a list in list order, whatever order they were selected in.
QList<int> selectedRows(const EntryList *list)
{
    QList<int> rows;
    for (const QItemSelectionRange &range : list->selectionModel()->selection()) {
        for (int row = range.top(); row <= range.bottom(); ++row)
            rows << row;
    }
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    return rows;
}

// A volume root already ends in its separator; any other folder does not.
QString paneEntryPath(const QString &folder, const QString &name)
{
    return folder.endsWith(u'/') ? folder + name : folder + u'/' + name;
}

QStringList droppedPaths(const QMimeData *data)
{
    QStringList paths;
    if (!data || !data->hasUrls())
        return paths;
    for (const QUrl &url : data->urls()) {
        if (url.isLocalFile() && !url.toLocalFile().isEmpty())
            paths << url.toLocalFile();
    }
    return paths;
}

} // namespace

void Form1::listFullMessage(qsizetype leftOut)
{
    MsgBox(QStringLiteral("文件列表最多容纳%1个项目，已达上限，其余%2个未加入！")
               .arg(AppInfo::MaxListEntries)
               .arg(leftOut));
}

void Form1::List1_OLEDragDrop(const QMimeData *data)
{
    // The paths are read before the first yield: the drop's data lives only as long as its event.
    const QStringList paths = droppedPaths(data);
    beginWalk();
    for (qsizetype i = 0; i < paths.size(); ++i) {
        yieldToEventLoop();
        if (!walkMayGoOn())
            break;
        if (List1->count() >= AppInfo::MaxListEntries) {
            listFullMessage(paths.size() - i);
            break;
        }
        List1->addEntry(paths[i]);
    }
    endWalk();
}

bool Form1::List1_AcceptsDrop(const QMimeData *data)
{
    return !droppedPaths(data).isEmpty();
}

void Form1::List1_Click()
{
    const int row = List1->currentRow();
    List1->setToolTip(row >= 0 ? QString::number(row) + u'.' + List1->text(row) : QString());
}

void Form1::List1_GotFocus()
{
    ActiveList = 1;
}

void Form1::Command7_Click()
{
    if (File1->count() == 0) {
        MsgBox(QStringLiteral("没有文件！"));
        return;
    }
    const QString folder = dir1Path();
    QStringList paths;
    for (int row : selectedRows(File1))
        paths << paneEntryPath(folder, File1->text(row));

    const qsizetype room = qMax(0, AppInfo::MaxListEntries - List1->count());
    const qsizetype leftOut = qMax<qsizetype>(0, paths.size() - room);
    if (leftOut > 0)
        paths.resize(room);
    // One insertion for the whole batch: the list lays itself out once, not once per entry.
    List1->addEntries(paths);
    if (leftOut > 0)
        listFullMessage(leftOut);
}
