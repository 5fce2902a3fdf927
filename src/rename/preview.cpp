#include "rename/preview.h"

#include <QStringBuilder>

#include <cerrno>
#include <climits>
#include <cmath>
#include <map>
#include <utility>
#include <vector>

#include "app/numbers.h"
#include "platform/direntries.h"
#include "rename/newname.h"

FolderSnapshotPtr readFolderSnapshot(const QString &folder)
{
    FolderNames read = readAllNames(folder);
    auto snapshot = QSharedPointer<FolderSnapshot>::create();
    snapshot->error = read.error;
    snapshot->device = read.device;
    snapshot->inode = read.inode;
    snapshot->nameMax = read.nameMax;
    snapshot->names = NameSet(std::move(read.names));
    return snapshot;
}

const FolderSnapshot &PreviewFolders::folder(const QString &path)
{
    auto at = known.constFind(path);
    if (at == known.cend())
        at = known.insert(path, readFolderSnapshot(path));
    return **at;
}

namespace {

// The length of a name as the kernel measures it: bytes of its UTF-8 form.
qsizetype encodedLength(QStringView text)
{
    qsizetype bytes = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c < 0x80)
            bytes += 1;
        else if (c < 0x800)
            bytes += 2;
        else if (QChar::isHighSurrogate(c) && i + 1 < text.size() && QChar::isLowSurrogate(text[i + 1].unicode()))
            bytes += 4, ++i;
        else
            bytes += 3;
    }
    return bytes;
}

QString entryText(int row)
{
    return QStringLiteral("索引 ") + QString::number(row);
}

// Why an entry would fail, in the order the run and the kernel's no-replace rename find out.
enum class Why : quint8 {
    None,
    NotFinite, OutOfRange,                   // the running number
    LeavesFolder, NoFullStop,                // building the name
    SourcePathLong, TargetPathLong,          // the kernel: both paths' lengths,
    SourceFolderMissing, SourceFolderUnreadable,   // both folders,
    TargetFolderMissing, TargetFolderUnreadable, OtherFileSystem,
    SourceNameLong, SourceMissing,           // the source,
    TargetNameLong, Taken,                   // the target
};

QString reasonText(Why why)
{
    switch (why) {
    case Why::NotFinite: return QStringLiteral("起始值或差值不是有限的数");
    case Why::OutOfRange: return QStringLiteral("序号超出了数的范围");
    case Why::LeavesFolder: return QStringLiteral("新文件名或新后缀含有“/”，文件会离开所在文件夹");
    case Why::NoFullStop: return QStringLiteral("文件名里没有“.”，取不到主文件名");
    case Why::SourcePathLong: return QStringLiteral("源路径太长");
    case Why::TargetPathLong: return QStringLiteral("新路径太长，超出文件系统的限制");
    case Why::SourceFolderMissing: return QStringLiteral("源文件不存在（所在文件夹不存在）");
    case Why::SourceFolderUnreadable: return QStringLiteral("无法读取源文件所在的文件夹");
    case Why::TargetFolderMissing: return QStringLiteral("新路径所在的文件夹不存在");
    case Why::TargetFolderUnreadable: return QStringLiteral("无法读取新路径所在的文件夹");
    case Why::OtherFileSystem: return QStringLiteral("新路径在另一个文件系统上");
    case Why::SourceNameLong: return QStringLiteral("源文件名太长");
    case Why::SourceMissing: return QStringLiteral("源文件不存在");
    case Why::TargetNameLong: return QStringLiteral("新文件名太长，超出文件系统的限制");
    case Why::Taken:
    case Why::None: break;
    }
    return QString();
}

// A folder as the batch leaves it so far: its names as read, less those the batch renamed
// away, plus those it gave, marked with the entry that got them. A name's mark is made when
// the batch first asks for it.
struct FolderState {
    static constexpr int Absent = -1;
    static constexpr int AsRead = -2;

    const FolderSnapshot *read = nullptr;
    NameMarks marks;
};

// One selected entry's rename, worked out before the batch is played through: all that does
// not depend on what earlier entries did. Names are views into the entries' and the new
// paths' texts, which outlive the prediction's work.
struct Step {
    int row = -1;
    Why early = Why::None;     // a failure found before the source is looked for
    bool targetNameLong = false;
    FolderState *from = nullptr;
    FolderState *to = nullptr;
    QStringView sourceName;
    QStringView targetName;
    size_t sourceHash = 0;
    size_t targetHash = 0;
    bool sourceRead = false;   // in its folder as read
    bool targetRead = false;
    bool keepsName = false;    // the new path is the old one
};

