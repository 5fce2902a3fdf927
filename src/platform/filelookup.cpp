#include "platform/filelookup.h"

#include <QDir>
#include <QFileInfo>

#include "browse/patterns.h"

namespace {

bool isKind(const QFileInfo &info, LookupKind kind)
{
    if (kind == LookupKind::Any)
        return info.exists();
    return info.isFile() && !info.fileName().startsWith(u'.');
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
    if (!name.contains(u'*') && !name.contains(u'?'))
        return false;
    const NamePatterns patterns(name);
    QDir::Filters filters = QDir::Files | QDir::NoDotAndDotDot;
    if (kind == LookupKind::Any)
        filters |= QDir::Dirs | QDir::Hidden;
    const QDir folder = literal.dir();
    for (const QString &entry : folder.entryList(filters, QDir::NoSort)) {
        if (patterns.matches(entry) && isKind(QFileInfo(folder, entry), kind))
            return true;
    }
    return false;
}
