// Adding entries to the rename list: from the file pane, by a drop, and the list's own
// click and focus handlers.
#include "app/form1.h"

#include <QItemSelectionModel>
#include <QMimeData>

#include <algorithm>
#include <optional>

#include "app/appinfo.h"
#include "platform/filenames.h"
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

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    c = char(c | 0x20);
    return c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
}

// The path bytes of a file URL naming a file on this machine ("file:" without a host, or with
// "localhost"), percent-decoded into `path`; false for any other URL, and for one whose path
// holds an encoded "/" or NUL, which no file name does. The bytes are taken as the URL
// carries them, so a name that is not UTF-8 arrives as it is on the disk.
bool localPathOf(QByteArrayView url, QByteArray &path)
{
    if (!url.startsWith("file:"))
        return false;
    url = url.sliced(5);
    if (url.startsWith("//")) {
        url = url.sliced(2);
        const qsizetype slash = url.indexOf('/');
        if (slash < 0)
            return false;
        const QByteArrayView host = url.first(slash);
        if (!host.isEmpty() && host.compare("localhost", Qt::CaseInsensitive) != 0)
            return false;
        url = url.sliced(slash);
    }
    if (!url.startsWith('/'))
        return false;
    path.resize(url.size());
    char *out = path.data();
    for (qsizetype i = 0; i < url.size(); ++i) {
        const char c = url[i];
        // A file name's own "?" and "#" travel percent-encoded; bare ones end the path.
        if (c == '?' || c == '#')
            break;
        int hi = -1, lo = -1;
        if (c == '%' && i + 2 < url.size() && (hi = hexValue(url[i + 1])) >= 0
            && (lo = hexValue(url[i + 2])) >= 0) {
            const char byte = char(hi << 4 | lo);
            if (byte == '/' || byte == '\0')
                return false;
            *out++ = byte;
            i += 2;
        } else {
            *out++ = c;
        }
    }
    path.truncate(out - path.constData());
    return true;
}

// Calls f with each line of a URI list (lines end in CR LF, or LF alone; "#" starts a
// comment) until f returns false.
template <typename F>
void forEachUri(const QByteArray &list, F &&f)
{
    for (qsizetype start = 0; start < list.size();) {
        qsizetype end = list.indexOf('\n', start);
        if (end < 0)
            end = list.size();
        QByteArrayView line(list.constData() + start, end - start);
        start = end + 1;
        if (line.endsWith('\r'))
            line.chop(1);
        if (!line.isEmpty() && !line.startsWith('#') && !f(line))
            return;
    }
}

// The paths a drop carries, read from its URI list in one pass: a URL object made for each
// of tens of thousands of files would cost more than the drop's own walk.
QStringList droppedPaths(const QMimeData *data)
{
    QStringList paths;
    if (!data || !data->hasFormat(kUriList))
        return paths;
    QByteArray path;
    forEachUri(data->data(kUriList), [&](QByteArrayView line) {
        if (localPathOf(line, path))
            paths << decodeFileName(path);
        return true;
    });
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
        List1->addEntrySoon(paths[i]);
    }
    List1->entries()->flushPending();
}

bool Form1::List1_AcceptsDrop(const QMimeData *data)
{
    // One local path settles it.
    bool found = false;
    QByteArray path;
    if (data && data->hasFormat(kUriList)) {
        forEachUri(data->data(kUriList), [&](QByteArrayView line) {
            found = localPathOf(line, path);
            return !found;
        });
    }
    return found;
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
