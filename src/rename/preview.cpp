#include "rename/preview.h"

#include <QStringBuilder>

#include <cerrno>
#include <climits>
#include <cmath>
#include <map>
#include <optional>
#include <utility>

#include "app/numbers.h"
#include "app/pathpieces.h"
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
    snapshot->names.reserve(read.names.size());
    for (QString &name : read.names)
        snapshot->names.insert(std::move(name));
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

struct Failure {
    int error;
    QString reason;
};

// A folder as the batch leaves it so far: its names as read, less those the batch renamed
// away, plus those it gave (and to which entry).
struct FolderState {
    const FolderSnapshot *read = nullptr;
    QSet<QString> gone;
    QHash<QString, int> given;

    bool holds(const QString &name) const
    {
        return given.contains(name) || (read->names.contains(name) && !gone.contains(name));
    }
    void take(const QString &name)
    {
        if (given.remove(name) == 0)
            gone.insert(name);
    }
    void give(const QString &name, int row) { given.insert(name, row); }
};

// The renames of one batch in thought, in the order the run makes them, each failing as the
// kernel's no-replace rename would and in the order it checks: the paths' lengths, both
// folders, then the source, then the target.
class Simulation {
public:
    Simulation(const QStringList &entries, const QList<bool> &selected, PreviewFolders &folders)
        : entries_(entries), selected_(selected), folders_(folders)
    {
    }

    std::optional<Failure> rename(const QString &src, const QString &dst, int row)
    {
        if (encodedLength(src) >= PATH_MAX)
            return Failure{ENAMETOOLONG, QStringLiteral("源路径太长")};
        if (encodedLength(dst) >= PATH_MAX)
            return Failure{ENAMETOOLONG, QStringLiteral("新路径太长，超出文件系统的限制")};
        const QString srcFolder = GetDir(src);
        const auto from = resolve(srcFolder);
        if (!from.state)
            return from.error == ENOENT
                ? Failure{ENOENT, QStringLiteral("源文件不存在（所在文件夹不存在）")}
                : Failure{from.error, QStringLiteral("无法读取源文件所在的文件夹")};
        const qsizetype dstFolderLength = dst.lastIndexOf(u'/') + 1;
        const bool sameFolder = dstFolderLength == srcFolder.size() && dst.startsWith(srcFolder);
        const auto to = sameFolder ? from : resolve(dst.left(dstFolderLength));
        if (!to.state)
            return to.error == ENOENT || to.error == ENOTDIR
                ? Failure{to.error, QStringLiteral("新路径所在的文件夹不存在")}
                : Failure{to.error, QStringLiteral("无法读取新路径所在的文件夹")};
        if (to.state->read->device != from.state->read->device)
            return Failure{EXDEV, QStringLiteral("新路径在另一个文件系统上")};

        const QString srcName = src.mid(srcFolder.size());
        if (encodedLength(srcName) > from.state->read->nameMax)
            return Failure{ENAMETOOLONG, QStringLiteral("源文件名太长")};
        if (!from.state->holds(srcName))
            return Failure{ENOENT, QStringLiteral("源文件不存在")};
        const QString dstName = dst.mid(dstFolderLength);
        if (src != dst) {
            // Keeping one's own name needs nothing but the file.
            if (encodedLength(dstName) > to.state->read->nameMax)
                return Failure{ENAMETOOLONG, QStringLiteral("新文件名太长，超出文件系统的限制")};
            if (to.state->holds(dstName))
                return Failure{EEXIST, takenBy(*to.state, dstName, row)};
        }
        from.state->take(srcName);
        to.state->give(dstName, row);
        return std::nullopt;
    }

private:
    struct Resolved {
        FolderState *state = nullptr;
        int error = 0;
    };

    Resolved resolve(const QString &folder)
    {
        // Entries of one folder follow one another as a rule: the last look-up is asked again.
        if (!lastFolder_.isNull() && folder == lastFolder_)
            return last_;
        auto at = resolved_.constFind(folder);
        if (at == resolved_.cend()) {
            const FolderSnapshot &read = folders_.folder(folder);
            Resolved r;
            if (read.error != 0) {
                r.error = read.error;
            } else {
                // Two texts may name one folder (a doubled separator, a link): one state for both.
                FolderState &state = states_[{read.device, read.inode}];
                if (!state.read)
                    state.read = &read;
                r.state = &state;
            }
            at = resolved_.insert(folder, r);
        }
        lastFolder_ = folder;
        last_ = *at;
        return last_;
    }

