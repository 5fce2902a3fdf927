#include "browse/volumes.h"

#include <QFile>

#include <algorithm>
#include <sys/stat.h>
#include <sys/statvfs.h>

#include "platform/filenames.h"

namespace {

// A mount point as the kernel's mount table writes it: space, tab, line feed and backslash as
// a backslash and three octal digits, every other byte (a name that is not UTF-8 too) as it is.
QByteArray unescapedMountPoint(QByteArrayView field)
{
    QByteArray path;
    path.reserve(field.size());
    for (qsizetype i = 0; i < field.size(); ++i) {
        const auto isOctal = [&](qsizetype at) { return field[at] >= '0' && field[at] <= '7'; };
        if (field[i] == '\\' && i + 3 < field.size() && isOctal(i + 1) && isOctal(i + 2)
            && isOctal(i + 3)) {
            path += char(((field[i + 1] - '0') << 6) | ((field[i + 2] - '0') << 3) | (field[i + 3] - '0'));
            i += 3;
        } else {
            path += field[i];
        }
    }
    return path;
}

// A volume worth offering: a folder on a file system that holds something (pseudo file
// systems report no blocks), and none of the system's own (devices, processes, run-time state).
bool isOpenableVolume(const QByteArray &mountPoint)
{
    for (const char *system : {"/dev", "/proc", "/sys", "/var/run", "/var/lock"}) {
        if (mountPoint == system || mountPoint.startsWith(QByteArray(system) + '/'))
            return false;
    }
    struct statvfs fs {};
    struct stat st {};
    return ::statvfs(mountPoint.constData(), &fs) == 0 && fs.f_blocks > 0
        && ::stat(mountPoint.constData(), &st) == 0 && S_ISDIR(st.st_mode);
}

} // namespace

QStringList mountedVolumes()
{
    // Read from the mount table itself, so that a mount point whose name is not UTF-8 is named
    // exactly (Qt's volume list decodes it lossily).
    QStringList roots;
    QFile table(QStringLiteral("/proc/self/mountinfo"));
    if (table.open(QIODevice::ReadOnly)) {
        for (const QByteArray &line : table.readAll().split('\n')) {
            // mount ID, parent ID, major:minor, root, mount point, …
            const QList<QByteArray> fields = line.split(' ');
            if (fields.size() < 5)
                continue;
            const QByteArray mountPoint = unescapedMountPoint(fields[4]);
            if (!isOpenableVolume(mountPoint))
                continue;
            const QString root = decodeFileName(mountPoint);
            if (!roots.contains(root))
                roots << root;
        }
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
