#include "platform/statefolder.h"

#include <QDir>

QString appStateFolder()
{
    // A relative XDG_STATE_HOME is to be ignored, as the base directory rules say.
    QString base = qEnvironmentVariable("XDG_STATE_HOME");
    if (base.isEmpty() || !base.startsWith(u'/'))
        base = QDir::homePath() + QStringLiteral("/.local/state");
    return base + QStringLiteral("/quillmere");
}
