// Writing a batch's journal: the plan before the first file is touched, then what was done.
#include "rename/journal.h"

#include <QCoreApplication>
#include <QtConcurrent/QtConcurrentRun>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <vector>

#include "platform/filenames.h"
#include "rename/journalformat.h"

using namespace JournalFormat;

namespace {

// The folders of a plan, numbered in the order they are first met, with their bytes. Entries
// mostly share the folder of the entry before them: its text is compared, and neither
// encoded nor looked up again.
class FolderTable {
public:
    int idOf(QStringView folder)
    {
        if (lastId_ >= 0 && lastText_ == folder)
            return lastId_;
        const QByteArray bytes = encodeFileName(folder);
        auto it = ids_.constFind(bytes);
        if (it == ids_.cend()) {
            it = ids_.insert(bytes, int(folders_.size()));
            folders_.append(bytes);
        }
        lastText_ = folder;
        lastId_ = it.value();
        return lastId_;
    }
    const QList<QByteArray> &folders() const { return folders_; }

private:
    QHash<QByteArray, int> ids_;
    QList<QByteArray> folders_;
    QStringView lastText_;
    int lastId_ = -1;
};

// One side of a planned move: its folder, and where its name's bytes are in the plan's names.
// A path is cut after its last '/': the folder keeps the '/', so that folder and name joined
// again give the very bytes of the path.
struct Side {
    int folder = 0;
    qsizetype at = 0;
    qsizetype size = 0;
};

Side sideOf(const QString &path, FolderTable &folders, QByteArray &names)
{
    const qsizetype nameAt = path.lastIndexOf(u'/') + 1;
    Side side{folders.idOf(QStringView(path).first(nameAt)), names.size(), 0};
    appendFileName(names, QStringView(path).sliced(nameAt));
    side.size = names.size() - side.at;
    return side;
}

void appendField(QByteArray &out, quint64 number)
{
    out += ' ';
    appendNumber(out, number);
}

QString newJournalName(int attempt)
{
    // Names sort as the batches were made: the time first, to the millisecond, in UTC.
    static int sequence = 0;
    return QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyyMMdd'T'HHmmsszzz'Z'"))
           + QStringLiteral("-%1-%2").arg(QCoreApplication::applicationPid())
                 .arg(sequence++ + attempt, 6, 10, QLatin1Char('0'))
           + QString::fromLatin1(FileSuffix);
}

FsResult createJournalFile(const QString &folder, DurableFile &file)
{
    FsResult r;
    for (int attempt = 0; attempt < 100; ++attempt) {
        r = file.create(folder, newJournalName(attempt));
        if (r.number != EEXIST)
            break;
    }
    return r;
}

} // namespace

SourceIdentities identitiesOfSources(const QStringList &paths)
{
    const auto rowsIn = rowsByFolder<QStringView>(paths);
    SourceIdentities out;
    for (auto it = rowsIn.cbegin(); it != rowsIn.cend(); ++it) {
        const QByteArray folder = encodeFileName(it.key());
        // The names are encoded only where they are looked up one by one.
        if (FolderIdentities::listingPays(folder, it->size())) {
            out.insert(folder, FolderIdentities::ofListing(folder));
            continue;
        }
        QList<QByteArray> names;
        for (qsizetype row : *it)
            names.append(encodeFileName(QStringView(paths[row]).sliced(it.key().size())));
        out.insert(folder, FolderIdentities::ofNames(folder, {names.cbegin(), names.cend()}));
    }
    return out;
}

