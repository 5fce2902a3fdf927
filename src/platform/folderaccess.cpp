#include "platform/folderaccess.h"

#include <QFile>

#include <cerrno>
#include <dirent.h>

FsResult openFolderForListing(const QString &folder)
{
    DIR *dir = ::opendir(QFile::encodeName(folder).constData());
    if (!dir)
        return FsResult::fromErrno(errno);
    ::closedir(dir);
    return FsResult::success();
}
