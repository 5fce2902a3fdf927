#include "rename/undo.h"

#include <QHash>

#include <cerrno>
#include <vector>

#include "platform/fileops.h"
#include "platform/filenames.h"
#include "platform/renamefile.h"

namespace {

qsizetype nameStart(const QByteArray &path)
{
    return path.lastIndexOf('/') + 1;
}

// What is at each path now, read folder by folder as the batch's plan was. The paths of a
// batch come mostly in runs of one folder.
QList<FileIdentity> identitiesAt(const QList<QByteArray> &paths)
{
    if (paths.isEmpty())
        return {};
    // The usual batch: one folder.
    const QByteArrayView first = QByteArrayView(paths[0]).first(nameStart(paths[0]));
    QList<QByteArrayView> names;
    names.reserve(paths.size());
    for (const QByteArray &p : paths) {
        if (QByteArrayView(p).first(nameStart(p)) != first)
            break;
        names.append(QByteArrayView(p).sliced(nameStart(p)));
    }
    if (names.size() == paths.size())
        return identitiesInFolder(first.toByteArray(), names);

    QHash<QByteArray, QList<int>> byFolder;
    QByteArrayView lastFolder;
    QList<int> *rows = nullptr;
    for (int i = 0; i < paths.size(); ++i) {
        const QByteArrayView folder = QByteArrayView(paths[i]).first(nameStart(paths[i]));
        if (!rows || folder != lastFolder) {
            rows = &byFolder[folder.toByteArray()];
            lastFolder = folder;
        }
        rows->append(i);
    }
    QList<FileIdentity> out(paths.size());
    for (auto it = byFolder.cbegin(); it != byFolder.cend(); ++it) {
        names.clear();
        names.reserve(it->size());
        for (int i : *it)
            names.append(QByteArrayView(paths[i]).sliced(nameStart(paths[i])));
        const QList<FileIdentity> found = identitiesInFolder(it.key(), names);
        for (qsizetype k = 0; k < it->size(); ++k)
            out[(*it)[k]] = found[k];
    }
    return out;
}

bool sameSizeAndTime(const QByteArray &path, qint64 size, qint64 modifiedNs)
{
    const FileFacts facts = factsOf(path);
    return facts.regular && facts.size == size && facts.modifiedNs == modifiedNs;
}

} // namespace

QString replacedSinceDescription()
{
    return QStringLiteral("这个文件在命名之后被换成了另一个文件，没有撤销。");
}

BatchUndo::BatchUndo(const JournalContent &journal) : kind_(journal.summary.kind)
{
    const QList<JournalEntry> &entries = journal.entries;
    QList<QByteArray> targets;
    targets.reserve(entries.size());
    for (const JournalEntry &e : entries)
        targets.append(e.to);
    const QList<FileIdentity> seen = identitiesAt(targets);

    // A batch cut short has files done that it had no time to record: those are found at
    // their targets. The renames of a batch rename stop at the first failure, so its done
    // files are the first ones of the plan; a move goes on past a failure.
    int lastRecorded = -1;
    for (int i = 0; i < entries.size(); ++i) {
        if (entries[i].recordedDone)
            lastRecorded = i;
    }
    bool looking = !journal.summary.ended;
    steps_.reserve(entries.size());
    for (int i = 0; i < entries.size(); ++i) {
        const JournalEntry &e = entries[i];
        Step s{e.to, e.from, e.identity, e.doneIdentity, e.size, e.modifiedNs, seen[i]};
        if (!s.expected.known() && !e.across)
            s.expected = e.identity;
        bool done = e.recordedDone;
        if (!done && looking && i > lastRecorded) {
            // A copy across file systems stands beside its source until the source goes.
            done = e.identity.known() && stillThere(s) && (!e.across || !alreadyBack(s));
            if (!done && kind_ == JournalKind::Rename)
                looking = false;
        }
        if (done)
            steps_.append(s);
    }
}

bool BatchUndo::stillThere(const Step &s) const
{
    if (s.expected.known())
        return s.seen == s.expected;
    // A file moved to another file system and not yet recorded there: the copy keeps the
    // size and the time of the file it came from.
    return s.seen.known() && s.size >= 0 && sameSizeAndTime(s.now, s.size, s.modifiedNs);
}

bool BatchUndo::alreadyBack(const Step &s) const
{
    const FileFacts facts = factsOf(s.back);
    if (!facts.identity.known())
        return false;
    if (s.before.known() && facts.identity == s.before)
        return true;
    // Moved back across file systems by an undo that was cut short: a new file again, with
    // the size and time it had.
    return s.size >= 0 && facts.regular && facts.size == s.size && facts.modifiedNs == s.modifiedNs;
}

BatchUndo::Texts BatchUndo::texts(int k) const
{
    // A whole path decodes in one pass: no character's bytes span a '/'.
    const Step &s = steps_.at(steps_.size() - 1 - k);
    return {decodeFileName(s.now), decodeFileName(s.back)};
}

QList<BatchUndo::Texts> BatchUndo::allTexts() const
{
    QList<Texts> all;
    all.reserve(steps_.size());
    for (int k = 0; k < size(); ++k)
        all.append(texts(k));
    return all;
}

BatchUndo::Result BatchUndo::step(int k)
{
    const Step &s = steps_.at(steps_.size() - 1 - k);
    Result r;
    if (s.now == s.back)
        return r;   // the batch kept this name
    if (!stillThere(s)) {
        if (alreadyBack(s)) {
            r.outcome = Outcome::AlreadyBack;
            r.back = true;
            return r;
        }
        r.outcome = Outcome::Skipped;
        r.failure = s.seen.known() ? FsResult{ESTALE, replacedSinceDescription()}
                                   : FsResult::fromErrno(ENOENT);
        return r;
    }
    r.failure = kind_ == JournalKind::Move
                    ? moveFile(decodeFileName(s.now), decodeFileName(s.back))
                    : renameBytesNoReplace(s.now, s.back);
    if (r.failure.ok())
        r.back = true;
    else
        r.outcome = Outcome::Skipped;
    return r;
}
