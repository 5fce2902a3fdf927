#include "platform/renamefile.h"

#include <QFile>

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

RenameNoReplaceCall overrideCall = nullptr;

int kernelRenameNoReplace(const char *from, const char *to)
{
    if (overrideCall)
        return overrideCall(from, to);
    return ::renameat2(AT_FDCWD, from, AT_FDCWD, to, RENAME_NOREPLACE);
}

} // namespace

void setRenameNoReplaceCallForTests(RenameNoReplaceCall call)
{
    overrideCall = call;
}

FsResult renameNoReplace(const QString &from, const QString &to)
{
    return renameNoReplaceBytes(QFile::encodeName(from), QFile::encodeName(to));
}

FsResult renameNoReplaceBytes(const QByteArray &src, const QByteArray &dst)
{
    if (src == dst) {
        // The kernel would report the target as existing; the name is simply kept, as long
        // as there is a file to keep it.
        struct stat st;
        return ::lstat(src.constData(), &st) == 0 ? FsResult::success()
                                                  : FsResult::fromErrno(errno);
    }
    if (kernelRenameNoReplace(src.constData(), dst.constData()) == 0)
        return FsResult::success();
    const int err = errno;
    if (err != EINVAL && err != ENOSYS && err != EOPNOTSUPP)
        return FsResult::fromErrno(err);
    // The file system does not take the flag: a hard link fails on an existing target just
    // as atomically; the old name is removed once the new one is in place.
    if (::link(src.constData(), dst.constData()) != 0) {
        const int linkErr = errno;
        // Folders cannot be linked (EPERM); the flag's own refusal says more.
        return FsResult::fromErrno(linkErr == EPERM ? err : linkErr);
    }
    if (::unlink(src.constData()) != 0) {
        const int unlinkErr = errno;
        ::unlink(dst.constData());
        return FsResult::fromErrno(unlinkErr);
    }
    return FsResult::success();
}
