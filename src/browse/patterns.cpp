#include "browse/patterns.h"

namespace {

// Only "*" and "?" are wildcards; every other character, brackets included, stands for itself.
QString wildcardExpression(const QString &piece)
{
    QString re;
    for (QChar c : piece) {
        if (c == u'*')
            re += QLatin1String(".*");
        else if (c == u'?')
            re += u'.';
        else
            re += QRegularExpression::escape(QString(c));
    }
    return QRegularExpression::anchoredPattern(re);
}

} // namespace

NamePatterns::NamePatterns(const QString &patterns)
{
    for (const QString &piece : patterns.split(u';', Qt::SkipEmptyParts)) {
        if (piece == QLatin1String("*.*") || piece == QLatin1String("*")) {
            everything_ = true;
            continue;
        }
        QRegularExpression re(wildcardExpression(piece),
                              QRegularExpression::CaseInsensitiveOption
                                  | QRegularExpression::DotMatchesEverythingOption);
        re.optimize();
        expressions_ << re;
    }
}

bool NamePatterns::matches(const QString &name) const
{
    if (everything_)
        return true;
    for (const QRegularExpression &re : expressions_) {
        if (re.match(name).hasMatch())
            return true;
    }
    return false;
}
