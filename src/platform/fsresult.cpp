#include "platform/fsresult.h"

#include <cstring>

FsResult FsResult::fromErrno(int err)
{
    // strerror speaks the user's language where the system has a catalogue for it.
    return FsResult{err, QString::fromLocal8Bit(std::strerror(err))};
}

QString reportText(const FsResult &r)
{
    return QString::number(r.number) + QStringLiteral("\r\n") + r.description;
}
