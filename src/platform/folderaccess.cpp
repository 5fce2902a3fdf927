#include "platform/folderaccess.h"

#include <cerrno>
#include <dirent.h>

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
