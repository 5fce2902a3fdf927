#include "platform/filelookup.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

namespace {

// Only * and ? are wildcards; every other character, brackets included, stands for itself.
QRegularExpression nameMatcher(const QString &wildcard)
{
    QString re;
    for (QChar c : wildcard) {
        if (c == u'*')
            re += QLatin1String(".*");
        else if (c == u'?')
            re += u'.';
        else
            re += QRegularExpression::escape(QString(c));
    }
    return QRegularExpression(QRegularExpression::anchoredPattern(re),
                              QRegularExpression::CaseInsensitiveOption
                                  | QRegularExpression::DotMatchesEverythingOption);
}

bool counts(const QFileInfo &info, LookupKind kind)
{
    if (!info.exists())
        return false;
    if (kind == LookupKind::Any)
        return true;
    // Hidden files are those whose names start with a full stop.
    return info.isFile() && !info.fileName().startsWith(u'.');
}

} // namespace

bool findFirst(const QString &pattern, LookupKind kind)
{
    if (pattern.isEmpty() || pattern.contains(QChar(0)))
        return false;
    const qsizetype slash = pattern.lastIndexOf(u'/');
    const QString name = pattern.mid(slash + 1);
    if (!name.contains(u'*') && !name.contains(u'?'))
        return counts(QFileInfo(pattern), kind);

    const QString folder = slash < 0 ? QStringLiteral(".") : pattern.left(slash + 1);
    // "*.*" means every name, also those without an extension.
    const QString wildcard = name == QLatin1String("*.*") ? QStringLiteral("*") : name;
    const QRegularExpression re = nameMatcher(wildcard);
    const QDir dir(folder);
    const QDir::Filters filters = kind == LookupKind::PlainFiles
        ? QDir::Files | QDir::NoDotAndDotDot
        : QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot;
    const QStringList names = dir.entryList(filters, QDir::NoSort);
    for (const QString &candidate : names) {
        if (re.match(candidate).hasMatch()
            && (kind == LookupKind::Any || counts(QFileInfo(dir.filePath(candidate)), kind)))
            return true;
    }
    return false;
}
