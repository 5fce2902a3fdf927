#pragma once

#include <QString>

// The outcome of one file-system step: an error number (errno) and the system's text for it.
struct FsResult {
    int number = 0;
    QString description;

    bool ok() const { return number == 0; }
    static FsResult success() { return {}; }
    static FsResult fromErrno(int err);
};

// "number\r\ndescription", the form in which failures are reported to the user.
QString reportText(const FsResult &r);
