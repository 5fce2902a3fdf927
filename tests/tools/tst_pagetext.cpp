// The paragraphs of a fetched page, as the recommendation window shows them.
#include <QTest>

#include "tools/pagetext.h"

class TstPageText : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void paragraphs_data()
    {
        QTest::addColumn<QByteArray>("page");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<QByteArray>("contentType");
        const QString err = PageErrorText;
        QTest::newRow("two paragraphs") << QByteArray("<html><body><p>A</p><div>x</div><p>B</p>")
                                        << QStringLiteral("A<p></p>B<p></p>") << QByteArray();
        QTest::newRow("end tags left out") << QByteArray("<p>A<p>B")
                                           << QStringLiteral("A<p></p>B<p></p>") << QByteArray();
        QTest::newRow("inner markup kept")
            << QByteArray("<p><b class=\"k\">A</b><br>c<!--n--></p>")
            << QStringLiteral("<b class=\"k\">A</b><br>c<!--n--><p></p>") << QByteArray();
        QTest::newRow("text escaped as written back")
            << QByteArray("<p>a &amp; b &lt; c&nbsp;d \"q\"</p>")
            << QStringLiteral("a &amp; b &lt; c&nbsp;d \"q\"<p></p>") << QByteArray();
        QTest::newRow("attribute quotes escaped")
            << QByteArray("<p><a href='x?a=1&amp;b=\"2\"'>L</a></p>")
            << QStringLiteral("<a href=\"x?a=1&amp;b=&quot;2&quot;\">L</a><p></p>") << QByteArray();
        QTest::newRow("one empty among full") << QByteArray("<p>A</p><p></p>")
                                              << QStringLiteral("A<p></p><p></p>") << QByteArray();
        QTest::newRow("no paragraph") << QByteArray("<html><body><div>A</div></body></html>") << err << QByteArray();
        QTest::newRow("only empty paragraphs") << QByteArray("<p></p><p></p>") << err << QByteArray();
        QTest::newRow("nothing at all") << QByteArray() << err << QByteArray();
        QTest::newRow("binary junk") << QByteArray("\x00\xff\xfe<<<\x01p>", 10) << err << QByteArray();
        QTest::newRow("chinese utf-8") << QByteArray("<p>推荐</p>") << QStringLiteral("推荐<p></p>") << QByteArray();
        // "推荐" in GB18030 is CD C6 BC F6; the server names the charset in its header or the page.
        QTest::newRow("charset in the header") << QByteArray("<p>\xCD\xC6\xBC\xF6</p>")
                                               << QStringLiteral("推荐<p></p>") << QByteArray("text/html; charset=GB18030");
        QTest::newRow("charset in the page") << QByteArray("<meta charset=\"gb18030\"><p>\xCD\xC6\xBC\xF6</p>")
                                             << QStringLiteral("推荐<p></p>") << QByteArray("text/html");
    }

    void paragraphs()
    {
        QFETCH(QByteArray, page);
        QFETCH(QString, expected);
        QFETCH(QByteArray, contentType);
        QCOMPARE(pageParagraphs(page, contentType), expected);
    }

    void deepNestingNeitherHangsNorCrashes()
    {
        // Deeper than any call stack would take if the markup were walked recursively.
        const int depth = 200000;
        QByteArray page = "<p>";
        page += QByteArray("<span>").repeated(depth) + "x";
        const QString text = pageParagraphs(page);
        QVERIFY(text.endsWith(QStringLiteral("</span><p></p>")));
        QCOMPARE(text.count(QStringLiteral("<span>")), depth);
    }
};

QTEST_GUILESS_MAIN(TstPageText)
#include "tst_pagetext.moc"
