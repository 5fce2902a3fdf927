// Reading journals: their summaries for the history, the whole of one for an undo, and the
// notes an undo leaves in them.
#include "rename/journal.h"

#include <QDir>
#include <QFile>

#include <algorithm>
#include <array>

#include "platform/filenames.h"
#include "rename/journalformat.h"

using namespace JournalFormat;

namespace {

const QString kTruncated = QStringLiteral("记录不完整");
const QString kCorrupt = QStringLiteral("记录已损坏");

// A journal is read from a file that no crash could have left longer than this header.
constexpr qint64 kHeaderLimit = 4096;

// The fields of a line, parted by single spaces. No line has more than a few; one with more
// than fit counts as having too many for any kind of line.
class Fields {
public:
    explicit Fields(QByteArrayView line)
    {
        qsizetype start = 0;
        for (;;) {
            const qsizetype space = line.indexOf(' ', start);
            const qsizetype end = space < 0 ? line.size() : space;
            if (count_ == kMax) {
                ++count_;
                return;
            }
            items_[size_t(count_++)] = line.sliced(start, end - start);
            if (space < 0)
                return;
            start = space + 1;
        }
    }
    qsizetype size() const { return count_; }
    QByteArrayView operator[](qsizetype i) const
    {
        return i < qMin(count_, kMax) ? items_[size_t(i)] : QByteArrayView();
    }

private:
    static constexpr qsizetype kMax = 10;
    std::array<QByteArrayView, kMax> items_;
    qsizetype count_ = 0;
};

bool readCount(QByteArrayView field, int limit, int &value)
{
    quint64 v = 0;
    if (limit < 0 || !readNumber(field, v) || v > quint64(limit))
        return false;
    value = int(v);
    return true;
}

// Where the plan is in the file, from the header.
struct Layout {
    qint64 bodyAt = 0;
    qint64 bodyBytes = 0;
};

bool readHeader(QFile &file, JournalSummary &s, Layout &layout)
{
    const QByteArray head = file.read(kHeaderLimit);
    qsizetype at = 0;
    int line = 0;
    bool haveKind = false, haveTime = false, haveEntries = false;
    for (;;) {
        const qsizetype end = head.indexOf('\n', at);
        if (end < 0) {
            s.problem = line == 0 && !head.startsWith(Magic.toByteArray()) && !head.isEmpty()
                            ? QStringLiteral("不是撤销记录")
                            : kTruncated;
            return false;
        }
        const QByteArrayView text = QByteArrayView(head).sliced(at, end - at);
        at = end + 1;
        const Fields f(text);
        if (line++ == 0) {
            quint64 version = 0;
            if (f.size() != 2 || f[0] != Magic || !readNumber(f[1], version) || version == 0) {
                s.problem = QStringLiteral("不是撤销记录");
                return false;
            }
            if (version > quint64(Version)) {
                s.problem = QStringLiteral("记录来自较新的版本（格式 %1）").arg(version);
                return false;
            }
            continue;
        }
        if (f.size() != 2) {
            s.problem = kCorrupt;
            return false;
        }
        if (f[0] == "kind") {
            haveKind = f[1] == "rename" || f[1] == "move";
            s.kind = f[1] == "move" ? JournalKind::Move : JournalKind::Rename;
        } else if (f[0] == "time") {
            s.time = readTime(f[1]);
            haveTime = s.time.isValid();
        } else if (f[0] == "entries") {
            haveEntries = readCount(f[1], 1 << 30, s.planned);
        } else if (f[0] == "plan-bytes") {
            quint64 bytes = 0;
            if (!haveKind || !haveTime || !haveEntries || !readNumber(f[1], bytes)
                || bytes > quint64(1) << 40) {
                s.problem = kCorrupt;
                return false;
            }
            layout.bodyAt = at;
            layout.bodyBytes = qint64(bytes);
            return true;
        }
        // Other header lines are left to the versions that write them.
    }
}

bool checkBody(QFile &file, const Layout &layout, quint32 &sum)
{
    if (!file.seek(layout.bodyAt))
        return false;
    sum = 0;
    qint64 left = layout.bodyBytes;
    QByteArray chunk;
    while (left > 0) {
        chunk = file.read(qMin<qint64>(left, 1 << 20));
        if (chunk.isEmpty())
            return false;
        sum = crc(sum, chunk);
        left -= chunk.size();
    }
    return true;
}

// What a journal's file holds, checked as far as the plan's closing line.
struct RawJournal {
    JournalSummary summary;
    QByteArray plan;        // when asked for
    QByteArray records;     // everything after the plan's closing line
};

RawJournal readRaw(const QString &path, bool withPlan)
{
    RawJournal raw;
    JournalSummary &s = raw.summary;
    s.path = path;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        s.problem = QStringLiteral("无法读取（%1）").arg(file.errorString());
        return raw;
    }
    Layout layout;
    if (!readHeader(file, s, layout))
        return raw;
    if (file.size() < layout.bodyAt + layout.bodyBytes) {
        s.problem = kTruncated;
        return raw;
    }
    quint32 sum = 0;
    if (withPlan) {
        file.seek(layout.bodyAt);
        raw.plan = file.read(layout.bodyBytes);
        if (raw.plan.size() != layout.bodyBytes) {
            s.problem = kTruncated;
            return raw;
        }
        sum = crc(0, raw.plan);
    } else if (!checkBody(file, layout, sum)) {
        s.problem = kTruncated;
        return raw;
    }
    file.seek(layout.bodyAt + layout.bodyBytes);
    const QByteArray tail = file.readAll();
    const qsizetype planEnd = tail.indexOf('\n');
    const Fields plan(QByteArrayView(tail).first(qMax<qsizetype>(planEnd, 0)));
    int count = -1;
    QByteArray expected;
    appendHex8(expected, sum);
    if (planEnd < 0 || plan.size() != 3 || plan[0] != "plan" || !readCount(plan[1], 1 << 30, count))
        s.problem = kTruncated;
    else if (count != s.planned || plan[2] != QByteArrayView(expected))
        s.problem = kCorrupt;
    else
        raw.records = tail.sliced(planEnd + 1);
    return raw;
}

