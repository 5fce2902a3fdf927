// The tools and help menus through the real windows: the recommendation window against a
// server of the test's own on 127.0.0.1, the launcher on real folders, the display commands.
#include <QAction>
#include <QDir>
#include <QLineEdit>
#include <QTest>
#include <QTextBrowser>

#include "pageserver.h"
#include "platform/displaypower.h"
#include "testwindow.h"
#include "tools/form3.h"
#include "tools/form5.h"
#include "tools/pagetext.h"
#include "tools/toolsinfo.h"

namespace {

using Call = FakeDesktop::Call;
const QString kLoading = QStringLiteral("正在获取，请稍后...");
const QString kDone = QStringLiteral("作者推荐");

template <typename W>
W *openWindow()
{
    for (QWidget *w : QApplication::topLevelWidgets()) {
        if (auto *f = qobject_cast<W *>(w); f && f->isVisible())
            return f;
    }
    return nullptr;
}

Form5 *openPage(TestWindow &w)
{
    w->mnTuijian->trigger();
    return openWindow<Form5>();
}

bool fetched(Form5 *f, int ms = 5000)
{
    return f && QTest::qWaitFor([f] { return f->windowTitle() == kDone; }, ms);
}

QString shownText(Form5 *f)
{
    return f->WebBrowser1->toPlainText().simplified();
}

// Runs with the working directory set to folder, as when the program is started there.
struct InFolder {
    explicit InFolder(const QString &folder) : old(QDir::currentPath()) { QDir::setCurrent(folder); }
    ~InFolder() { QDir::setCurrent(old); }
    QString old;
};

} // namespace

class TstTools : public QObject {
    Q_OBJECT

    PageServer server;

    void serve(const QByteArray &page)
    {
        server.answer(QStringLiteral("/recommend"), {PageServer::Kind::Page, page, "text/html"});
    }

private Q_SLOTS:
    void init()
    {
        server.requests.clear();
        ToolsInfo::setRecommendationUrl(server.url(QStringLiteral("/recommend")));
        ToolsInfo::setPageLimits({1500, 64 * 1024, 3});
    }

