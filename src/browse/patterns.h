#pragma once

#include <QList>
#include <QString>

#include <string>

// File-name patterns as the filter box takes them: wildcard patterns separated by ";",
// matched without regard to case. "*.*" matches every name, also names without a full stop.
class NamePatterns {
public:
    explicit NamePatterns(const QString &patterns);
    // One pattern taken whole, ";" included, as a path lookup takes its name part.
    static NamePatterns single(const QString &pattern);

    bool matches(const QString &name) const;

private:
    NamePatterns() = default;
    void add(const QString &piece);

    bool everything_ = false;
    QList<std::u32string> patterns_;  // case folded, one code point per character
};
