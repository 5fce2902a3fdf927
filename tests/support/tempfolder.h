#pragma once

#include <QTemporaryDir>

// A temporary folder removed with everything in it at the end, names that are not UTF-8 too:
// Qt's own removal decodes the names it finds and cannot remove those.
class TempFolder : public QTemporaryDir {
public:
    using QTemporaryDir::QTemporaryDir;
    ~TempFolder();
    TempFolder(const TempFolder &) = delete;
    TempFolder &operator=(const TempFolder &) = delete;
};
