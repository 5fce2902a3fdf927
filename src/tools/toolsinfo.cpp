#include "tools/toolsinfo.h"

#include "app/appinfo.h"

namespace {

QUrl &homepage()
{
    static QUrl url(QStringLiteral("https://quillmere.org/"));
    return url;
}

QUrl &recommendation()
{
    static QUrl url(QStringLiteral("https://quillmere.org/recommend.html"));
    return url;
}

ToolsInfo::PageLimits &limits()
{
    static ToolsInfo::PageLimits l;
    return l;
}

} // namespace

namespace ToolsInfo {

QString authorCredit()
{
    return AppInfo::WindowCaption + QStringLiteral("  作者：Quillmere 开发组");
}

QUrl homepageUrl() { return homepage(); }
QUrl recommendationUrl() { return recommendation(); }
PageLimits pageLimits() { return limits(); }

void setHomepageUrl(const QUrl &url) { homepage() = url; }
void setRecommendationUrl(const QUrl &url) { recommendation() = url; }
void setPageLimits(const PageLimits &l) { limits() = l; }

} // namespace ToolsInfo
