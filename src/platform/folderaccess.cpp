#include "platform/folderaccess.h"

#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/filenames.h"

FsResult openFolderForListing(const QString &folder)
{
    const std::optional<QByteArray> path = kernelPath(folder);
    if (!path)
        return FsResult::fromErrno(EINVAL);
    DIR *dir = ::opendir(path->constData());
    if (!dir)
        return FsResult::fromErrno(errno);
    ::closedir(dir);
    return FsResult::success();
}

bool folderWritable(const QString &folder)
{
    const std::optional<QByteArray> path = kernelPath(folder);
    return path && ::faccessat(AT_FDCWD, path->constData(), W_OK | X_OK, AT_EACCESS) == 0;
}

bool isFolder(const QString &path)
{
    const std::optional<QByteArray> bytes = kernelPath(path);
    struct stat st {};
    return bytes && ::stat(bytes->constData(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool makeFolders(const QString &folder)
{
    const std::optional<QByteArray> bytes = kernelPath(folder);
    if (!bytes)
        return false;
    QByteArray path = *bytes;
    while (path.size() > 1 && path.endsWith('/'))
        path.chop(1);
    // Each folder on the way, from the top; one that is there already is left as it is.
    for (qsizetype slash = path.indexOf('/', 1); ; slash = path.indexOf('/', slash + 1)) {
        const QByteArray step = slash < 0 ? path : path.left(slash);
        if (::mkdir(step.constData(), 0700) != 0 && errno != EEXIST)
            return false;
        if (slash < 0)
            break;
    }
    return isFolder(folder);
}

QString executableFolder()
{
    QByteArray path(4096, Qt::Uninitialized);
    for (;;) {
        const ssize_t n = ::readlink("/proc/self/exe", path.data(), size_t(path.size()));
        if (n < 0)
            return {};
        if (n < path.size()) {
            path.truncate(n);
            break;
        }
        path.resize(path.size() * 2);
    }
    const qsizetype slash = path.lastIndexOf('/');
    return decodeFileName(slash <= 0 ? QByteArray("/") : path.left(slash));
}

QString environmentPath(const char *name)
{
    return decodeFileName(qgetenv(name));
}
