#include "browse/patterns.h"

#include <QVarLengthArray>

#include <string_view>

namespace {

using CodePoints = QVarLengthArray<char32_t, 128>;

// Case is ignored by comparing simple case foldings, one code point at a time. A name that is
// not text (bytes carried as lone surrogates) is compared unit by unit like any other: a
// regular expression engine would refuse such a subject and match nothing.
CodePoints foldedCodePoints(QStringView text)
{
    CodePoints out;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        char32_t c = text[i].unicode();
        if (QChar::isHighSurrogate(c) && i + 1 < n && text[i + 1].isLowSurrogate())
            c = QChar::surrogateToUcs4(char16_t(c), text[++i].unicode());
        out.append(QChar::toCaseFolded(c));
    }
    return out;
}

// Only "*" (any run) and "?" (one character) are wildcards; every other character, brackets
// included, stands for itself, as in the lookups of the platform the patterns come from.
// A "*" that fails to match from one point is retried one character further on, and only the
// last "*" is ever retried, which bounds the work by the product of the lengths.
bool wildcardMatch(std::u32string_view pattern, std::u32string_view name)
{
    std::size_t p = 0, s = 0, resume = 0;
    std::size_t star = std::u32string_view::npos;
    while (s < name.size()) {
        if (p < pattern.size() && pattern[p] == U'*') {
            star = p++;
            resume = s;
        } else if (p < pattern.size() && (pattern[p] == U'?' || pattern[p] == name[s])) {
            ++p;
            ++s;
        } else if (star != std::u32string_view::npos) {
            p = star + 1;
            s = ++resume;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == U'*')
        ++p;
    return p == pattern.size();
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
    // "*.*" means every file, also one without an extension; checking nothing for it keeps
    // the common default filter free.
    if (piece == QLatin1String("*.*") || piece == QLatin1String("*")) {
        everything_ = true;
        return;
    }
    const CodePoints folded = foldedCodePoints(piece);
    patterns_.append(std::u32string(folded.cbegin(), folded.cend()));
}

bool NamePatterns::matches(const QString &name) const
{
    if (everything_)
        return true;
    if (patterns_.isEmpty())
        return false;
    const CodePoints folded = foldedCodePoints(name);
    const std::u32string_view subject(folded.constData(), std::size_t(folded.size()));
    for (const std::u32string &pattern : patterns_) {
        if (wildcardMatch(pattern, subject))
            return true;
    }
    return false;
}
