// The tools and help menus through the real windows: the recommendation window against a
// server of the test's own on 127.0.0.1, the launcher on real folders, the display commands.
#include <QAction>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QSignalSpy>
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

// Closes the windows a test left open; they have no owner, so nothing else does.
void closeToolWindows()
{
    for (QWidget *w : QApplication::topLevelWidgets()) {
        if (qobject_cast<Form3 *>(w) || qobject_cast<Form5 *>(w))
            w->close();
    }
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
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

private Q_SLOTS:
    void init()
    {
        server.requests.clear();
        ToolsInfo::setRecommendationUrl(server.url(QStringLiteral("/recommend")));
        ToolsInfo::setPageLimits({1500, 64 * 1024, 3});
    }
    void cleanup() { closeToolWindows(); }

    void pageShowsItsParagraphsAndTheCaptionChanges()
    {
        server.answer(QStringLiteral("/recommend"),
                      {PageServer::Kind::Page, "<html><h1>T</h1><p>Alpha</p><p>Beta</p>", "text/html"});
        TestWindow w;
        w->mnTuijian->trigger();
        Form5 *f = openWindow<Form5>();
        QVERIFY(f);
        QCOMPARE(f->windowTitle(), kLoading);
        QTRY_COMPARE(f->windowTitle(), kDone);
        QCOMPARE(f->WebBrowser1->toPlainText().simplified(), QStringLiteral("Alpha Beta"));
        QCOMPARE(server.requests, QStringList{QStringLiteral("/recommend")});
    }

    void failuresShowTheErrorText_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QByteArray>("body");
        QTest::newRow("no paragraph") << int(PageServer::Kind::Page) << QByteArray("<div>x</div>");
        QTest::newRow("empty paragraphs") << int(PageServer::Kind::Page) << QByteArray("<p></p><p></p>");
        QTest::newRow("not found, with a paragraph") << int(PageServer::Kind::NotFound) << QByteArray();
        QTest::newRow("redirects without end") << int(PageServer::Kind::RedirectLoop) << QByteArray();
        QTest::newRow("body without end") << int(PageServer::Kind::Endless) << QByteArray();
        QTest::newRow("server never answers") << int(PageServer::Kind::Silent) << QByteArray();
    }

    void failuresShowTheErrorText()
    {
        QFETCH(int, kind);
        QFETCH(QByteArray, body);
        server.answer(QStringLiteral("/recommend"), {PageServer::Kind(kind), body, "text/html"});
        TestWindow w;
        w->mnTuijian->trigger();
        Form5 *f = openWindow<Form5>();
        QVERIFY(f);
        QTRY_COMPARE_WITH_TIMEOUT(f->windowTitle(), kDone, 4000);
        QCOMPARE(f->WebBrowser1->toPlainText().trimmed(), PageErrorText);
        QVERIFY(!server.requests.isEmpty());
        QVERIFY2(server.requests.size() <= 4, qPrintable(server.requests.join(u' ')));
    }

    void unreachableAddressShowsTheErrorText()
    {
        QTcpServer closed;
        QVERIFY(closed.listen(QHostAddress::LocalHost, 0));
        const quint16 port = closed.serverPort();
        closed.close();
        ToolsInfo::setRecommendationUrl(QUrl(QStringLiteral("http://127.0.0.1:%1/").arg(port)));
        TestWindow w;
        w->mnTuijian->trigger();
        Form5 *f = openWindow<Form5>();
        QVERIFY(f);
        QTRY_COMPARE(f->windowTitle(), kDone);
        QCOMPARE(f->WebBrowser1->toPlainText().trimmed(), PageErrorText);
    }

    void laterCompletionsAreIgnored()
    {
        server.answer(QStringLiteral("/recommend"), {PageServer::Kind::Page, "<p>First</p>", "text/html"});
        TestWindow w;
        w->mnTuijian->trigger();
        Form5 *f = openWindow<Form5>();
        QTRY_COMPARE(f->windowTitle(), kDone);
        f->WebBrowser1_DocumentComplete("<p>Second</p>", "text/html");
        f->WebBrowser1_DocumentComplete(QByteArray(), QByteArray());
        QCOMPARE(f->WebBrowser1->toPlainText().trimmed(), QStringLiteral("First"));
    }

    void oneWindowAndReopeningFetchesAgain()
    {
        server.answer(QStringLiteral("/recommend"), {PageServer::Kind::Page, "<p>P</p>", "text/html"});
        TestWindow w;
        w->mnTuijian->trigger();
        QPointer<Form5> first = openWindow<Form5>();
        QTRY_COMPARE(first->windowTitle(), kDone);
        w->mnTuijian->trigger();
        QCOMPARE(openWindow<Form5>(), first.data());
        QCOMPARE(first->windowTitle(), kDone);
        QCOMPARE(server.requests.size(), 1);

        first->close();
        QTRY_VERIFY(first.isNull());
        w->mnTuijian->trigger();
        Form5 *second = openWindow<Form5>();
        QVERIFY(second);
        QCOMPARE(second->windowTitle(), kLoading);
        QTRY_COMPARE(second->windowTitle(), kDone);
        QCOMPARE(server.requests.size(), 2);
    }

    void pageLoadsNothingOnItsOwnBehalf()
    {
        QTemporaryDir dir;
        const QString picture = makeFile(dir.path() + QStringLiteral("/secret.png"), "not a png");
        const QUrl fileUrl = QUrl::fromLocalFile(picture);
        const QByteArray page =
            "<p>Text<script src=\"" + server.url(QStringLiteral("/s.js")).toEncoded()
            + "\">document.title='hacked'</script><img src=\"" + fileUrl.toEncoded()
            + "\"><img src=\"" + server.url(QStringLiteral("/i.png")).toEncoded()
            + "\"><link rel=stylesheet href=\"" + server.url(QStringLiteral("/c.css")).toEncoded()
            + "\"></p>";
        server.answer(QStringLiteral("/recommend"), {PageServer::Kind::Page, page, "text/html"});
        TestWindow w;
        w->mnTuijian->trigger();
        Form5 *f = openWindow<Form5>();
        QTRY_COMPARE(f->windowTitle(), kDone);
        f->WebBrowser1->grab();   // lays the page out and paints it, images included
        QTest::qWait(100);
        QCOMPARE(server.requests, QStringList{QStringLiteral("/recommend")});
        QVERIFY(f->WebBrowser1->document()->resource(QTextDocument::ImageResource, fileUrl).isNull());
        QVERIFY(!f->WebBrowser1->toPlainText().contains(QStringLiteral("hacked")));
    }

    void linksOpenInTheBrowserOnlyForWebAddresses()
    {
        server.answer(QStringLiteral("/recommend"), {PageServer::Kind::Page, "<p>x</p>", "text/html"});
        TestWindow w;
        w->mnTuijian->trigger();
        Form5 *f = openWindow<Form5>();
        QTRY_COMPARE(f->windowTitle(), kDone);
        Q_EMIT f->WebBrowser1->anchorClicked(QUrl(QStringLiteral("other.html")));
        Q_EMIT f->WebBrowser1->anchorClicked(QUrl(QStringLiteral("file:///etc/passwd")));
        Q_EMIT f->WebBrowser1->anchorClicked(QUrl(QStringLiteral("https://example.org/a")));
        const QList<FakeDesktop::Call> expected{
            {QStringLiteral("url"), server.url(QStringLiteral("/other.html")).toString()},
            {QStringLiteral("url"), QStringLiteral("https://example.org/a")}};
        QCOMPARE(w.desktop.calls, expected);
        QCOMPARE(f->WebBrowser1->toPlainText().trimmed(), QStringLiteral("x"));
    }

    void toolWindowsOutliveTheMainWindow()
    {
        server.answer(QStringLiteral("/recommend"), {PageServer::Kind::Page, "<p>x</p>", "text/html"});
        TestWindow w;
        QVERIFY(w.showActive());
        w->mnTuijian->trigger();
        w->mnVarrowSoft->trigger();
        w->close();
        QVERIFY(!w->isVisible());
        QVERIFY(openWindow<Form5>());
        QVERIFY(openWindow<Form3>());
        // Each closes on its own, the other staying open.
        openWindow<Form5>()->close();
        QVERIFY(!openWindow<Form5>());
        QVERIFY(openWindow<Form3>());
    }

    void aboutAndHomepage()
    {
        TestWindow w;
        w->mnabout->trigger();
        QCOMPARE(w.dialogs.boxes.size(), 1);
        QCOMPARE(w.dialogs.boxes[0].text, ToolsInfo::authorCredit());
        QVERIFY(!ToolsInfo::authorCredit().isEmpty());
        QCOMPARE(w.dialogs.boxes[0].title, QStringLiteral("关于"));
        QCOMPARE(w.dialogs.boxes[0].icon, Dialogs::Icon::Information);
        QCOMPARE(w.dialogs.boxes[0].buttons, Dialogs::Buttons::Ok);

        ToolsInfo::setHomepageUrl(server.url(QStringLiteral("/home")));
        w->mnvisithomepage->trigger();
        QCOMPARE(w.desktop.calls, (QList<FakeDesktop::Call>{
                                      {QStringLiteral("url"), server.url(QStringLiteral("/home")).toString()}}));
        QVERIFY(server.requests.isEmpty());   // the browser fetches it, not the program
    }

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
        Form3 *f = openWindow<Form3>();
        QVERIFY(f);
        QCOMPARE(f->windowTitle(), QStringLiteral("Varrow软件-同一文件夹中"));
        QCOMPARE(entries(f->File1), (QStringList{QStringLiteral("a.exe"), QStringLiteral("b.exe"),
                                                 QStringLiteral("C.EXE"), QStringLiteral("tool"),
                                                 QStringLiteral("x.ink")}));
    }

    void launcherIsReadOnlyWhenMade()
    {
        QTemporaryDir dir;
        makeFile(dir.path() + QStringLiteral("/a.exe"));
        InFolder in(dir.path());
        TestWindow w;
        w->mnVarrowSoft->trigger();
        QPointer<Form3> f = openWindow<Form3>();
        makeFile(dir.path() + QStringLiteral("/new.exe"));
        w->mnVarrowSoft->trigger();
        QCOMPARE(openWindow<Form3>(), f.data());
        QCOMPARE(entries(f->File1), QStringList{QStringLiteral("a.exe")});
        f->close();
        QTRY_VERIFY(f.isNull());
        w->mnVarrowSoft->trigger();
        QCOMPARE(entries(openWindow<Form3>()->File1),
                 (QStringList{QStringLiteral("a.exe"), QStringLiteral("new.exe")}));
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

        f->File1->setCurrentItem(nullptr);
        f->File1_DblClick();   // no current entry: nothing happens
        QVERIFY(w.desktop.calls.isEmpty());
        QVERIFY(w.dialogs.boxes.isEmpty());

        const QRect r = f->File1->visualItemRect(f->File1->item(1));
        QTest::mouseClick(f->File1->viewport(), Qt::LeftButton, {}, r.center());
        QTest::mouseDClick(f->File1->viewport(), Qt::LeftButton, {}, r.center());
        const QString path = QDir::currentPath() + QStringLiteral("/b.exe");
        QCOMPARE(w.desktop.calls, (QList<FakeDesktop::Call>{{QStringLiteral("start"), path}}));
        QVERIFY(w.dialogs.boxes.isEmpty());

        w.desktop.succeed = false;
        f->File1_DblClick();
        QCOMPARE(w.dialogs.boxes.size(), 1);
        QCOMPARE(w.dialogs.boxes[0].text, QStringLiteral("无法启动：") + path);
        QVERIFY(f->isVisible());
    }

    void displayCommandsChangeNothingAndTheSecondMinimises()
    {
        QTemporaryDir dir;
        makeFile(dir.path() + QStringLiteral("/f.txt"));
        TestWindow w(dir.path());
        QVERIFY(w.showActive());
        w->List1->addItems({QStringLiteral("/x/a"), QStringLiteral("/x/b")});
        w->List1->item(1)->setSelected(true);
        const auto state = [&w] {
            return QStringList{entries(w->List1).join(u'|'), entries(w->File1).join(u'|'),
                               QString::number(w->List1->selectedItems().size()), w->Text4->text(),
                               w->Text2->text(), w->Text3->text(), w->Text6->text(), w->Text5->text(),
                               w->CurrentFolder, QString::number(w->ActiveList)};
        };
        const QStringList before = state();

        w->mnCloseScreen->trigger();
        QCOMPARE(w.desktop.calls, (QList<FakeDesktop::Call>{{QStringLiteral("standby"), {}}}));
        QVERIFY(!w->isMinimized());
        w->mnCloseScreenMin->trigger();
        QCOMPARE(w.desktop.calls.mid(1), (QList<FakeDesktop::Call>{{QStringLiteral("standby"), {}},
                                                                   {QStringLiteral("minimise"), {}}}));
        QVERIFY(w->isMinimized());
        QCOMPARE(state(), before);
        QVERIFY(w.dialogs.boxes.isEmpty());
        // Without a display of its own the real request reports that it reached none.
        QVERIFY(!requestDisplayStandby(&*w));
    }
};

QTEST_MAIN(TstTools)
#include "tst_tools.moc"