// The records after the plan. Lines whose check fails (torn by a crash, or bytes a power loss
// left) are passed over: the disk tells what they would have.
void readRecords(QByteArrayView records, JournalSummary &s, QList<JournalEntry> *entries)
{
    QByteArray bytes;
    for (qsizetype at = 0; at < records.size();) {
        const qsizetype end = records.indexOf('\n', at);
        if (end < 0)
            break;   // the last line, torn
        const QByteArrayView line = records.sliced(at, end - at);
        at = end + 1;
        QByteArrayView text;
        if (!readRecord(line, text))
            continue;
        const Fields f(text);
        const QByteArrayView kind = f[0];
        int a = 0, b = 0;
        quint64 device = 0, inode = 0;
        if (kind == "done" && f.size() == 3 && readCount(f[1], s.planned - 1, a)
            && readCount(f[2], s.planned - 1, b) && a <= b) {
            s.recordedDone += b - a + 1;
            for (int i = a; entries && i <= b; ++i)
                (*entries)[i].recordedDone = true;
        } else if (kind == "moved" && f.size() == 4 && readCount(f[1], s.planned - 1, a)
                   && readNumber(f[2], device) && readNumber(f[3], inode)) {
            if (entries)
                (*entries)[a].doneIdentity = {device, inode};
        } else if (kind == "done-to" && f.size() == 5 && readCount(f[1], s.planned - 1, a)
                   && readNumber(f[2], device) && readNumber(f[3], inode) && unescape(f[4], bytes)) {
            ++s.recordedDone;
            if (entries) {
                JournalEntry &e = (*entries)[a];
                e.to = bytes;
                e.recordedDone = true;
                e.doneIdentity = {device, inode};
            }
        } else if (kind == "extra" && f.size() == 5 && readNumber(f[1], device)
                   && readNumber(f[2], inode)) {
            JournalEntry e;
            if (!unescape(f[3], e.from) || !unescape(f[4], e.to))
                continue;
            ++s.recordedDone;
            e.recordedDone = true;
            e.doneIdentity = {device, inode};
            if (entries)
                entries->append(e);
        } else if (kind == "end" && f.size() == 1) {
            s.ended = true;
        } else if (kind == "undo" && f.size() == 2) {
            s.undoStarted = true;
        } else if (kind == "undone" && f.size() == 4) {
            s.undone = true;
        }
    }
}

