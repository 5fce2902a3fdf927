// The paragraphs of a fetched page, as the recommendation window shows them.
#include <QTest>

#include "tools/pagetext.h"

using namespace Qt::StringLiterals;

class TstPageText : public QObject {
    Q_OBJECT

private Q_SLOTS:
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

QTEST_GUILESS_MAIN(TstPageText)
#include "tst_pagetext.moc"
