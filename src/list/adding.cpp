// Adding entries to the rename list: from the file pane, by a drop, and the list's own
// click and focus handlers.
#include "app/form1.h"

#include <QItemSelectionModel>
#include <QMimeData>

#include <algorithm>
#include <optional>

#include "app/appinfo.h"
#include "walk/entrylist.h"
#include "walk/walk.h"

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

const QString kUriList = QStringLiteral("text/uri-list");

// The path a file URL names on this machine, or nothing: only "file:" URLs without a host (or
// with "localhost"). The path's bytes are taken from the percent-encoded URL as they stand,
// so a name that is not UTF-8 arrives as it is on the disk.
std::optional<QString> localPathOf(QByteArrayView url)
{
    if (!url.startsWith("file:"))
        return std::nullopt;
    url = url.sliced(5);
    if (url.startsWith("//")) {
        url = url.sliced(2);
        const qsizetype slash = url.indexOf('/');
        if (slash < 0)
            return std::nullopt;
        const QByteArrayView host = url.first(slash);
        if (!host.isEmpty() && host.compare("localhost", Qt::CaseInsensitive) != 0)
            return std::nullopt;
        url = url.sliced(slash);
    }
    // A file name's own "?" and "#" travel percent-encoded; bare ones end the path.
    const qsizetype end = std::min<qsizetype>(url.indexOf('?') < 0 ? url.size() : url.indexOf('?'),
                                              url.indexOf('#') < 0 ? url.size() : url.indexOf('#'));
    url.truncate(end);
    if (!url.startsWith('/'))
        return std::nullopt;
    return QString::fromUtf8(QByteArray::fromPercentEncoding(url.toByteArray()));
}

// The paths a drop carries, read from its URI list in one pass: parsing a URL object for each
// of tens of thousands of files would cost more than the drop's own walk.
QStringList droppedPaths(const QMimeData *data)
{
    QStringList paths;
    if (!data || !data->hasFormat(kUriList))
        return paths;
    const QByteArray list = data->data(kUriList);
    qsizetype start = 0;
    while (start < list.size()) {
        qsizetype end = list.indexOf('\n', start);
        if (end < 0)
            end = list.size();
        QByteArrayView line(list.constData() + start, end - start);
        start = end + 1;
        if (line.endsWith('\r'))
            line.chop(1);
        if (line.isEmpty() || line.startsWith('#'))
            continue;
        if (const auto path = localPathOf(line))
            paths << *path;
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
    const HeldOpen held(closeGuard_);
    Walk walk(held, paths.size());
    for (int i; (i = walk.next()) >= 0;) {
        if (List1->count() >= AppInfo::MaxListEntries) {
            List1->entries()->flushPending();
            listFullMessage(paths.size() - i);
            break;
        }
        List1->entries()->appendSoon(paths[i]);
    }
    List1->entries()->flushPending();
}

bool Form1::List1_AcceptsDrop(const QMimeData *data)
{
    // Asked at every move of a drag: one local path settles it.
    if (!data || !data->hasFormat(kUriList))
        return false;
    const QByteArray list = data->data(kUriList);
    for (qsizetype at = 0; at >= 0 && at < list.size();) {
        const qsizetype end = list.indexOf('\n', at);
        QByteArrayView line(list.constData() + at, (end < 0 ? list.size() : end) - at);
        if (line.endsWith('\r'))
            line.chop(1);
        if (!line.startsWith('#') && localPathOf(line))
            return true;
        at = end < 0 ? -1 : end + 1;
    }
    return false;
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
