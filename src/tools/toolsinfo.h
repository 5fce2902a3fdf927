#pragma once

#include <QString>
#include <QUrl>

// The addresses and the credit line of the help menu, in one place.
namespace ToolsInfo {

// The author credit of the About box.
QString authorCredit();
// Opened in the user's browser by 访问主页.
QUrl homepageUrl();
// Fetched into the recommendation window.
QUrl recommendationUrl();

// How much of the recommendation page is read, and for how long: the page is someone
// else's, so neither a stalled server nor an endless body may keep the window waiting.
struct PageLimits {
    int transferTimeoutMs = 15000;       // no data for this long ends the fetch
    // A larger page is not read. The page is a few paragraphs; the HTML parser's time grows
    // with the square of nested formatting tags, so a hostile page this size still parses
    // in about a second, while one of a few MiB takes minutes or overflows its stack.
    qint64 maxBytes = 256 * 1024;
    int maxRedirects = 5;
    // The window shows the error text if the page is not shown by then, however slowly its
    // server keeps sending.
    int deadlineMs = 30000;
};
PageLimits pageLimits();

// The program itself never calls these; they let a test point the menu at a server of its
// own and shorten the limits.
void setHomepageUrl(const QUrl &url);
void setRecommendationUrl(const QUrl &url);
void setPageLimits(const PageLimits &limits);

} // namespace ToolsInfo
