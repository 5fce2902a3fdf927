// The tools and help menus through the real windows: the recommendation window against a
// server of the test's own on 127.0.0.1, the launcher on real folders, the display commands;
// and the paragraphs of a fetched page, as the recommendation window shows them.
#include <QScopeGuard>
#include <QTextBrowser>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <thread>

#include "pageserver.h"
#include "platform/displaypower.h"
#include "platform/filenames.h"
#include "platform/processstart.h"
#include "testwindow.h"
#include "tools/form3.h"
#include "tools/form5.h"
#include "tools/pagetext.h"
#include "tools/toolsinfo.h"

using namespace Qt::StringLiterals;

namespace {

using Call = FakeDesktop::Call;
const QString kLoading = u"正在获取，请稍后..."_s;
const QString kDone = u"作者推荐"_s;

template <typename W>
W *openWindow()
{
    for (QWidget *w : QApplication::topLevelWidgets())
        if (auto *f = qobject_cast<W *>(w); f && f->isVisible())
            return f;
    return nullptr;
}

Form5 *openPage(TestWindow &w)
{
    w->mnTuijian->trigger();
    return openWindow<Form5>();
}

bool fetched(Form5 *f)
{
    return f && QTest::qWaitFor([f] { return f->windowTitle() == kDone; }, 5000);
}

QString shownText(Form5 *f)
{
    return f->WebBrowser1->toPlainText().simplified();
}

// Runs the event loop until done() and 300 ms more (the layout goes on in steps, the page is
// painted), and returns the longest the loop went without turning, as a zero timer sees it.
qint64 longestStall(const std::function<bool()> &done, int timeoutMs)
{
    QEventLoop loop;
    QElapsedTimer clock;
    qint64 last = 0, longest = 0, doneAt = timeoutMs;
    QTimer tick;
    QObject::connect(&tick, &QTimer::timeout, [&] {
        longest = qMax(longest, clock.elapsed() - last);
        last = clock.elapsed();
        if (doneAt == timeoutMs && done())
            doneAt = last;
        if (last > qMin<qint64>(doneAt + 300, timeoutMs))
            loop.quit();
    });
    clock.start();
    tick.start(0);
    loop.exec();
    return longest;
}

void setMode(const QString &path, mode_t mode)
{
    ::chmod(encodeFileName(path).constData(), mode);
}

} // namespace

class TstTools : public QObject {
    Q_OBJECT

    PageServer server;

    void serve(const QByteArray &page) { server.answer(u"/recommend"_s, {PageServer::Kind::Page, page, "text/html"}); }

private Q_SLOTS:
    void init()
    {
        server.requests.clear();
        ToolsInfo::setRecommendationUrl(server.url(u"/recommend"_s));
        ToolsInfo::setPageLimits({1500, 64 * 1024, 3, 3000});
    }

