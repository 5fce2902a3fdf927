#pragma once

#include <QString>

#include "platform/fsresult.h"

// Whether a folder can be opened and listed now (a volume that is not ready cannot).
FsResult openFolderForListing(const QString &folder);
