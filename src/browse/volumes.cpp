#include "browse/volumes.h"

#include <QFileInfo>
#include <QStorageInfo>

#include <algorithm>

QStringList mountedVolumes()
{
    QStringList roots;
    for (const QStorageInfo &v : QStorageInfo::mountedVolumes()) {
        if (!v.isValid() || !v.isReady() || v.bytesTotal() <= 0)
            continue;
        const QString root = v.rootPath();
        if (!QFileInfo(root).isDir() || roots.contains(root))
            continue;
        roots << root;
    }
    if (!roots.contains(QStringLiteral("/")))
        roots << QStringLiteral("/");
    std::sort(roots.begin(), roots.end());
    return roots;
}

QString volumeOf(const QString &path, const QStringList &volumes)
{
    QString best = QStringLiteral("/");
    for (const QString &root : volumes) {
        const bool under = path == root
            || (path.startsWith(root) && (root.endsWith(u'/') || path.at(root.size()) == u'/'));
        if (under && root.size() > best.size())
            best = root;
    }
    return best;
}