    // The windows have no owner: close what a test left open.
    void cleanup()
    {
        for (QWidget *w : QApplication::topLevelWidgets())
            if (qobject_cast<Form3 *>(w) || qobject_cast<Form5 *>(w))
                w->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    // One window, one fetch: opening it again shows it as it is, and a late completion changes
    // nothing. (A new window fetches anew: below.)
    void pageIsFetchedOncePerWindow()
    {
        serve("<html><h1>T</h1><p>Alpha</p><p>Beta</p>");
        TestWindow w;
        QPointer<Form5> f = openPage(w);
        QVERIFY(f);
        QCOMPARE(f->windowTitle(), kLoading);
        QVERIFY(fetched(f));
        QCOMPARE(shownText(f), u"Alpha Beta"_s);
        f->WebBrowser1_DocumentComplete("<p>Second</p>", "text/html");
        QCOMPARE(openPage(w), f.data());
        QCOMPARE(shownText(f), u"Alpha Beta"_s);
        QCOMPARE(server.requests, QStringList{u"/recommend"_s});
    }

    void failuresShowTheErrorText_data()
    {
        QTest::addColumn<int>("kind");   // -1: nobody listens at the address
        QTest::newRow("no paragraph") << int(PageServer::Kind::Page);
        QTest::newRow("not found, with a paragraph") << int(PageServer::Kind::NotFound);
        QTest::newRow("redirects without end") << int(PageServer::Kind::RedirectLoop);
        QTest::newRow("body without end") << int(PageServer::Kind::Endless);
        QTest::newRow("server never answers") << int(PageServer::Kind::Silent);
        QTest::newRow("one byte a second") << int(PageServer::Kind::Dribble);
        QTest::newRow("unreachable address") << -1;
    }

    void failuresShowTheErrorText()
    {
        QFETCH(int, kind);
        QTcpServer closed;
        if (kind < 0) {
            QVERIFY(closed.listen(QHostAddress::LocalHost, 0));
            ToolsInfo::setRecommendationUrl(QUrl(u"http://127.0.0.1:%1/"_s.arg(closed.serverPort())));
            closed.close();
        } else {
            server.answer(u"/recommend"_s, {PageServer::Kind(kind), "<div>x</div>", "text/html"});
        }
        TestWindow w;
        Form5 *f = openPage(w);
        QVERIFY(fetched(f));
        QCOMPARE(f->WebBrowser1->toPlainText().trimmed(), PageErrorText);
        QVERIFY2(server.requests.size() <= 4, qPrintable(server.requests.join(u' ')));
    }

    // A hostile page: the window keeps answering while it is read and laid out, opens no
    // local file (not when drawn, nor when copied), and shows what was kept of it.
    void hostilePagesNeitherStallNorReachTheDisk_data()
    {
        QTest::addColumn<QByteArray>("page");
        QTest::addColumn<QString>("shown");
        QTest::newRow("deep nesting") << QByteArray("<div>").repeated(15000) + "<p>kept</p>" << u"kept"_s;
        QTest::newRow("nested tables") << "<p>" + QByteArray("<table><tr><td>").repeated(20) + "x" << u"x"_s;
        // Each paragraph repeats its whole inside: a long word is kept, too long to lay out.
        QTest::newRow("nested paragraphs with tables")
            << QByteArray("<p>x<table><tr><td>").repeated(4000) << PageErrorText;
        QTest::newRow("local files")
            << QByteArray("<p>A<img src=\"$\">B<img src=\"file://$\"><span style=\"background-image: url($)\">"
                          "C</span><table background=\"$\"><tr><td>D</td></tr></table></p>")
            << u"A\uFFFCB\uFFFCC D"_s;
    }

    void hostilePagesNeitherStallNorReachTheDisk()
    {
        QFETCH(QByteArray, page);
        QFETCH(QString, shown);
        // $ is a FIFO: a writer keeps trying to open it, which succeeds only while someone reads
        // it, and frees that reader, so a fault fails the test rather than hanging it.
        TempFolder dir;
        const QByteArray fifo = QFile::encodeName(dir.filePath(u"secret.png"_s));
        QCOMPARE(mkfifo(fifo.constData(), 0600), 0);
        std::atomic<bool> opened = false, stop = false;
        std::thread writer([&] {
            for (; !stop; std::this_thread::sleep_for(std::chrono::milliseconds(20))) {
                if (const int fd = ::open(fifo.constData(), O_WRONLY | O_NONBLOCK); fd >= 0) {
                    opened = true;
                    ::close(fd);
                }
            }
        });
        const auto joinWriter = qScopeGuard([&] { stop = true; writer.join(); });
        serve(page.replace('$', fifo));
        ToolsInfo::setPageLimits({1500, 256 * 1024, 3, 20000});
        TestWindow w;
        Form5 *f = openPage(w);
        const qint64 stall = longestStall([f] { return f->windowTitle() == kDone; }, 20000);
        QCOMPARE(f->windowTitle(), kDone);
        // A frame or two, and what the scheduler of a busy machine adds; parsing or laying out
        // any of these pages on the window's thread takes from a third of a second to forever.
        QVERIFY2(stall < 100, qPrintable(u"the window stood still for %1 ms"_s.arg(stall)));
        QCOMPARE(shownText(f), shown);
        f->WebBrowser1->selectAll();
        f->WebBrowser1->copy();
        const QMimeData *copied = QGuiApplication::clipboard()->mimeData();
        for (const QString &format : copied->formats())
            copied->data(format);
        QVERIFY(!opened);
    }

    // Closed while its page is worked on, the window is gone for good: the work ends without
    // it, and the next window, whose page waits for that work, shows its own.
    void windowClosedWhileItsPageIsWorkedOn()
    {
        serve(QByteArray("<div>").repeated(10000) + "<p>kept</p>");
        ToolsInfo::setPageLimits({1500, 256 * 1024, 3, 20000});
        TestWindow w;
        QPointer<Form5> f = openPage(w);
        QTRY_COMPARE(server.requests.size(), 1);
        QTest::qWait(50);   // the page has come; the parser is at it
        f->close();
        QTRY_VERIFY(f.isNull());
        QVERIFY(fetched(openPage(w)));
        QCOMPARE(shownText(openPage(w)), u"kept"_s);
        QCOMPARE(server.requests.size(), 2);
    }

    // The page is someone else's: it runs nothing, fetches nothing, and only its web links
    // reach the browser.
    void pageIsShownAsInertText()
    {
        serve("<p>Text<script src=\"" + server.url(u"/s.js"_s).toEncoded() + "\">document.title='hacked'</script>"
              "<img src=\"" + server.url(u"/i.png"_s).toEncoded()
              + "\"><link rel=stylesheet href=\"" + server.url(u"/c.css"_s).toEncoded() + "\"></p>");
        TestWindow w;
        Form5 *f = openPage(w);
        QVERIFY(fetched(f));
        f->WebBrowser1->grab();   // lays the page out and paints it, images included
        QTest::qWait(100);
        QCOMPARE(server.requests, QStringList{u"/recommend"_s});
        const QString shown = shownText(f);
        QVERIFY(!shown.contains(u"hacked"_s));
        for (const char *link : {"other.html", "file:///etc/passwd", "https://example.org/a"})
            Q_EMIT f->WebBrowser1->anchorClicked(QUrl(QString::fromLatin1(link)));
        QCOMPARE(w.desktop.calls, (QList<Call>{{"url", server.url(u"/other.html"_s).toString()},
                                               {"url", "https://example.org/a"}}));
        QCOMPARE(shownText(f), shown);   // a click never navigates the window
    }

    // The programs of the start folder are read when the launcher is made; a double click
    // starts one, and a start that fails says which. The folder's name and a program's are
    // not UTF-8 (GBK): both are listed and started as the very bytes they are.
    void launcherListsAndStartsThePrograms()
    {
        TempFolder dir;
        const QString d = dir.path() + u'/' + decodeFileName("\xb9\xa4\xbe\xdf"), gbk = decodeFileName("\xb2\xe2.exe");
        for (const QString &name : {u"a.exe"_s, u"b.exe"_s, u"x.ink"_s, u"notes.txt"_s, u"C.EXE"_s, u".hidden.exe"_s, u"tool"_s, gbk})
            makeFile(d + u'/' + name);
        setMode(d + u"/tool"_s, 0700);
        makeFile(d + u"/folder.exe/inside"_s);
        InFolder in(d);
        TestWindow w;
        w->mnVarrowSoft->trigger();
        QPointer<Form3> f = openWindow<Form3>();
        QVERIFY(QTest::qWaitForWindowExposed(f));
        const QStringList programs{"a.exe", "b.exe", "C.EXE", "tool", "x.ink", gbk};
        QCOMPARE(entries(f->File1), programs);
        makeFile(d + u"/new.exe"_s);
        w->mnVarrowSoft->trigger();
        QCOMPARE(openWindow<Form3>(), f.data());
        QCOMPARE(entries(f->File1), programs);

        f->File1->setCurrentRow(-1);
        f->File1_DblClick();   // no current entry: nothing happens
        QVERIFY(w.desktop.calls.isEmpty());
        const QRect r = f->File1->visualRect(f->File1->model()->index(1, 0));
        QTest::mouseClick(f->File1->viewport(), Qt::LeftButton, {}, r.center());
        QTest::mouseDClick(f->File1->viewport(), Qt::LeftButton, {}, r.center());
        f->File1->setCurrentRow(5);
        f->File1_DblClick();
        QCOMPARE(w.desktop.calls, (QList<Call>{{"start", d + u"/b.exe"_s}, {"start", d + u'/' + gbk}}));
        w.desktop.succeed = false;
        f->File1_DblClick();
        QCOMPARE(w.dialogs.texts(), QStringList{u"无法启动："_s + visibleFileName(d + u'/' + gbk)});

        f->close();
        QTRY_VERIFY(f.isNull());
        w->mnVarrowSoft->trigger();
        QVERIFY(entries(openWindow<Form3>()->File1).contains(u"new.exe"_s));
    }

    // The real start executes the path's exact bytes, with no shell to read the "$(x)" in
    // the name, and tells a file that cannot be run from one that started.
    void startRunsTheExactProgram_data()
    {
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<int>("mode");
        QTest::addColumn<int>("error");
        const QByteArray script = "#!/bin/sh\necho started > \"$0.ran\"\n";
        QTest::newRow("script with a GBK name") << "\xb2\xe2 $(x).sh"_ba << script << 0755 << 0;
        QTest::newRow("no execute bit") << "\xb2\xe2.sh"_ba << script << 0644 << EACCES;
        QTest::newRow("not a program") << "\xb2\xe2.exe"_ba << "MZ"_ba << 0755 << ENOEXEC;
    }

    void startRunsTheExactProgram()
    {
        QFETCH(QByteArray, name);
        QFETCH(QByteArray, content);
        QFETCH(int, mode);
        QFETCH(int, error);
        TempFolder dir;
        const QString program = makeFile(dir.path() + u'/' + decodeFileName(name), content);
        setMode(program, mode_t(mode));
        QCOMPARE(startDetached(program).number, error);
        if (error == 0)
            QTRY_COMPARE(contentOf(program + u".ran"_s), "started\n");
    }

    // The help and display commands only hand off: the list is as it was, and the homepage is
    // the browser's to fetch, not the program's.
    void helpAndDisplayCommandsHandOff()
    {
        TestWindow w;
        QVERIFY(w.showActive());
        setEntries(w->List1, {"/x/a", "/x/b"}, {1});
        w->mnabout->trigger();
        QCOMPARE(w.dialogs.texts(), QStringList{ToolsInfo::authorCredit()});
        ToolsInfo::setHomepageUrl(server.url(u"/home"_s));
        w->mnvisithomepage->trigger();
        w->mnCloseScreen->trigger();
        QVERIFY(!w->isMinimized());
        w->mnCloseScreenMin->trigger();
        QCOMPARE(w.desktop.calls, (QList<Call>{{"url", server.url(u"/home"_s).toString()}, {"standby", {}},
                                               {"standby", {}}, {"minimise", {}}}));
        QVERIFY(w->isMinimized());
        QVERIFY(server.requests.isEmpty());
        QCOMPARE(entries(w->List1), (QStringList{"/x/a", "/x/b"}));
        QCOMPARE(selectedRows(w->List1), QList<int>{1});
        // Without a display of its own the real request reports that it reached none.
        QVERIFY(!requestDisplayStandby(&*w));
    }

    void paragraphs_data()
    {
        QTest::addColumn<QByteArray>("page");
        QTest::addColumn<QByteArray>("contentType");
        QTest::addColumn<QString>("expected");
        const struct {
            const char *name, *page, *contentType, *expected;   // expected null: the error text
        } rows[] = {
            {"two paragraphs", "<html><body><p>A</p><div>x</div><p>B</p>", "", "A<p></p>B<p></p>"},
            {"end tags left out", "<p>A<p>B", "", "A<p></p>B<p></p>"},
            {"inner markup kept", "<p><b class=\"k\">A</b><br>c<!--n--></p>", "", "<b class=\"k\">A</b><br>c<!--n--><p></p>"},
            {"text escaped as written back", "<p>a &amp; b &lt; c&nbsp;d \"q\"</p>", "",
             "a &amp; b &lt; c&nbsp;d \"q\"<p></p>"},
            {"attribute quotes escaped", "<p><a href='x?a=1&amp;b=\"2\"'>L</a></p>", "",
             "<a href=\"x?a=1&amp;b=&quot;2&quot;\">L</a><p></p>"},
            {"one empty among full", "<p>A</p><p></p>", "", "A<p></p><p></p>"},
            {"no paragraph", "<html><body><div>A</div></body></html>", "", nullptr},
            {"only empty paragraphs", "<p></p><p></p>", "", nullptr},
            {"nothing at all", "", "", nullptr},
            {"chinese utf-8", "<p>推荐</p>", "", "推荐<p></p>"},
            // "推荐" in GB18030 is CD C6 BC F6; the server names the charset in its header or the page.
            {"charset in the header", "<p>\xCD\xC6\xBC\xF6</p>", "text/html; charset=GB18030", "推荐<p></p>"},
            {"charset in the page", "<meta charset=\"gb18030\"><p>\xCD\xC6\xBC\xF6</p>", "text/html", "推荐<p></p>"},
        };
        for (const auto &r : rows)
            QTest::newRow(r.name) << QByteArray(r.page) << QByteArray(r.contentType)
                                  << (r.expected ? QString::fromUtf8(r.expected) : PageErrorText);
        QTest::newRow("binary junk") << QByteArray("\x00\xff\xfe<<<\x01p>", 10) << QByteArray() << PageErrorText;

        // A hostile page is cut down to what the window can lay out at once.
        QTest::newRow("tables nested too deep keep their text")
            << "<p>" + QByteArray("<table><tr><td>").repeated(PageMaxTables + 2) + "x" << QByteArray()
            << u"<table><tbody><tr><td>"_s.repeated(PageMaxTables) + u'x'
                   + u"</td></tr></tbody></table>"_s.repeated(PageMaxTables) + u"<p></p>"_s;
        QTest::newRow("the text ends at the limit")
            << "<p>" + QByteArray(PageMaxText + 10, 'a') << QByteArray() << QString(PageMaxText, u'a');
        QTest::newRow("nested paragraphs end at the limit")
            << QByteArray("<p>x<table><tr><td>").repeated(4000) << QByteArray() << QString();
    }

    void paragraphs()
    {
        QFETCH(QByteArray, page);
        QFETCH(QByteArray, contentType);
        QFETCH(QString, expected);
        const QString text = pageParagraphs(page, contentType);
        if (expected.isNull())   // only its length is known
            QCOMPARE(text.size(), PageMaxText);
        else
            QCOMPARE(text, expected);
    }

    // Deeper than any call stack would take if the markup were walked recursively; the tags
    // below the depth limit are left out, their text kept.
    void deepNestingNeitherHangsNorCrashes()
    {
        const QString text = pageParagraphs("<p>" + QByteArray("<span>").repeated(200000) + "x");
        QCOMPARE(text, u"<span>"_s.repeated(PageMaxDepth) + u'x' + u"</span>"_s.repeated(PageMaxDepth)
                           + u"<p></p>"_s);
    }
};

QTEST_MAIN(TstTools)
#include "tst_tools.moc"
