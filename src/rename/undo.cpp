#include "rename/undo.h"

#include <cerrno>
#include <vector>

#include "platform/fileops.h"
#include "platform/filenames.h"
#include "platform/renamefile.h"

namespace {

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

BatchUndo::BatchUndo(JournalContent &&journal)
    : kind_(journal.summary.kind), entries_(std::move(journal.entries))
{
    // What is at each target now, read folder by folder as the batch's plan was.
    QList<QByteArrayView> targets;
    targets.reserve(entries_.size());
    for (const JournalEntry &e : entries_)
        targets.append(e.to);
    const QList<FileIdentity> seen = identitiesOfPaths(targets);

    // A batch cut short has files done that it had no time to record: those are found at
    // their targets. The renames of a batch rename stop at the first failure, so its done
    // files are the first ones of the plan; a move goes on past a failure.
    int lastRecorded = -1;
    for (int i = 0; i < entries_.size(); ++i) {
        if (entries_[i].recordedDone)
            lastRecorded = i;
    }
    bool looking = !journal.summary.ended;
    steps_.reserve(size_t(entries_.size()));
    for (int i = 0; i < entries_.size(); ++i) {
        const JournalEntry &e = entries_[i];
        Step s{i, e.doneIdentity, seen[i]};
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
            steps_.push_back(s);
    }
}

bool BatchUndo::stillThere(const Step &s) const
{
    if (s.expected.known())
        return s.seen == s.expected;
    // A file moved to another file system and not yet recorded there: the copy keeps the
    // size and the time of the file it came from.
    const JournalEntry &e = entries_[s.entry];
    return s.seen.known() && e.size >= 0 && sameSizeAndTime(e.to, e.size, e.modifiedNs);
}

bool BatchUndo::alreadyBack(const Step &s) const
{
    const JournalEntry &e = entries_[s.entry];
    const FileFacts facts = factsOf(e.from);
    if (!facts.identity.known())
        return false;
    if (e.identity.known() && facts.identity == e.identity)
        return true;
    // Moved back across file systems by an undo that was cut short: a new file again, with
    // the size and time it had.
    return e.size >= 0 && facts.regular && facts.size == e.size && facts.modifiedNs == e.modifiedNs;
}

BatchUndo::Texts BatchUndo::texts(int k) const
{
    // A whole path decodes in one pass: no character's bytes span a '/'.
    const JournalEntry &e = entries_[steps_[steps_.size() - 1 - size_t(k)].entry];
    return {decodeFileName(e.to), decodeFileName(e.from)};
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
    const Step &s = steps_[steps_.size() - 1 - size_t(k)];
    // Read only (at), never detached: allTexts() may be reading the entries meanwhile.
    const JournalEntry &e = entries_.at(s.entry);
    Result r;
    if (e.to == e.from)
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
                    ? moveFile(decodeFileName(e.to), decodeFileName(e.from))
                    : renameBytesNoReplace(e.to, e.from);
    if (r.failure.ok())
        r.back = true;
    else
        r.outcome = Outcome::Skipped;
    return r;
}
