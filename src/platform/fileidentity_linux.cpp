#include "platform/fileidentity.h"

#include <QHash>
#include <QHashFunctions>

#include <cstring>
#include <string>
#include <utility>
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

int openFolder(const QByteArray &folder)
{
    return ::open(folder.isEmpty() ? "." : folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
}

} // namespace

bool FolderIdentities::listingPays(const QByteArray &folder, qsizetype count)
{
    struct stat st;
    if (::stat(folder.isEmpty() ? "." : folder.constData(), &st) != 0)
        return true;   // the listing fails as the look-ups would
    return qint64(count) * 8 >= roughEntryCount(st);
}

FolderIdentities FolderIdentities::ofListing(const QByteArray &folder)
{
    FolderIdentities ids;
    const int fd = openFolder(folder);
    if (fd < 0)
        return ids;
    struct stat st;
    DIR *dir = ::fstat(fd, &st) == 0 ? ::fdopendir(fd) : nullptr;
    if (!dir) {
        ::close(fd);
        return ids;
    }
    ids.device_ = quint64(st.st_dev);
    // Half the rough count: most file systems' folders grow by more than 16 bytes an entry.
    ids.reserve(roughEntryCount(st) / 2);
    while (const dirent *entry = ::readdir(dir)) {
        const char *name = entry->d_name;
        if (name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0')))
            continue;
        ids.insert(qHash(QByteArrayView(name, qsizetype(std::strlen(name)))), entry->d_ino);
    }
    ::closedir(dir);
    return ids;
}

FolderIdentities FolderIdentities::ofNames(const QByteArray &folder, const QList<QByteArrayView> &names)
{
    FolderIdentities ids;
    const int fd = openFolder(folder);
    if (fd < 0)
        return ids;
    ids.reserve(names.size());
    std::string name;
    for (QByteArrayView n : names) {
        if (n.isEmpty())
            continue;
        name.assign(n.data(), size_t(n.size()));
        struct stat st;
        if (::fstatat(fd, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0) {
            ids.device_ = quint64(st.st_dev);
            ids.insert(qHash(n), quint64(st.st_ino));
        }
    }
    ::close(fd);
    return ids;
}

FolderIdentities FolderIdentities::read(const QByteArray &folder, const QList<QByteArrayView> &names)
{
    return listingPays(folder, names.size()) ? ofListing(folder) : ofNames(folder, names);
}

void FolderIdentities::reserve(qsizetype entries)
{
    // Linear probing stays quick up to three quarters full.
    size_t capacity = 16;
    while (capacity * 3 < size_t(entries) * 4)
        capacity *= 2;
    if (capacity <= slots_.size())
        return;
    std::vector<Slot> old = std::exchange(slots_, std::vector<Slot>(capacity));
    mask_ = capacity - 1;
    used_ = 0;
    for (const Slot &slot : old) {
        if (slot.inode != 0)
            insert(slot.hash, slot.inode);
    }
}

void FolderIdentities::insert(size_t hash, quint64 inode)
{
    if (inode == 0)
        return;
    if (size_t(used_ + 1) * 4 > slots_.size() * 3)
        reserve(2 * (used_ + 1));
    for (size_t at = hash & mask_;; at = (at + 1) & mask_) {
        Slot &slot = slots_[at];
        if (slot.inode == 0) {
            slot = {hash, inode};
            ++used_;
            return;
        }
        if (slot.hash == hash)
            return;   // the same name met twice
    }
}

FileIdentity FolderIdentities::find(QByteArrayView name) const
{
    if (slots_.empty() || name.isEmpty())
        return {};
    const size_t hash = qHash(name);
    for (size_t at = hash & mask_;; at = (at + 1) & mask_) {
        const Slot &slot = slots_[at];
        if (slot.inode == 0)
            return {};
        if (slot.hash == hash)
            return {device_, slot.inode};
    }
}

QList<FileIdentity> identitiesOfPaths(const QList<QByteArrayView> &paths)
{
    QList<FileIdentity> out(paths.size());
    const auto rowsIn = rowsByFolder<QByteArrayView>(paths);
    QList<QByteArrayView> names;
    for (auto it = rowsIn.cbegin(); it != rowsIn.cend(); ++it) {
        names.clear();
        names.reserve(it->size());
        for (qsizetype row : *it)
            names.append(paths[row].sliced(it.key().size()));
        const FolderIdentities ids = FolderIdentities::read(it.key().toByteArray(), names);
        for (qsizetype k = 0; k < it->size(); ++k)
            out[(*it)[k]] = ids.find(names[k]);
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