std::unique_ptr<JournalWriter> JournalWriter::begin(const QString &folder, JournalKind kind,
                                                    const QList<PlannedMove> &plan, FsResult &error,
                                                    const std::function<SourceIdentities()> &sourceIdentities)
{
    std::unique_ptr<JournalWriter> writer(new JournalWriter);
    // A state folder that cannot be written costs the run nothing more than this.
    error = createJournalFile(folder, writer->file_);
    if (!error.ok())
        return nullptr;
    const QDateTime started = QDateTime::currentDateTimeUtc();
    const qsizetype n = plan.size();

    // Every name's bytes, one after another; the folders' apart.
    FolderTable table;
    QByteArray names;
    names.reserve(n * 40);
    std::vector<Side> from(static_cast<size_t>(n)), to(static_cast<size_t>(n));
    for (qsizetype i = 0; i < n; ++i) {
        from[size_t(i)] = sideOf(plan[i].from, table, names);
        to[size_t(i)] = sideOf(plan[i].to, table, names);
    }
    const auto nameOf = [&names](const Side &side) {
        return QByteArrayView(names).sliced(side.at, side.size);
    };
    const QList<QByteArray> &folders = table.folders();

    QList<quint64> device(folders.size());
    for (qsizetype f = 0; f < folders.size(); ++f)
        device[f] = folderDevice(folders[f]);
    // The identity of every file before it is touched: from what was read ahead, folder by
    // folder, and otherwise read here.
    SourceIdentities known = sourceIdentities ? sourceIdentities() : SourceIdentities();
    enum : char { NoSources, Known, ToRead };
    std::vector<char> state(size_t(folders.size()), NoSources);
    std::vector<QList<QByteArrayView>> askedIn(size_t(folders.size()));
    for (const Side &src : from) {
        char &s = state[size_t(src.folder)];
        if (s == NoSources)
            s = known.contains(folders[src.folder]) ? Known : ToRead;
        if (s == ToRead)
            askedIn[size_t(src.folder)].append(nameOf(src));
    }
    for (qsizetype f = 0; f < folders.size(); ++f) {
        if (state[size_t(f)] == ToRead)
            known.insert(folders[f], FolderIdentities::read(folders[f], askedIn[size_t(f)]));
    }
    std::vector<const FolderIdentities *> identitiesIn(size_t(folders.size()), nullptr);
    for (qsizetype f = 0; f < folders.size(); ++f) {
        if (state[size_t(f)] != NoSources)
            identitiesIn[size_t(f)] = &*known.constFind(folders[f]);
    }

    // The folders first, in the order of their numbers.
    QByteArray body;
    for (qsizetype f = 0; f < folders.size(); ++f) {
        body += "folder";
        appendField(body, quint64(f));
        appendField(body, device[f]);
        body += ' ';
        appendEscaped(body, folders[f]);
        body += '\n';
    }
    writer->plan_ = plan;   // shared, not copied
    writer->across_.assign(size_t(n), false);
    const auto writeEntries = [&](qsizetype first, qsizetype last, QByteArray &out) {
        out.reserve(out.size() + (last - first) * 64);
        for (qsizetype i = first; i < last; ++i) {
            const Side &src = from[size_t(i)];
            const Side &dst = to[size_t(i)];
            const FileIdentity id = identitiesIn[size_t(src.folder)]->find(nameOf(src));
            const bool across = id.known() && device[dst.folder] != 0 && id.device != device[dst.folder];
            // The line is written in place: a plan has tens of thousands of them.
            const qsizetype at = out.size();
            const qsizetype room = 6 + 5 * 21 + 3 * (src.size + dst.size) + 1;
            if (out.capacity() < at + room)
                out.reserve(2 * (at + room));
            out.resize(at + room);
            char *p = out.data() + at;
            const auto field = [&p](quint64 value) {
                *p++ = ' ';
                p = writeNumber(p, value);
            };
            std::memcpy(p, "entry", 5);
            p += 5;
            field(quint64(i));
            field(quint64(src.folder));
            *p++ = ' ';
            p = writeEscaped(p, nameOf(src));
            field(quint64(dst.folder));
            *p++ = ' ';
            p = writeEscaped(p, nameOf(dst));
            field(id.inode);
            if (across) {
                // A move to another file system makes a new file: its size and time tell it.
                const FileFacts facts = factsOf(folders[src.folder] + nameOf(src).toByteArray());
                field(quint64(qMax<qint64>(facts.size, 0)));
                field(quint64(qMax<qint64>(facts.modifiedNs, 0)));
            }
            *p++ = '\n';
            out.truncate(p - out.constData());
            writer->across_[size_t(i)] = across;
        }
    };
    // The lines of a large plan are written on both cores: the second half, and its check
    // sum, on another thread.
    const qsizetype half = n >= 2048 ? n / 2 : n;
    QByteArray rest;
    quint32 restSum = 0;
    QFuture<void> secondHalf;
    if (half < n) {
        secondHalf = QtConcurrent::run([&] {
            writeEntries(half, n, rest);
            restSum = crc(0, rest);
        });
    }
    writeEntries(0, half, body);
    quint32 sum = crc(0, body);
    secondHalf.waitForFinished();
    sum = crcOfBoth(sum, restSum, rest.size());

    QByteArray head = Magic.toByteArray();
    appendField(head, Version);
    head += kind == JournalKind::Rename ? "\nkind rename\ntime " : "\nkind move\ntime ";
    head += timeText(started);
    head += "\nentries";
    appendField(head, quint64(n));
    head += "\nplan-bytes";
    appendField(head, quint64(body.size() + rest.size()));
    head += '\n';
    QByteArray tail = "plan";
    appendField(tail, quint64(n));
    tail += ' ';
    appendHex8(tail, sum);
    tail += '\n';

    // Durable before the first file is touched: the file's bytes and then its name.
    error = writer->file_.append(head);
    if (error.ok())
        error = writer->file_.append(body);
    if (error.ok())
        error = writer->file_.append(rest);
    if (error.ok())
        error = writer->file_.append(tail);
    if (error.ok())
        error = writer->file_.sync();
    if (error.ok())
        error = writer->file_.syncFolder();
    if (!error.ok()) {
        writer->file_.discard();
        return nullptr;
    }
    writer->writeRate_.shown();
    return writer;
}

