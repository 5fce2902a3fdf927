#include "tools/form5.h"

#include <climits>

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTextBrowser>
#include <QTextDocument>
#include <QVBoxLayout>

#include "platform/desktop.h"
#include "tools/pagetext.h"
#include "tools/toolsinfo.h"

namespace {

const QString kLoadingCaption = QStringLiteral("正在获取，请稍后...");
const QString kDoneCaption = QStringLiteral("作者推荐");

// The page is someone else's: its images, style sheets and other resources are never
// fetched, neither from the disk nor from the web. QTextDocument would otherwise read any
// local file a page names, even when the view declines to load it.
class InertDocument final : public QTextDocument {
public:
    using QTextDocument::QTextDocument;

protected:
    QVariant loadResource(int, const QUrl &) override { return QVariant(); }
};

class PageView final : public QTextBrowser {
public:
    using QTextBrowser::QTextBrowser;

    QVariant loadResource(int, const QUrl &) override { return QVariant(); }
};

} // namespace

Form5::Form5(Desktop &desktop) : QWidget(nullptr), desktop_(desktop)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(kLoadingCaption);

    auto *view = new PageView(this);
    view->setDocument(new InertDocument(view));
    // Links leave for the user's browser; the window itself never navigates.
    view->setOpenLinks(false);
    view->setOpenExternalLinks(false);
    connect(view, &QTextBrowser::anchorClicked, this, &Form5::linkClicked);
    WebBrowser1 = view;

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(WebBrowser1);
    resize(6480 / 15, 3870 / 15);

    network_ = new QNetworkAccessManager(this);
    Form_Load();
}

Form5::~Form5()
{
    // A fetch still running ends with the window and reports to no one.
    if (reply_) {
        reply_->disconnect(this);
        reply_->abort();
    }
}

void Form5::Form_Load()
{
    completions_ = 0;
    const ToolsInfo::PageLimits limits = ToolsInfo::pageLimits();
    QNetworkRequest request(ToolsInfo::recommendationUrl());
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::NoLessSafeRedirectPolicy);
    request.setMaximumRedirectsAllowed(limits.maxRedirects);
    request.setTransferTimeout(limits.transferTimeoutMs);
    reply_ = network_->get(request);
    connect(reply_, &QNetworkReply::readyRead, this, &Form5::replyReadyRead);
    connect(reply_, &QNetworkReply::finished, this, &Form5::replyFinished);
    // The transfer time-out starts again with every byte: a server sending one now and then
    // would keep the window waiting without end.
    deadline_.setSingleShot(true);
    connect(&deadline_, &QTimer::timeout, this, &Form5::deadlinePassed);
    deadline_.start(limits.deadlineMs);
}

void Form5::replyReadyRead()
{
    // Reads as the data comes, so that an endless body is cut off at the limit instead of
    // being gathered in memory first.
    if (page_.size() + reply_->bytesAvailable() > ToolsInfo::pageLimits().maxBytes) {
        page_.clear();
        reply_->abort();   // finishes with an error, which shows the error text
        return;
    }
    page_ += reply_->readAll();
}

void Form5::replyFinished()
{
    QNetworkReply *reply = reply_;
    reply->deleteLater();
    if (reply->error() != QNetworkReply::NoError) {
        WebBrowser1_DocumentComplete(QByteArray(), QByteArray());
        return;
    }
    replyReadyRead();
    pageUrl_ = reply->url();
    const QByteArray type = reply->header(QNetworkRequest::ContentTypeHeader).toByteArray();
    WebBrowser1_DocumentComplete(page_, type);
}

void Form5::deadlinePassed()
{
    // The transfer still under way is given up, as if it had failed.
    if (reply_) {
        reply_->disconnect(this);
        reply_->abort();
        reply_->deleteLater();
    }
    WebBrowser1_DocumentComplete(QByteArray(), QByteArray());
}

void Form5::WebBrowser1_DocumentComplete(const QByteArray &page, const QByteArray &contentType)
{
    if (completions_ < SHRT_MAX)
        ++completions_;
    if (completions_ != 1)
        return;
    deadline_.stop();
    WebBrowser1->setHtml(pageParagraphs(page, contentType));
    setWindowTitle(kDoneCaption);
    page_.clear();
}

void Form5::linkClicked(const QUrl &link)
{
    const QUrl target = pageUrl_.resolved(link);
    // Only web addresses: a page must not make the desktop open local files or programs.
    if (target.scheme() == QLatin1String("http") || target.scheme() == QLatin1String("https"))
        desktop_.openUrl(target);
}
