#include "rename/newname.h"

#include <QStringBuilder>

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
