#pragma once

#include <QString>

#include "platform/fsresult.h"

// Whether a folder can be opened and listed now (a volume that is not ready cannot).
FsResult openFolderForListing(const QString &folder);

// Whether new files can be made in a folder by this process now: its permissions for this
// user, and a read-only mount, which stops even root.
bool folderWritable(const QString &folder);
