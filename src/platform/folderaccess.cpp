#include "platform/folderaccess.h"

#include <QFile>

#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

FsResult openFolderForListing(const QString &folder)
{
    DIR *dir = ::opendir(QFile::encodeName(folder).constData());
    if (!dir)
        return FsResult::fromErrno(errno);
    ::closedir(dir);
    return FsResult::success();
}

bool folderWritable(const QString &folder)
{
    return !folder.isEmpty()
        && ::faccessat(AT_FDCWD, QFile::encodeName(folder).constData(), W_OK | X_OK, AT_EACCESS) == 0;
}
