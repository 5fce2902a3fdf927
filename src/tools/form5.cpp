#include "tools/form5.h"

#include <climits>

#include <QAbstractTextDocumentLayout>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFutureWatcher>
#include <QMimeData>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QPromise>
#include <QReadWriteLock>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QThreadPool>
#include <QVBoxLayout>

#include "platform/desktop.h"
#include "tools/pagetext.h"
#include "tools/toolsinfo.h"

namespace {

const QString kLoadingCaption = QStringLiteral("正在获取，请稍后...");
const QString kDoneCaption = QStringLiteral("作者推荐");

// The longest the page may take to lay out at the window's width. Laying out happens again
// on the user-interface thread when the page is shown (and whenever the window is resized),
// so a page beyond this would freeze the window: a few nested tables, a very long word or
// some thousands of cells or images take the layout seconds.
constexpr qint64 kLayoutBudgetMs = 30;

using PageDocument = std::shared_ptr<QTextDocument>;

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

protected:
    // Text and markup only: the OpenDocument copy that Qt adds loads every image of the
    // selection by its name, from the disk.
    QMimeData *createMimeDataFromSelection() const override
    {
        const QTextDocumentFragment selection = textCursor().selection();
        auto *data = new QMimeData;
        data->setText(selection.toPlainText());
        data->setHtml(selection.toHtml());
        return data;
    }
};

// Pages are worked on by a thread of their own, one page at a time. The parser alone can take
// many seconds on a hostile page, and the program never waits for it, not even to end: a
// parse still running when it ends dies with the process. Laying text out, though, needs the
// window system's fonts, so that part holds windowSystem for reading; before the application
// takes the window system down (post routines run first) it takes the lock for writing, which
// waits for the layouts under way and lets no new one begin.
struct PageWork {
    QThreadPool pool;
    QReadWriteLock windowSystem;
    bool closing = false;   // written under windowSystem's write lock
};

PageWork &pageWork()
{
    static PageWork *work = [] {
        auto *w = new PageWork;   // never deleted: a parse may outlive everything else
        w->pool.setMaxThreadCount(1);
        qAddPostRoutine([] {
            QWriteLocker lock(&work->windowSystem);
            work->closing = true;
        });
        return w;
    }();
    return *work;
}

// The page as a document, in the view's font (made anew for each document, so that a font
// laid out with here shares nothing with the one shown). Images keep their place but lose
// their names: the text layout falls back to reading an image's name as a local file, past
// loadResource (a FIFO blocks it for good), and so does the rich-text copy to the clipboard.
void fillPage(QTextDocument &document, const QString &markup, const QString &fontName)
{
    QFont font;
    font.fromString(fontName);
    document.setUndoRedoEnabled(false);
    document.setDefaultFont(font);
    document.setHtml(markup);
    struct Image {
        int position;
        int length;
        QTextImageFormat format;
    };
    QList<Image> images;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment f = it.fragment();
            if (f.charFormat().isImageFormat())
                images.append({f.position(), f.length(), f.charFormat().toImageFormat()});
        }
    }
    QTextCursor cursor(&document);
    for (Image &image : images) {
        image.format.setName(QString());
        cursor.setPosition(image.position);
        cursor.setPosition(image.position + image.length, QTextCursor::KeepAnchor);
        cursor.setCharFormat(image.format);
    }
}

// Runs on the page thread: the document the window shows, handed to the thread target, or
// null when the page would take too long to lay out (or the window no longer wants it).
PageDocument preparePage(const QByteArray &page, const QByteArray &contentType, int width,
                         const QString &fontName, QThread *target,
                         const std::function<bool()> &canceled)
{
    const QString markup = pageParagraphs(page, contentType);
    QReadLocker lock(&pageWork().windowSystem);
    if (pageWork().closing || canceled())
        return nullptr;
    {
        InertDocument trial;
        fillPage(trial, markup, fontName);
        QElapsedTimer clock;
        clock.start();
        trial.setTextWidth(width);
        trial.size();   // lays the whole page out
        if (clock.elapsed() > kLayoutBudgetMs)
            return nullptr;
    }
    // Made afresh rather than the trial handed on: a laid-out document keeps font engines of
    // this thread, which end with it.
    PageDocument document(new InertDocument, [](QTextDocument *d) { d->deleteLater(); });
    fillPage(*document, markup, fontName);
    document->moveToThread(target);
    return document;
}

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
    // A fetch still running ends with the window and reports to no one, and so does work on
    // the page: a parse under way finishes, but nothing after it begins.
    job_.cancel();
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

void Form5::WebBrowser1_DocumentComplete(const QByteArray &page, const QByteArray &contentType)
{
    if (completions_ < SHRT_MAX)
        ++completions_;
    if (completions_ != 1 || shown_)
        return;
    // A hostile page takes long to read and to lay out, so that is done on another thread;
    // the window keeps answering meanwhile and may be closed, which drops the watcher and
    // with it the result.
    auto promise = std::make_shared<QPromise<PageDocument>>();
    auto *watcher = new QFutureWatcher<PageDocument>(this);
    connect(watcher, &QFutureWatcherBase::finished, this, [this, watcher] {
        const QFuture<PageDocument> done = watcher->future();
        showPage(done.resultCount() > 0 ? done.result() : nullptr);
        watcher->deleteLater();
    });
    job_ = promise->future();
    watcher->setFuture(job_);
    promise->start();
    pageWork().pool.start([promise, page, contentType, width = WebBrowser1->viewport()->width(),
                           font = WebBrowser1->font().toString(), target = thread()] {
        PageDocument document;
        try {
            document = preparePage(page, contentType, width, font, target,
                                   [&promise] { return promise->isCanceled(); });
        } catch (...) {
            // Out of memory on a hostile page: the window shows the error text.
        }
        promise->addResult(document);
        promise->finish();
    });
    page_.clear();
}

void Form5::deadlinePassed()
{
    // Whatever is still under way, the transfer or the work on the page, is given up.
    if (reply_) {
        reply_->disconnect(this);
        reply_->abort();
        reply_->deleteLater();
    }
    job_.cancel();
    showPage(nullptr);
}

// The page's document, or the error text when there is none.
void Form5::showPage(const PageDocument &document)
{
    if (shown_)
        return;
    shown_ = true;
    deadline_.stop();
    if (document) {
        shownPage_ = document;
        WebBrowser1->setDocument(document.get());
    } else {
        WebBrowser1->setHtml(PageErrorText);
    }
    setWindowTitle(kDoneCaption);
}

void Form5::linkClicked(const QUrl &link)
{
    const QUrl target = pageUrl_.resolved(link);
    // Only web addresses: a page must not make the desktop open local files or programs.
    if (target.scheme() == QLatin1String("http") || target.scheme() == QLatin1String("https"))
        desktop_.openUrl(target);
}
