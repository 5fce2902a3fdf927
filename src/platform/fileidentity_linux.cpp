#include "platform/fileidentity.h"

#include <QHash>
#include <QHashFunctions>

#include <cstring>
#include <string>
#include <vector>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

FileIdentity identityOfStat(const struct stat &st)
{
    return {quint64(st.st_dev), quint64(st.st_ino)};
}

// A directory's size grows with its entries on the usual file systems (ext4 and xfs keep
// blocks of entries, tmpfs counts 20 bytes each, btrfs sums name lengths): a rough count is
// enough to choose between reading the whole listing and a look-up per name.
qint64 roughEntryCount(const struct stat &folder)
{
    return qint64(folder.st_size) / 16;
}

void lookUpEach(int folderFd, const QList<QByteArrayView> &names, QList<FileIdentity> &out)
{
    std::string name;
    for (qsizetype i = 0; i < names.size(); ++i) {
        if (names[i].isEmpty())
            continue;
        name.assign(names[i].data(), size_t(names[i].size()));
        struct stat st;
        if (::fstatat(folderFd, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0)
            out[i] = identityOfStat(st);
    }
}

// The names asked for, in an open-addressed table of their hashes: a folder's listing is
// matched against it entry by entry, and each probe touches one small slot rather than the
// names' bytes scattered through memory. Two names of one folder with the same 64-bit hash
// would at worst give one the other's inode, which an undo then refuses as a file replaced
// since.
class NameTable {
public:
    explicit NameTable(const QList<QByteArrayView> &names)
    {
        size_t capacity = 16;
        while (capacity < size_t(names.size()) * 2)
            capacity *= 2;
        mask_ = capacity - 1;
        slots_.assign(capacity, Slot{});
        for (qsizetype i = 0; i < names.size(); ++i) {
            if (names[i].isEmpty())
                continue;
            const size_t hash = qHash(names[i]);
            for (size_t at = hash & mask_;; at = (at + 1) & mask_) {
                Slot &slot = slots_[at];
                if (slot.row < 0) {
                    slot = {hash, i};
                    break;
                }
                if (slot.hash == hash) {
                    // The same name asked for again (a list may name a file twice).
                    if (nextSame_.empty())
                        nextSame_.assign(size_t(names.size()), -1);
                    qsizetype last = slot.row;
                    while (nextSame_[size_t(last)] >= 0)
                        last = nextSame_[size_t(last)];
                    nextSame_[size_t(last)] = i;
                    break;
                }
            }
        }
    }
    // The first row asking for the name, or -1.
    qsizetype find(QByteArrayView name) const
    {
        const size_t hash = qHash(name);
        for (size_t at = hash & mask_;; at = (at + 1) & mask_) {
            const Slot &slot = slots_[at];
            if (slot.row < 0 || slot.hash == hash)
                return slot.row;
        }
    }
    qsizetype nextSame(qsizetype row) const
    {
        return nextSame_.empty() ? -1 : nextSame_[size_t(row)];
    }

private:
    struct Slot {
        size_t hash = 0;
        qsizetype row = -1;
    };
    std::vector<Slot> slots_;
    std::vector<qsizetype> nextSame_;
    size_t mask_ = 0;
};

void lookUpInListing(int folderFd, quint64 device, const QList<QByteArrayView> &names,
                     QList<FileIdentity> &out)
{
    const NameTable table(names);
    const int dupFd = ::dup(folderFd);
    if (dupFd < 0)
        return;
    DIR *dir = ::fdopendir(dupFd);
    if (!dir) {
        ::close(dupFd);
        return;
    }
    FileIdentity *found = out.data();
    while (const dirent *entry = ::readdir(dir)) {
        const QByteArrayView name(entry->d_name, qsizetype(std::strlen(entry->d_name)));
        for (qsizetype i = table.find(name); i >= 0; i = table.nextSame(i))
            found[i] = {device, quint64(entry->d_ino)};
    }
    ::closedir(dir);
}

} // namespace

QList<FileIdentity> identitiesInFolder(const QByteArray &folder, const QList<QByteArrayView> &names)
{
    QList<FileIdentity> out(names.size());
    if (names.isEmpty())
        return out;
    const int fd = ::open(folder.isEmpty() ? "." : folder.constData(),
                          O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return out;
    struct stat st;
    if (::fstat(fd, &st) == 0) {
        if (qint64(names.size()) * 8 < roughEntryCount(st))
            lookUpEach(fd, names, out);
        else
            lookUpInListing(fd, quint64(st.st_dev), names, out);
    }
    ::close(fd);
    return out;
}

QList<FileIdentity> identitiesOfPaths(const QList<QByteArrayView> &paths)
{
    if (paths.isEmpty())
        return {};
    const auto nameStart = [](QByteArrayView p) { return p.lastIndexOf('/') + 1; };
    const auto folderOf = [&](QByteArrayView p) { return p.first(nameStart(p)); };
    const auto nameOf = [&](QByteArrayView p) { return p.sliced(nameStart(p)); };
    // The usual batch: one folder.
    const QByteArrayView first = folderOf(paths[0]);
    QList<QByteArrayView> names;
    names.reserve(paths.size());
    for (QByteArrayView p : paths) {
        if (folderOf(p) != first)
            break;
        names.append(nameOf(p));
    }
    if (names.size() == paths.size())
        return identitiesInFolder(first.toByteArray(), names);

    QHash<QByteArray, QList<int>> byFolder;
    QByteArrayView lastFolder;
    QList<int> *rows = nullptr;
    for (int i = 0; i < paths.size(); ++i) {
        const QByteArrayView folder = folderOf(paths[i]);
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
            names.append(nameOf(paths[i]));
        const QList<FileIdentity> found = identitiesInFolder(it.key(), names);
        for (qsizetype k = 0; k < it->size(); ++k)
            out[(*it)[k]] = found[k];
    }
    return out;
}

FileFacts factsOf(const QByteArray &path)
{
    FileFacts facts;
    struct stat st;
    if (path.isEmpty() || ::lstat(path.constData(), &st) != 0)
        return facts;
    facts.identity = identityOfStat(st);
    facts.regular = S_ISREG(st.st_mode);
    facts.size = qint64(st.st_size);
    facts.modifiedNs = qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    return facts;
}

quint64 folderDevice(const QByteArray &folder)
{
    struct stat st;
    if (::stat(folder.isEmpty() ? "." : folder.constData(), &st) != 0 || !S_ISDIR(st.st_mode))
        return 0;
    return quint64(st.st_dev);
}
