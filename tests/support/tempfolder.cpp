#include "tempfolder.h"

#include <QFile>

#include <ftw.h>
#include <stdio.h>

namespace {

int removeOne(const char *path, const struct stat *, int, FTW *)
{
    ::remove(path);
    return 0;
}

} // namespace

TempFolder::~TempFolder()
{
    // The folder's path is the program's own and valid UTF-8; the names inside may not be.
    if (isValid() && autoRemove())
        ::nftw(QFile::encodeName(path()).constData(), removeOne, 16, FTW_DEPTH | FTW_PHYS);
}
