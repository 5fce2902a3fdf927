// Names between bytes and the program's text: exact both ways, shown distinctly, refused
// where no file can be meant, and carried in file URLs byte for byte.
#include <QHash>
#include <QMimeData>
#include <QTest>

#include <random>

#include "platform/filenames.h"

using namespace Qt::StringLiterals;

namespace {

QString units(std::initializer_list<char16_t> u)
{
    return QString(reinterpret_cast<const QChar *>(u.begin()), qsizetype(u.size()));
}

const QString kGbk = units({0xDCB2, 0xDCE2, 0xDCCA, 0xDCD4}) + u".jpg"_s;  // 测试.jpg in GBK

} // namespace

class TstFileNames : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void bytesAndText_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("text");
        QTest::newRow("UTF-8") << "\xe6\xb5\x8b\xe8\xaf\x95.jpg"_ba << u"测试.jpg"_s;
        QTest::newRow("GBK") << "\xb2\xe2\xca\xd4.jpg"_ba << kGbk;
        QTest::newRow("real U+FFFD") << "\xef\xbf\xbd"_ba << u"\uFFFD"_s;
        QTest::newRow("overlong") << "\xc0\xaf"_ba << units({0xDCC0, 0xDCAF});
        QTest::newRow("encoded surrogate") << "\xed\xa0\x80"_ba << units({0xDCED, 0xDCA0, 0xDC80});
        // The low half of this pair lies in the escape range and is still part of a character.
        QTest::newRow("U+1F480, then a stray byte") << "\xf0\x9f\x92\x80\x80"_ba << units({0xD83D, 0xDC80, 0xDC80});
    }

    void bytesAndText()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, text);
        QCOMPARE(decodeFileName(bytes), text);
        QCOMPARE(encodeFileName(text), bytes);
        QByteArray appended = "a/"_ba;
        appendFileName(appended, text);
        QCOMPARE(appended, "a/"_ba + bytes);
    }

    // Any bytes come back as they were, and no two names share a text or a visible form: every
    // name of up to four pieces that UTF-8, the escapes and their look-alikes are made of,
    // then 50000 names of random bytes, the same ones at every run.
    void namesStayExactAndDistinct()
    {
        static const QByteArray pieces[] = {"\\", "x", "B0", "\xb0", "\xc3", "\xa9", "\xed\xa0\x80", "\xef\xbf\xbd",
                                            "\n", "\xc2\x85", "\x85", "\xf0\x9f\x92", "\x80", "\xff", "\xc0\xaf", "a"};
        QList<QByteArray> names{QByteArray()};
        for (qsizetype from = 0, length = 1; length <= 4; ++length) {
            const qsizetype to = names.size();
            for (qsizetype i = from; i < to; ++i)
                for (const QByteArray &piece : pieces)
                    names << names[i] + piece;
            from = to;
        }
        std::mt19937 random(13);
        for (int i = 0; i < 50000; ++i) {
            QByteArray bytes(qsizetype(random() % 9), Qt::Uninitialized);
            for (char &b : bytes)
                b = char(random());
            names << bytes;
        }
        QHash<QString, QByteArray> texts, shown;
        for (const QByteArray &bytes : std::as_const(names)) {
            const QString text = decodeFileName(bytes), visible = visibleFileName(text);
            QCOMPARE(encodeFileName(text), bytes);
            QCOMPARE(texts.value(text, bytes), bytes);
            QCOMPARE(shown.value(visible, bytes), bytes);
            texts.insert(text, bytes);
            shown.insert(visible, bytes);
        }
    }

    void visibleForm_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("shown");
        QTest::newRow("GBK") << kGbk << u"\\xB2\\xE2\\xCA\\xD4.jpg"_s;
        QTest::newRow("text that looks escaped") << u"\\xB2.jpg"_s << u"\\\\xB2.jpg"_s;
        QTest::newRow("CR LF, tab") << u"a\r\n\tb"_s << u"a\\x0D\\x0A\\x09b"_s;
        QTest::newRow("C1 control, as its bytes") << u"a\u0085"_s << u"a\\xC2\\x85"_s;
        QTest::newRow("U+1F480, then a stray byte") << units({0xD83D, 0xDC80, 0xDC80}) << units({0xD83D, 0xDC80}) + u"\\x80"_s;
    }

    void visibleForm()
    {
        QFETCH(QString, text);
        QFETCH(QString, shown);
        QCOMPARE(visibleFileName(text), shown);
    }

    // A file URL, also as a file manager's drop carries it, gives the path's exact bytes;
    // one that names no local file gives nothing.
    void fileUrls_data()
    {
        QTest::addColumn<QByteArray>("url");
        QTest::addColumn<QString>("path");
        QTest::newRow("GBK") << "file:///tmp/%B2%E2%CA%D4.jpg"_ba << u"/tmp/"_s + kGbk;
        QTest::newRow("URL syntax in a name") << "file:///tmp/a%20b%231%3F%25.txt"_ba << u"/tmp/a b#1?%.txt"_s;
        QTest::newRow("localhost") << "file://localhost/tmp/a"_ba << u"/tmp/a"_s;
        QTest::newRow("other host") << "file://elsewhere/tmp/a"_ba << QString();
        QTest::newRow("encoded slash") << "file:///tmp/a%2Fb"_ba << QString();
        QTest::newRow("fragment") << "file:///tmp/a#1.jpg"_ba << QString();
    }

    void fileUrls()
    {
        QFETCH(QByteArray, url);
        QFETCH(QString, path);
        QMimeData drop;
        drop.setData(u"text/uri-list"_s, url + "\r\n");
        QCOMPARE(pathFromFileUrl(drop.urls().value(0)), path);
        if (!path.isEmpty() && !url.contains("localhost"))
            QCOMPARE(fileUrlOf(path).toEncoded(), url);
    }
};

QTEST_MAIN(TstFileNames)
#include "tst_filenames.moc"
