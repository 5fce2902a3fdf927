#pragma once
#include <QString>
#include <optional>
std::optional<QString> readProfileString(const QString &file, const QString &section, const QString &key);
bool writeProfileString(const QString &file, const QString &section, const QString &key, const QString &value);
