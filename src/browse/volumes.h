#pragma once

#include <QString>
#include <QStringList>

// The volumes the user can open: the root and mounted media, each named by its mount path.
// Pseudo file systems of size zero, volumes that are not ready and mounts of single files
// are left out.
QStringList mountedVolumes();

// The volume that holds a path: the one whose mount path is its longest prefix, component
// by component. "/" when none matches.
QString volumeOf(const QString &path, const QStringList &volumes);