class Prediction {
public:
    Prediction(const QStringList &entries, const QList<bool> &selected, PreviewFolders &folders)
        : entries_(entries), selected_(selected), folders_(folders)
    {
    }

    // Lays the entry's rename out as the kernel would meet it: the paths' lengths, both
    // folders, the source name's length, then the target name's.
    Step lay(int row, const QString &src, const QString &dst)
    {
        Step step;
        step.row = row;
        const qsizetype srcCut = src.lastIndexOf(u'/') + 1;
        // The new path starts with the entry's folder; it leaves it only when the rest holds a
        // separator (an extension taken from a folder name).
        const qsizetype dstCut = dst.lastIndexOf(u'/') + 1;
        step.sourceName = QStringView(src).mid(srcCut);
        step.targetName = QStringView(dst).mid(dstCut);
        step.keepsName = src == dst;
        if (encodedLength(src) >= PATH_MAX) {
            step.early = Why::SourcePathLong;
            return step;
        }
        if (encodedLength(dst) >= PATH_MAX) {
            step.early = Why::TargetPathLong;
            return step;
        }
        const Resolved from = resolve(QStringView(src).left(srcCut));
        if (!from.state) {
            step.early = from.error == ENOENT ? Why::SourceFolderMissing : Why::SourceFolderUnreadable;
            errors_.insert(row, from.error);
            return step;
        }
        const Resolved to = dstCut == srcCut ? from : resolve(QStringView(dst).left(dstCut));
        if (!to.state) {
            step.early = to.error == ENOENT || to.error == ENOTDIR ? Why::TargetFolderMissing
                                                                   : Why::TargetFolderUnreadable;
            errors_.insert(row, to.error);
            return step;
        }
        if (to.state->read->device != from.state->read->device) {
            step.early = Why::OtherFileSystem;
            return step;
        }
        if (encodedLength(step.sourceName) > from.state->read->nameMax) {
            step.early = Why::SourceNameLong;
            return step;
        }
        step.from = from.state;
        step.to = to.state;
        step.targetNameLong = encodedLength(step.targetName) > to.state->read->nameMax;
        step.sourceHash = nameHash(step.sourceName);
        step.targetHash = nameHash(step.targetName);
        return step;
    }

    // Looks every source and target up in its folder as read, all in one go: each look-up
    // stands alone, so the processor works on several at once.
    static void lookUp(std::vector<Step> &steps)
    {
        for (Step &step : steps) {
            if (step.early != Why::None)
                continue;
            step.sourceRead = step.from->read->names.contains(step.sourceName, step.sourceHash);
            step.targetRead = step.to->read->names.contains(step.targetName, step.targetHash);
        }
    }

    // Plays the renames through in list order; the index of the step that fails, or -1.
    static qsizetype play(const std::vector<Step> &steps, Why *why, int *holder)
    {
        constexpr qsizetype Ahead = 8;
        for (qsizetype i = 0; i < qsizetype(steps.size()); ++i) {
            if (i + Ahead < qsizetype(steps.size()) && steps[i + Ahead].early == Why::None) {
                steps[i + Ahead].from->marks.prefetch(steps[i + Ahead].sourceHash);
                steps[i + Ahead].to->marks.prefetch(steps[i + Ahead].targetHash);
            }
            const Step &step = steps[i];
            if (step.early != Why::None) {
                *why = step.early;
                return i;
            }
            // Both marks are taken before either is set: neither table grows in between.
            step.from->marks.makeRoom(2);
            step.to->marks.makeRoom(2);
            int &source = step.from->marks.mark(step.sourceName, step.sourceHash);
            if (source == NameMarks::Unmarked)
                source = step.sourceRead ? FolderState::AsRead : FolderState::Absent;
            if (source == FolderState::Absent) {
                *why = Why::SourceMissing;
                return i;
            }
            if (step.targetNameLong) {
                *why = Why::TargetNameLong;
                return i;
            }
            int &target = step.to->marks.mark(step.targetName, step.targetHash);
            if (target == NameMarks::Unmarked)
                target = step.targetRead ? FolderState::AsRead : FolderState::Absent;
            // Keeping one's own name needs nothing but the file.
            if (target != FolderState::Absent && !step.keepsName) {
                *why = Why::Taken;
                *holder = target;
                return i;
            }
            source = FolderState::Absent;
            target = step.row;
        }
        return -1;
    }

