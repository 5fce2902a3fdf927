#include "platform/filelookup.h"

#include <QDir>
#include <QFileInfo>

#include "browse/patterns.h"

namespace {

bool isKind(const QFileInfo &info, LookupKind kind)
{
    if (kind == LookupKind::Any)
        return info.exists();
    // Names starting with "." are this platform's hidden files, which a plain-file lookup skips.
    return info.isFile() && !info.fileName().startsWith(u'.');
}

bool hasWildcard(const QString &name)
{
    return name.contains(u'*') || name.contains(u'?');
}

} // namespace

bool findFirst(const QString &pattern, LookupKind kind)
{
    if (pattern.isEmpty() || pattern.endsWith(u'/'))
        return false;
    const QFileInfo literal(pattern);
    if (isKind(literal, kind))
        return true;
    const QString name = literal.fileName();
    if (!hasWildcard(name))
        return false;
    // Wildcards count in the name part only; a ";" there is part of the name, not a list.
    const NamePatterns patterns = NamePatterns::single(name);
    QDir::Filters filters = QDir::Files | QDir::NoDotAndDotDot;
    if (kind == LookupKind::Any)
        filters |= QDir::Dirs | QDir::Hidden | QDir::System;
    const QDir folder = literal.dir();
    // An unreadable or missing folder lists nothing, which is the "not found" we want.
    for (const QString &entry : folder.entryList(filters, QDir::NoSort)) {
        if (patterns.matches(entry) && isKind(QFileInfo(folder, entry), kind))
            return true;
    }
    return false;
}
