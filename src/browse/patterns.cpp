#include "browse/patterns.h"

namespace {

// Only "*" and "?" are wildcards; every other character, brackets included, stands for itself,
// as in the lookups of the platform the patterns come from. Qt's own wildcard conversion would
// read "[...]" as a character set, hence the translation by hand.
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
    for (const QString &piece : patterns.split(u';', Qt::SkipEmptyParts))
        add(piece);
}

NamePatterns NamePatterns::single(const QString &pattern)
{
    NamePatterns p;
    if (!pattern.isEmpty())
        p.add(pattern);
    return p;
}

void NamePatterns::add(const QString &piece)
{
    // "*.*" means every file, also one without an extension; checking no expression for it
    // keeps the common default filter free.
    if (piece == QLatin1String("*.*") || piece == QLatin1String("*")) {
        everything_ = true;
        return;
    }
    QRegularExpression re(wildcardExpression(piece),
                          QRegularExpression::CaseInsensitiveOption
                              | QRegularExpression::DotMatchesEverythingOption);
    re.optimize();   // compiled once here, not on the first of thousands of names
    expressions_ << re;
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
