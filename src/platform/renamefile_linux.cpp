#include "platform/renamefile.h"

#include <QFile>

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

FsResult renameNoReplace(const QString &from, const QString &to)
{
    if (from == to)
        return FsResult::success();
    const QByteArray src = QFile::encodeName(from);
    const QByteArray dst = QFile::encodeName(to);
    if (::renameat2(AT_FDCWD, src.constData(), AT_FDCWD, dst.constData(), RENAME_NOREPLACE) == 0)
        return FsResult::success();
    const int err = errno;
    if (err != EINVAL && err != ENOSYS && err != EOPNOTSUPP)
        return FsResult::fromErrno(err);
    // The file system does not take the flag: a hard link fails on an existing target just
    // as atomically; the old name is removed once the new one is in place.
    if (::link(src.constData(), dst.constData()) != 0)
        return FsResult::fromErrno(errno);
    if (::unlink(src.constData()) != 0) {
        const int unlinkErr = errno;
        ::unlink(dst.constData());
        return FsResult::fromErrno(unlinkErr);
    }
    return FsResult::success();
}
