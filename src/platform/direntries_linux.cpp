#include "platform/direntries.h"

#include <QFile>

#include <cstring>
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

// Calls take(name, length, kind) for every entry but "." and "..", where wanted(name) picks
// the entries worth a look at their kind, so that skipped ones cost no stat.
template <typename Wanted, typename Take>
void forEachEntry(const QString &folder, Wanted wanted, Take take)
{
    DIR *dir = ::opendir(QFile::encodeName(folder).constData());
    if (!dir)
        return;
    const int fd = ::dirfd(dir);
    while (const dirent *entry = ::readdir(dir)) {
        if (isDotOrDotDot(entry->d_name) || !wanted(entry->d_name))
            continue;
        take(entry->d_name, std::strlen(entry->d_name), kindOf(fd, entry));
    }
    ::closedir(dir);
}

// File names are UTF-8 here, as QFile::decodeName takes them, but its general converter costs
// several times the direct decoding on a folder of thousands of names; invalid bytes come out
// the same either way.
QString decoded(const char *name, std::size_t length)
{
    return QString::fromUtf8(name, qsizetype(length));
}

} // namespace

QList<DirEntry> readDirEntries(const QString &folder)
{
    QList<DirEntry> entries;
    forEachEntry(
        folder, [](const char *) { return true; },
        [&](const char *name, std::size_t length, EntryKind kind) {
            entries.append({decoded(name, length), kind});
        });
    return entries;
}

QStringList readVisibleNames(const QString &folder, EntryKind kind)
{
    QStringList names;
    forEachEntry(
        folder, [](const char *name) { return name[0] != '.'; },
        [&](const char *name, std::size_t length, EntryKind entryKind) {
            if (entryKind == kind)
                names.append(decoded(name, length));
        });
    return names;
}
