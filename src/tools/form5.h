#pragma once

#include <QByteArray>
#include <QFuture>
#include <QPointer>
#include <QTimer>
#include <QUrl>
#include <QWidget>

#include <memory>

class Desktop;
class QNetworkAccessManager;
class QNetworkReply;
class QTextBrowser;
class QTextDocument;

// The recommendation window: fetches the recommendation page and shows only what its
// paragraphs hold. A window of its own, without an owner; it deletes itself when closed.
class Form5 : public QWidget {
    Q_OBJECT

public:
    explicit Form5(Desktop &desktop);
    ~Form5() override;

    QTextBrowser *WebBrowser1 = nullptr;

    // A document has finished loading (the fetched page, or nothing when the fetch failed).
    // Only the first completion after the window was made is shown.
    void WebBrowser1_DocumentComplete(const QByteArray &page, const QByteArray &contentType);

private:
    void Form_Load();
    void replyReadyRead();
    void replyFinished();
    void deadlinePassed();
    void showPage(const std::shared_ptr<QTextDocument> &document);
    void linkClicked(const QUrl &link);

    Desktop &desktop_;
    QNetworkAccessManager *network_ = nullptr;
    QPointer<QNetworkReply> reply_;
    QByteArray page_;
    QUrl pageUrl_;
    qint16 completions_ = 0;
    QTimer deadline_;
    bool shown_ = false;
    std::shared_ptr<QTextDocument> shownPage_;
    QFuture<std::shared_ptr<QTextDocument>> job_;
};