    // Who holds the name: an entry that got it earlier in the batch, an entry further down
    // that still has it, or a file outside the batch.
    QString takenBy(const Step &step, int holder)
    {
        if (holder >= 0)
            return QStringLiteral("与") % entryText(holder) % QStringLiteral(" 的新名相同");
        for (int later = step.row + 1; later < entries_.size(); ++later) {
            const QString &entry = entries_[later];
            const qsizetype cut = entry.lastIndexOf(u'/') + 1;
            if (!selected_.value(later) || QStringView(entry).mid(cut) != step.targetName)
                continue;
            if (resolve(QStringView(entry).left(cut)).state == step.to)
                return entryText(later) % QStringLiteral(" 还没改名，仍占用此名");
        }
        return QStringLiteral("目标已存在（不在本批中）");
    }

    // The error number of a folder that could not be read, ENOENT and the like otherwise.
    int folderError(int row) const { return errors_.value(row); }

private:
    struct Resolved {
        FolderState *state = nullptr;
        int error = 0;
    };

    Resolved resolve(QStringView folder)
    {
        // Entries of one folder follow one another as a rule: the last look-up is asked again.
        if (!lastFolder_.isNull() && folder == lastFolder_)
            return last_;
        lastFolder_ = folder.toString();
        auto at = resolved_.constFind(lastFolder_);
        if (at == resolved_.cend()) {
            const FolderSnapshot &read = folders_.folder(lastFolder_);
            Resolved r;
            if (read.error != 0) {
                r.error = read.error;
            } else {
                // Two texts may name one folder (a doubled separator, a link): one state for both.
                FolderState &state = states_[{read.device, read.inode}];
                if (!state.read) {
                    state.read = &read;
                    // Room for the names the batch takes and gives here, as far as known.
                    state.marks.reserve(2 * qMin(selectedCount(), read.names.size() + 1));
                }
                r.state = &state;
            }
            at = resolved_.insert(lastFolder_, r);
        }
        last_ = *at;
        return last_;
    }

    qsizetype selectedCount()
    {
        if (selectedCount_ < 0)
            selectedCount_ = selected_.count(true);
        return selectedCount_;
    }

    const QStringList &entries_;
    const QList<bool> &selected_;
    qsizetype selectedCount_ = -1;
    PreviewFolders &folders_;
    std::map<std::pair<quint64, quint64>, FolderState> states_;
    QHash<QString, Resolved> resolved_;
    QString lastFolder_;
    Resolved last_;
    QHash<int, int> errors_;
};

int errorOf(Why why, int folderError)
{
    switch (why) {
    case Why::NotFinite:
    case Why::OutOfRange: return ERANGE;
    case Why::LeavesFolder:
    case Why::NoFullStop: return EINVAL;
    case Why::SourcePathLong:
    case Why::TargetPathLong:
    case Why::SourceNameLong:
    case Why::TargetNameLong: return ENAMETOOLONG;
    case Why::SourceFolderMissing:
    case Why::SourceFolderUnreadable:
    case Why::TargetFolderMissing:
    case Why::TargetFolderUnreadable: return folderError;
    case Why::OtherFileSystem: return EXDEV;
    case Why::SourceMissing: return ENOENT;
    case Why::Taken: return EEXIST;
    case Why::None: break;
    }
    return 0;
}

} // namespace