    // The windows have no owner: close what a test left open.
    void cleanup()
    {
        for (QWidget *w : QApplication::topLevelWidgets()) {
            if (qobject_cast<Form3 *>(w) || qobject_cast<Form5 *>(w))
                w->close();
        }
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    void pageShowsItsParagraphsAndTheCaptionChanges()
    {
        serve("<html><h1>T</h1><p>Alpha</p><p>Beta</p>");
        TestWindow w;
        Form5 *f = openPage(w);
        QVERIFY(f);
        QCOMPARE(f->windowTitle(), kLoading);
        QVERIFY(fetched(f));
        QCOMPARE(shownText(f), QStringLiteral("Alpha Beta"));
        QCOMPARE(server.requests, QStringList{QStringLiteral("/recommend")});
        // A late completion changes nothing.
        f->WebBrowser1_DocumentComplete("<p>Second</p>", "text/html");
        f->WebBrowser1_DocumentComplete(QByteArray(), QByteArray());
        QCOMPARE(shownText(f), QStringLiteral("Alpha Beta"));
    }

    void failuresShowTheErrorText_data()
    {
        QTest::addColumn<int>("kind");   // -1: nobody listens at the address
        QTest::addColumn<QByteArray>("body");
        QTest::newRow("no paragraph") << int(PageServer::Kind::Page) << QByteArray("<div>x</div>");
        QTest::newRow("empty paragraphs") << int(PageServer::Kind::Page) << QByteArray("<p></p><p></p>");
        QTest::newRow("not found, with a paragraph") << int(PageServer::Kind::NotFound) << QByteArray();
        QTest::newRow("redirects without end") << int(PageServer::Kind::RedirectLoop) << QByteArray();
        QTest::newRow("body without end") << int(PageServer::Kind::Endless) << QByteArray();
        QTest::newRow("server never answers") << int(PageServer::Kind::Silent) << QByteArray();
        QTest::newRow("unreachable address") << -1 << QByteArray();
    }

    void failuresShowTheErrorText()
    {
        QFETCH(int, kind);
        QFETCH(QByteArray, body);
        if (kind < 0) {
            QTcpServer closed;
            QVERIFY(closed.listen(QHostAddress::LocalHost, 0));
            ToolsInfo::setRecommendationUrl(QUrl(QStringLiteral("http://127.0.0.1:%1/").arg(closed.serverPort())));
        } else {
            server.answer(QStringLiteral("/recommend"), {PageServer::Kind(kind), body, "text/html"});
        }
        TestWindow w;
        Form5 *f = openPage(w);
        QVERIFY(fetched(f, 4000));
        QCOMPARE(f->WebBrowser1->toPlainText().trimmed(), PageErrorText);
        QVERIFY2(server.requests.size() <= 4, qPrintable(server.requests.join(u' ')));
    }

    void oneWindowAndReopeningFetchesAgain()
    {
        serve("<p>P</p>");
        TestWindow w;
        QPointer<Form5> first = openPage(w);
        QVERIFY(fetched(first));
        QCOMPARE(openPage(w), first.data());
        QCOMPARE(first->windowTitle(), kDone);
        QCOMPARE(server.requests.size(), 1);
        first->close();
        QTRY_VERIFY(first.isNull());
        Form5 *second = openPage(w);
        QVERIFY(second);
        QCOMPARE(second->windowTitle(), kLoading);
        QVERIFY(fetched(second));
        QCOMPARE(server.requests.size(), 2);
    }

    void pageLoadsNothingOnItsOwnBehalf()
    {
        QTemporaryDir dir;
        const QUrl fileUrl = QUrl::fromLocalFile(makeFile(dir.path() + QStringLiteral("/secret.png"), "not a png"));
        serve("<p>Text<script src=\"" + server.url(QStringLiteral("/s.js")).toEncoded()
              + "\">document.title='hacked'</script><img src=\"" + fileUrl.toEncoded() + "\"><img src=\""
              + server.url(QStringLiteral("/i.png")).toEncoded() + "\"><link rel=stylesheet href=\""
              + server.url(QStringLiteral("/c.css")).toEncoded() + "\"></p>");
        TestWindow w;
        Form5 *f = openPage(w);
        QVERIFY(fetched(f));
        f->WebBrowser1->grab();   // lays the page out and paints it, images included
        QTest::qWait(100);
        QCOMPARE(server.requests, QStringList{QStringLiteral("/recommend")});
        QVERIFY(f->WebBrowser1->document()->resource(QTextDocument::ImageResource, fileUrl).isNull());
        QVERIFY(!shownText(f).contains(QStringLiteral("hacked")));
    }

    void linksOpenInTheBrowserOnlyForWebAddresses()
    {
        serve("<p>x</p>");
        TestWindow w;
        Form5 *f = openPage(w);
        QVERIFY(fetched(f));
        Q_EMIT f->WebBrowser1->anchorClicked(QUrl(QStringLiteral("other.html")));
        Q_EMIT f->WebBrowser1->anchorClicked(QUrl(QStringLiteral("file:///etc/passwd")));
        Q_EMIT f->WebBrowser1->anchorClicked(QUrl(QStringLiteral("https://example.org/a")));
        QCOMPARE(w.desktop.calls, (QList<Call>{{"url", server.url(QStringLiteral("/other.html")).toString()},
                                               {"url", "https://example.org/a"}}));
        QCOMPARE(shownText(f), QStringLiteral("x"));
    }

    void toolWindowsOutliveTheMainWindow()
    {
        serve("<p>x</p>");
        TestWindow w;
        QVERIFY(w.showActive());
        w->mnTuijian->trigger();
        w->mnVarrowSoft->trigger();
        w->close();
        QVERIFY(openWindow<Form5>() && openWindow<Form3>());
        openWindow<Form5>()->close();   // each closes on its own
        QVERIFY(!openWindow<Form5>() && openWindow<Form3>());
    }

    void aboutAndHomepage()
    {
        TestWindow w;
        w->mnabout->trigger();
        QCOMPARE(w.dialogs.boxes, (QList<FakeDialogs::Box>{{ToolsInfo::authorCredit(), "关于", Dialogs::Buttons::Ok,
                                                              Dialogs::Icon::Information}}));
        ToolsInfo::setHomepageUrl(server.url(QStringLiteral("/home")));
        w->mnvisithomepage->trigger();
        QCOMPARE(w.desktop.calls, (QList<Call>{{"url", server.url(QStringLiteral("/home")).toString()}}));
        QVERIFY(server.requests.isEmpty());   // the browser fetches it, not the program
    }

    // The programs of the start folder, read once when the window is made.
    void launcherListsTheProgramsOfTheStartFolder()
    {
        QTemporaryDir dir;
        const QString d = dir.path();
        for (const char *name : {"a.exe", "b.exe", "x.ink", "notes.txt", "C.EXE", ".hidden.exe", "tool"})
            makeFile(d + u'/' + QLatin1String(name));
        QFile::setPermissions(d + QStringLiteral("/tool"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QVERIFY(QDir(d).mkdir(QStringLiteral("folder.exe")));
        InFolder in(d);
        TestWindow w;
        w->mnVarrowSoft->trigger();
        QPointer<Form3> f = openWindow<Form3>();
        QVERIFY(f);
        const QStringList programs{"a.exe", "b.exe", "C.EXE", "tool", "x.ink"};
        QCOMPARE(entries(f->File1), programs);
        makeFile(d + QStringLiteral("/new.exe"));
        w->mnVarrowSoft->trigger();
        QCOMPARE(openWindow<Form3>(), f.data());
        QCOMPARE(entries(f->File1), programs);
        f->close();
        QTRY_VERIFY(f.isNull());
        w->mnVarrowSoft->trigger();
        QVERIFY(entries(openWindow<Form3>()->File1).contains(QStringLiteral("new.exe")));
    }

    void doubleClickStartsTheEntry()
    {
        QTemporaryDir dir;
        makeFile(dir.path() + QStringLiteral("/a.exe"));
        makeFile(dir.path() + QStringLiteral("/b.exe"));
        InFolder in(dir.path());
        TestWindow w;
        w->mnVarrowSoft->trigger();
        Form3 *f = openWindow<Form3>();
        QVERIFY(QTest::qWaitForWindowExposed(f));
        f->File1->setCurrentRow(-1);
        f->File1_DblClick();   // no current entry: nothing happens
        QVERIFY(w.desktop.calls.isEmpty());

        const QRect r = f->File1->visualRect(f->File1->model()->index(1, 0));
        QTest::mouseClick(f->File1->viewport(), Qt::LeftButton, {}, r.center());
        QTest::mouseDClick(f->File1->viewport(), Qt::LeftButton, {}, r.center());
        const QString path = QDir::currentPath() + QStringLiteral("/b.exe");
        QCOMPARE(w.desktop.calls, (QList<Call>{{"start", path}}));
        QVERIFY(w.dialogs.boxes.isEmpty());

        w.desktop.succeed = false;
        f->File1_DblClick();
        QCOMPARE(w.dialogs.texts(), QStringList{QStringLiteral("无法启动：") + path});
        QVERIFY(f->isVisible());
    }

    void displayCommandsChangeNothingAndTheSecondMinimises()
    {
        TestWindow w;
        QVERIFY(w.showActive());
        setEntries(w->List1, {"/x/a", "/x/b"}, {1});
        const auto state = [&w] {
            return QStringList{entries(w->List1).join(u'|'), QString::number(selectedRows(w->List1).size()),
                               w->Text4->text(), w->CurrentFolder, QString::number(w->ActiveList)};
        };
        const QStringList before = state();
        w->mnCloseScreen->trigger();
        QVERIFY(!w->isMinimized());
        w->mnCloseScreenMin->trigger();
        QCOMPARE(w.desktop.calls, (QList<Call>{{"standby", {}}, {"standby", {}}, {"minimise", {}}}));
        QVERIFY(w->isMinimized());
        QCOMPARE(state(), before);
        QVERIFY(w.dialogs.boxes.isEmpty());
        // Without a display of its own the real request reports that it reached none.
        QVERIFY(!requestDisplayStandby(&*w));
    }
};

QTEST_MAIN(TstTools)
#include "tst_tools.moc"
