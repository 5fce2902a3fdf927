#include "app/profile.h"
std::optional<QString> readProfileString(const QString &, const QString &, const QString &) { return std::nullopt; }
bool writeProfileString(const QString &, const QString &, const QString &, const QString &) { return false; }
