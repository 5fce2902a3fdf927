#pragma once

#include <QString>

// The program's own names, in one place.
namespace AppInfo {
inline const QString Title = QStringLiteral("Quillmere");               // title of untitled boxes
inline const QString WindowCaption = QStringLiteral("Quillmere1.7");
inline const QString SettingsFileName = QStringLiteral("FilePath.ini");
inline const QString SettingsSection = QStringLiteral("path");
inline const QString SettingsKey = QStringLiteral("value");
// Counts and indexes of both lists are 16-bit signed.
inline constexpr int MaxListEntries = 32767;
} // namespace AppInfo
