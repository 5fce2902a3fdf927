#include "platform/direntries.h"

#include <QFile>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

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

bool isDotOrDotDot(const char *name)
{
    return name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'));
}

} // namespace

QList<DirEntry> readDirEntries(const QString &folder)
{
    QList<DirEntry> entries;
    DIR *dir = ::opendir(QFile::encodeName(folder).constData());
    if (!dir)
        return entries;
    const int fd = ::dirfd(dir);
    while (const dirent *entry = ::readdir(dir)) {
        if (isDotOrDotDot(entry->d_name))
            continue;
        entries.append({QFile::decodeName(entry->d_name), kindOf(fd, entry)});
    }
    ::closedir(dir);
    return entries;
}