RunPrediction predictRun(const QStringList &entries, const QList<bool> &selected,
                         const PreviewFields &typed, PreviewFolders &folders)
{
    // The fields and numbers as the run reads them.
    const NewNameFields fields{typed.baseName, !typed.start.isEmpty(), typed.extension};
    const double step = readNumber(typed.step);
    double current = readNumber(typed.start);
    const bool fieldsFinite = std::isfinite(current) && std::isfinite(step);

    RunPrediction prediction;
    prediction.rows.resize(entries.size());
    Prediction run(entries, selected, folders);

    // The names as the run builds them, up to the first that cannot be built. Until the run
    // fails, every selected entry adds the step once.
    std::vector<Step> steps;
    Why buildFailure = Why::None;
    int buildFailureRow = -1;
    for (int row = 0; row < entries.size(); ++row) {
        if (!selected.value(row))
            continue;
        ++prediction.selected;
        if (buildFailureRow >= 0)
            continue;
        const QString &src = entries[row];
        const TextResult number = runningNumber(fields, current, step);
        const TextResult target = number.ok() ? buildNewPath(src, fields, number.text) : number;
        if (!number.ok() || !target.ok()) {
            buildFailure = !number.ok() ? (fieldsFinite ? Why::OutOfRange : Why::NotFinite)
                : typedNameLeavesFolder(fields) ? Why::LeavesFolder : Why::NoFullStop;
            buildFailureRow = row;
            continue;
        }
        RowPreview &preview = prediction.rows[row];
        preview.newPath = target.text;
        preview.nameFrom = src.lastIndexOf(u'/') + 1;
        steps.push_back(run.lay(row, src, preview.newPath));
        current += step;
    }

    Prediction::lookUp(steps);
    Why why = buildFailure;
    int holder = -1;
    const qsizetype failedStep = Prediction::play(steps, &why, &holder);
    const qsizetype renamed = failedStep >= 0 ? failedStep : qsizetype(steps.size());
    prediction.failedRow = failedStep >= 0 ? steps[failedStep].row : buildFailureRow;
    prediction.renamed = int(renamed);

    for (qsizetype i = 0; i < renamed; ++i)
        prediction.rows[steps[i].row].state = RowPreview::State::Renamed;
    if (prediction.failedRow >= 0) {
        prediction.rows[prediction.failedRow].state = RowPreview::State::Failed;
        prediction.error = FsResult::fromErrno(errorOf(why, run.folderError(prediction.failedRow)));
        prediction.reason = why == Why::Taken ? run.takenBy(steps[failedStep], holder) : reasonText(why);
        for (int row = prediction.failedRow + 1; row < entries.size(); ++row) {
            if (selected.value(row)) {
                prediction.rows[row].state = RowPreview::State::NotReached;
                prediction.rows[row].newPath.clear();
            }
        }
    }
    return prediction;
}

QString previewShortText(const RunPrediction &prediction, int at)
{
    const RowPreview &row = prediction.rows[at];
    switch (row.state) {
    case RowPreview::State::Renamed:
        return QStringLiteral("→ ") + row.newName();
    case RowPreview::State::Failed:
        return (row.newName().isEmpty() ? QString() : QStringLiteral("→ ") + row.newName() + QStringLiteral("  "))
            + QStringLiteral("✗ ") + prediction.reason;
    case RowPreview::State::NotReached:
        return QStringLiteral("不会执行到");
    case RowPreview::State::None:
        break;
    }
    return QString();
}

QString previewDescription(const RunPrediction &prediction, int at)
{
    const RowPreview &row = prediction.rows[at];
    switch (row.state) {
    case RowPreview::State::Renamed:
        return QStringLiteral("新名：") + row.newName();
    case RowPreview::State::Failed:
        return QStringLiteral("将失败：") % prediction.reason % QStringLiteral("（错误 ")
            % QString::number(prediction.error.number) % QStringLiteral("）")
            % (row.newName().isEmpty() ? QString() : QStringLiteral("，新名：") + row.newName());
    case RowPreview::State::NotReached:
        return QStringLiteral("不会执行到：前面的项将失败");
    case RowPreview::State::None:
        break;
    }
    return QString();
}

QString predictionSummary(const RunPrediction &prediction)
{
    if (prediction.rows.isEmpty())
        return QString();
    if (prediction.selected == 0)
        return QStringLiteral("没有选中的项");
    if (prediction.failedRow < 0)
        return QStringLiteral("将重命名 ") % QString::number(prediction.renamed) % QStringLiteral(" 项");
    return entryText(prediction.failedRow) % QStringLiteral(" 将失败（错误 ")
        % QString::number(prediction.error.number) % QStringLiteral("）：") % prediction.reason
        % QStringLiteral("；在此之前重命名 ") % QString::number(prediction.renamed) % QStringLiteral(" 项");
}
