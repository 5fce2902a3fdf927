#pragma once

#include <QString>

// Where FilePath.ini is kept: beside the executable, as it always was, when that folder can be
// written, so that a copy unpacked into a folder of the user's keeps its settings with it. An
// installed copy — a folder the user cannot write, a read-only mount, or anywhere under /usr,
// which is not written at run time even by root, who could — keeps the same file in the user's
// configuration folder, $XDG_CONFIG_HOME/quillmere/ (by default ~/.config/quillmere/).
QString settingsFilePath(const QString &appDir);

// Makes the folder that is to hold the settings file, when it is missing; folders made for it
// are the user's alone, as configuration folders should be.
bool makeSettingsFolder(const QString &iniPath);