JournalWriter::~JournalWriter()
{
    finish();
}

int JournalWriter::plannedIndexOf(const QString &from)
{
    if (cursor_ < plan_.size() && plan_[cursor_].from == from)
        return cursor_++;
    // The run left the plan's order (entries removed from the list meanwhile): the next
    // planned entry of that path, looked up from here on.
    if (plannedByFrom_.isEmpty()) {
        for (int i = 0; i < plan_.size(); ++i)
            plannedByFrom_[plan_[i].from].append(i);
    }
    const auto it = plannedByFrom_.constFind(from);
    if (it == plannedByFrom_.cend())
        return -1;
    const auto at = std::lower_bound(it->cbegin(), it->cend(), cursor_);
    if (at == it->cend())
        return -1;
    cursor_ = *at + 1;
    return *at;
}

void JournalWriter::done(const QString &from, const QString &to)
{
    if (finished_ || !file_.isOpen())
        return;
    ++doneCount_;
    const int index = plannedIndexOf(from);
    if (index >= 0 && plan_[index].to == to && !across_[size_t(index)]) {
        holdDone(index);
        if (writeRate_.due())
            write();
        return;
    }
    const QByteArray target = encodeFileName(to);
    const FileIdentity now = factsOf(target).identity;
    QByteArray line;
    if (index >= 0 && plan_[index].to == to) {
        holdDone(index);
        line = "moved ";
        appendNumber(line, quint64(index));
    } else if (index >= 0) {
        line = "done-to ";
        appendNumber(line, quint64(index));
    } else {
        line = "extra";
    }
    line += ' ';
    appendNumber(line, now.device);
    line += ' ';
    appendNumber(line, now.inode);
    if (index < 0) {
        line += ' ';
        appendEscaped(line, encodeFileName(from));
    }
    if (index < 0 || plan_[index].to != to) {
        line += ' ';
        appendEscaped(line, target);
    }
    holdRangeBack();
    appendRecord(held_, line);
    // A file moved elsewhere than planned cannot be found by a look at the disk: its record
    // is written at once. A file moved across file systems is found by its size and time.
    if (line.startsWith("moved") && !writeRate_.due())
        return;
    write();
}

void JournalWriter::donePlanned(int index)
{
    if (finished_ || !file_.isOpen())
        return;
    if (index != cursor_ || across_[size_t(index)]) {
        done(plan_[index].from, plan_[index].to);
        return;
    }
    ++doneCount_;
    ++cursor_;
    holdDone(index);
    if (writeRate_.due())
        write();
}

void JournalWriter::holdDone(int index)
{
    if (rangeFirst_ >= 0 && rangeLast_ + 1 == index) {
        rangeLast_ = index;
        return;
    }
    holdRangeBack();
    rangeFirst_ = rangeLast_ = index;
}

void JournalWriter::holdRangeBack()
{
    if (rangeFirst_ < 0)
        return;
    QByteArray line = "done ";
    appendNumber(line, quint64(rangeFirst_));
    line += ' ';
    appendNumber(line, quint64(rangeLast_));
    appendRecord(held_, line);
    rangeFirst_ = rangeLast_ = -1;
}

void JournalWriter::write()
{
    holdRangeBack();
    writeRate_.shown();
    if (held_.isEmpty() || !file_.isOpen())
        return;
    error_ = file_.append(held_);
    held_.clear();
    // After a failed write the file may end in part of a line; nothing more is written, so
    // the journal reads as that of a batch cut short.
    if (!error_.ok())
        file_.close();
}

void JournalWriter::finish()
{
    if (finished_)
        return;
    finished_ = true;
    if (!file_.isOpen())
        return;
    if (doneCount_ == 0) {
        // Nothing to take back: the journal would only crowd the history.
        file_.discard();
        return;
    }
    holdRangeBack();
    appendRecord(held_, "end");
    write();
    file_.close();
}
