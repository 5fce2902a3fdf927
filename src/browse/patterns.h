#pragma once

#include <QList>
#include <QRegularExpression>
#include <QString>

// File-name patterns as the filter box takes them: wildcard patterns separated by ";",
// matched without regard to case. "*.*" matches every name, also names without a full stop.
class NamePatterns {
public:
    explicit NamePatterns(const QString &patterns);
    bool matches(const QString &name) const;

private:
    bool everything_ = false;
    QList<QRegularExpression> expressions_;
};