bool readPlan(QByteArrayView body, int count, QList<JournalEntry> &entries)
{
    struct Folder {
        QByteArray path;
        quint64 device = 0;
    };
    QList<Folder> folders;
    entries.clear();
    // A line of the plan takes more than 16 bytes, whatever count a damaged header gives.
    entries.reserve(qMin<qsizetype>(count, body.size() / 16 + 1));
    for (qsizetype at = 0; at < body.size();) {
        const qsizetype end = body.indexOf('\n', at);
        if (end < 0)
            return false;
        const Fields f(body.sliced(at, end - at));
        at = end + 1;
        quint64 id = 0, device = 0, inode = 0, size = 0, time = 0;
        if (f[0] == "folder" && f.size() == 4) {
            Folder folder;
            if (!readNumber(f[1], id) || id != quint64(folders.size()) || !readNumber(f[2], device)
                || !unescape(f[3], folder.path))
                return false;
            folder.device = device;
            folders.append(folder);
            continue;
        }
        quint64 index = 0, ff = 0, tf = 0;
        if (f[0] != "entry" || (f.size() != 7 && f.size() != 9) || !readNumber(f[1], index)
            || index != quint64(entries.size()) || entries.size() == count || !readNumber(f[2], ff)
            || ff >= quint64(folders.size()) || !readNumber(f[4], tf)
            || tf >= quint64(folders.size()) || !readNumber(f[6], inode))
            return false;
        JournalEntry &e = entries.emplaceBack();
        e.from.reserve(folders[ff].path.size() + f[3].size());
        e.from += folders[ff].path;
        e.to.reserve(folders[tf].path.size() + f[5].size());
        e.to += folders[tf].path;
        if (!appendUnescaped(e.from, f[3]) || !appendUnescaped(e.to, f[5]))
            return false;
        e.identity = {folders[ff].device, inode};
        if (f.size() == 9) {
            if (!readNumber(f[7], size) || !readNumber(f[8], time))
                return false;
            e.across = true;
            e.size = qint64(size);
            e.modifiedNs = qint64(time);
        }
    }
    return entries.size() == count;
}

// The journals' names, oldest first: the names begin with the time their batch started.
QStringList journalNames(const QString &folder)
{
    QStringList names = QDir(folder).entryList({QStringLiteral("*") + QString::fromLatin1(FileSuffix)},
                                               QDir::Files | QDir::Hidden, QDir::NoSort);
    std::sort(names.begin(), names.end());
    return names;
}

QByteArray noteText(const QByteArray &fileEnd, QByteArrayView record)
{
    // A journal whose last line was torn gets a fresh line: the torn one fails its check.
    QByteArray text = fileEnd.isEmpty() || fileEnd.endsWith('\n') ? QByteArray() : QByteArray("\n");
    appendRecord(text, record);
    return text;
}

FsResult appendNote(const QString &path, const QByteArray &record)
{
    QByteArray last;
    {
        QFile file(path);
        if (file.open(QIODevice::ReadOnly) && file.size() > 0 && file.seek(file.size() - 1))
            last = file.read(1);
    }
    // Not synced: should a note be lost, a later undo finds the files already back.
    DurableFile file;
    FsResult r = file.openToAppend(path);
    if (r.ok())
        r = file.append(noteText(last, record));
    return r;
}

} // namespace

JournalSummary readJournalSummary(const QString &path)
{
    RawJournal raw = readRaw(path, false);
    if (raw.summary.usable())
        readRecords(raw.records, raw.summary, nullptr);
    return raw.summary;
}

JournalContent readJournal(const QString &path)
{
    RawJournal raw = readRaw(path, true);
    JournalContent content;
    content.summary = raw.summary;
    if (!content.summary.usable())
        return content;
    if (!readPlan(raw.plan, content.summary.planned, content.entries)) {
        content.summary.problem = kCorrupt;
        content.entries.clear();
        return content;
    }
    readRecords(raw.records, content.summary, &content.entries);
    return content;
}

QStringList journalPaths(const QString &folder)
{
    QStringList names = journalNames(folder);
    std::reverse(names.begin(), names.end());
    for (QString &name : names)
        name = folder + u'/' + name;
    return names;
}

QList<JournalSummary> journalSummaries(const QString &folder)
{
    QList<JournalSummary> out;
    for (const QString &path : journalPaths(folder))
        out.append(readJournalSummary(path));
    return out;
}

FsResult noteUndoStarted(const QString &path)
{
    QByteArray line = "undo ";
    line += timeText(QDateTime::currentDateTimeUtc());
    return appendNote(path, line);
}

FsResult noteUndone(const QString &path, int restored, int skipped)
{
    QByteArray line = "undone ";
    line += timeText(QDateTime::currentDateTimeUtc());
    line += ' ';
    appendNumber(line, quint64(restored));
    line += ' ';
    appendNumber(line, quint64(skipped));
    return appendNote(path, line);
}

void pruneJournals(const QString &folder, int keep)
{
    QDir dir(folder);
    const QStringList names = journalNames(folder);
    for (qsizetype i = 0; i + keep < names.size(); ++i)
        dir.remove(names[i]);
}
