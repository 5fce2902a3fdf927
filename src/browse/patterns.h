#pragma once
#include <QString>
class NamePatterns { public: explicit NamePatterns(const QString &) {} bool matches(const QString &) const { return true; } };
