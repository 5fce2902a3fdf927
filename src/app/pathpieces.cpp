#include "app/pathpieces.h"

#include "platform/filelookup.h"

#include <cerrno>

QString GetDir(const QString &p, QChar sep)
{
    return p.left(p.lastIndexOf(sep) + 1);
}

QString GetRelPath(const QString &p, QChar sep)
{
    return p.mid(p.lastIndexOf(sep) + 1);
}

QString GetHouZhui(const QString &p)
{
    const qsizetype dot = p.lastIndexOf(u'.');
    return dot < 0 ? QString() : p.mid(dot);
}

TextResult GetMidName(const QString &p, QChar sep)
{
    const QString name = GetRelPath(p, sep);
    const qsizetype dot = name.lastIndexOf(u'.');
    if (dot < 0)
        return {QString(), FsResult::fromErrno(EINVAL)};
    return {name.left(dot), FsResult::success()};
}

bool FileExists(const QString &p)
{
    return findFirst(p, LookupKind::Any);
}
