#include "rename/newname.h"

#include <QStringBuilder>

#include <cmath>

#include "app/numbers.h"

QString runningNumberText(double value)
{
    // Whole numbers, by far the usual ones, read the same in plain integer form, which costs a
    // fraction of the general 15-digit formatting.
    if (std::trunc(value) == value && std::fabs(value) < 1e15)
        return QString::number(qint64(value));
    return numberText(value);
}

TextResult buildNewPath(const QString &src, const NewNameFields &fields, const QString &number,
                        QChar sep)
{
    const QString extension = fields.extension.isEmpty() ? GetHouZhui(src) : fields.extension;
    if (!fields.baseName.isEmpty()) {
        const QString numberPart = fields.hasStart ? number : QString();
        return {GetDir(src, sep) % fields.baseName % numberPart % extension, FsResult::success()};
    }
    const TextResult bare = GetMidName(src, sep);
    if (!bare.ok())
        return bare;
    return {GetDir(src, sep) % bare.text % extension, FsResult::success()};
}
