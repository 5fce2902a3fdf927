#include "platform/direntries.h"

#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/filenames.h"

namespace {

EntryKind kindOfMode(mode_t mode)
{
    if (S_ISREG(mode))
        return EntryKind::File;
    if (S_ISDIR(mode))
        return EntryKind::Folder;
    return EntryKind::Other;
}

// The kind the directory entry itself tells; only links and file systems that leave the
// type unknown cost a stat.
EntryKind kindOf(int folderFd, const dirent *entry)
{
    switch (entry->d_type) {
    case DT_REG:
        return EntryKind::File;
    case DT_DIR:
        return EntryKind::Folder;
    case DT_LNK:
    case DT_UNKNOWN: {
        struct stat st;
        if (::fstatat(folderFd, entry->d_name, &st, 0) != 0)
            return EntryKind::Other;  // a dangling link, or gone meanwhile
        return kindOfMode(st.st_mode);
    }
    default:
        return EntryKind::Other;
    }
}


} // namespace

QStringList readVisibleNames(const QString &folder, EntryKind kind)
{
    QStringList names;
    const std::optional<QByteArray> path = kernelPath(folder);
    DIR *dir = path ? ::opendir(path->constData()) : nullptr;
    if (!dir)
        return names;
    const int fd = ::dirfd(dir);
    while (const dirent *entry = ::readdir(dir)) {
        // Hidden names, "." and ".." among them, are skipped before they cost a stat.
        if (entry->d_name[0] != '.' && kindOf(fd, entry) == kind)
            names.append(decodeFileName(entry->d_name));
    }
    ::closedir(dir);
    return names;
}

FolderNames readAllNames(const QString &folder)
{
    FolderNames result;
    // A folder that is not absolute is refused, as the file operations refuse its files.
    const std::optional<QByteArray> path = kernelPath(folder);
    DIR *dir = path ? ::opendir(path->constData()) : nullptr;
    if (!dir) {
        result.error = path ? errno : EINVAL;
        return result;
    }
    const int fd = ::dirfd(dir);
    struct stat st;
    if (::fstat(fd, &st) == 0) {
        result.device = st.st_dev;
        result.inode = st.st_ino;
    }
    const long nameMax = ::fpathconf(fd, _PC_NAME_MAX);
    if (nameMax > 0)
        result.nameMax = int(qMin<long>(nameMax, 1 << 20));
    while (const dirent *entry = ::readdir(dir))
        result.names.append(decodeFileName(entry->d_name));
    ::closedir(dir);
    return result;
}

QString workingFolder()
{
    QByteArray path(4096, Qt::Uninitialized);
    while (::getcwd(path.data(), size_t(path.size())) == nullptr) {
        if (errno != ERANGE)
            return {};
        path.resize(path.size() * 2);
    }
    return decodeFileName(path.data());
}