    // Who holds the name: an entry that got it earlier in the batch, an entry further down
    // that still has it, or a file outside the batch.
    QString takenBy(const FolderState &folder, const QString &name, int row)
    {
        if (const auto got = folder.given.constFind(name); got != folder.given.cend())
            return QStringLiteral("与") % entryText(*got) % QStringLiteral(" 的新名相同");
        for (int later = row + 1; later < entries_.size(); ++later) {
            if (!selected_[later] || GetRelPath(entries_[later]) != name)
                continue;
            if (resolve(GetDir(entries_[later])).state == &folder)
                return entryText(later) % QStringLiteral(" 还没改名，仍占用此名");
        }
        return QStringLiteral("已有同名的文件或文件夹（不在本批中）");
    }

    const QStringList &entries_;
    const QList<bool> &selected_;
    PreviewFolders &folders_;
    std::map<std::pair<quint64, quint64>, FolderState> states_;
    QHash<QString, Resolved> resolved_;
    QString lastFolder_;
    Resolved last_;
};

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
    Simulation simulation(entries, selected, folders);
    for (int row = 0; row < entries.size(); ++row) {
        if (!selected.value(row))
            continue;
        ++prediction.selected;
        RowPreview &preview = prediction.rows[row];
        if (prediction.failedRow >= 0) {
            preview.state = RowPreview::State::NotReached;
            continue;
        }
        const QString &src = entries[row];
        const TextResult number = runningNumber(fields, current, step);
        const TextResult target = number.ok() ? buildNewPath(src, fields, number.text) : number;
        std::optional<Failure> failure;
        if (!number.ok()) {
            failure = Failure{number.error.number, fieldsFinite ? QStringLiteral("序号超出了数的范围")
                                                                : QStringLiteral("起始值或差值不是有限的数")};
        } else if (!target.ok()) {
            failure = Failure{target.error.number, typedNameLeavesFolder(fields)
                                  ? QStringLiteral("新文件名或新后缀含有“/”，文件会离开所在文件夹")
                                  : QStringLiteral("文件名里没有“.”，取不到主文件名")};
        } else {
            preview.newName = target.text.mid(GetDir(src).size());
            failure = simulation.rename(src, target.text, row);
        }
        if (failure) {
            preview.state = RowPreview::State::Failed;
            preview.error = FsResult::fromErrno(failure->error);
            preview.reason = failure->reason;
            prediction.failedRow = row;
            continue;
        }
        preview.state = RowPreview::State::Renamed;
        ++prediction.renamed;
        current += step;
    }
    return prediction;
}

QString previewShortText(const RowPreview &row)
{
    switch (row.state) {
    case RowPreview::State::Renamed:
        return QStringLiteral("→ ") + row.newName;
    case RowPreview::State::Failed:
        return (row.newName.isEmpty() ? QString() : QStringLiteral("→ ") + row.newName + QStringLiteral("  "))
            + QStringLiteral("✗ ") + row.reason;
    case RowPreview::State::NotReached:
        return QStringLiteral("不会执行到");
    case RowPreview::State::None:
        break;
    }
    return QString();
}

QString previewDescription(const RowPreview &row)
{
    switch (row.state) {
    case RowPreview::State::Renamed:
        return QStringLiteral("新名：") + row.newName;
    case RowPreview::State::Failed:
        return QStringLiteral("将失败：") % row.reason % QStringLiteral("（错误 ")
            % QString::number(row.error.number) % QStringLiteral("）")
            % (row.newName.isEmpty() ? QString() : QStringLiteral("，新名：") + row.newName);
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
    const RowPreview &failed = prediction.rows[prediction.failedRow];
    return entryText(prediction.failedRow) % QStringLiteral(" 将失败（错误 ")
        % QString::number(failed.error.number) % QStringLiteral("）：") % failed.reason
        % QStringLiteral("；在此之前重命名 ") % QString::number(prediction.renamed) % QStringLiteral(" 项");
}
