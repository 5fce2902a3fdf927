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
        QTest::newRow("ASCII") << "photo.jpg"_ba << u"photo.jpg"_s;
        QTest::newRow("UTF-8") << "\xe6\xb5\x8b\xe8\xaf\x95.jpg"_ba << u"测试.jpg"_s;
        QTest::newRow("GBK") << "\xb2\xe2\xca\xd4.jpg"_ba << kGbk;
        QTest::newRow("real U+FFFD") << "\xef\xbf\xbd.txt"_ba << u"\uFFFD.txt"_s;
        QTest::newRow("stray byte") << "\xff.txt"_ba << units({0xDCFF}) + u".txt"_s;
        QTest::newRow("overlong") << "\xc0\xaf"_ba << units({0xDCC0, 0xDCAF});
        QTest::newRow("encoded surrogate") << "\xed\xa0\x80"_ba << units({0xDCED, 0xDCA0, 0xDC80});
        QTest::newRow("past U+10FFFF") << "\xf4\x90\x80\x80"_ba << units({0xDCF4, 0xDC90, 0xDC80, 0xDC80});
        QTest::newRow("cut short") << "a\xe6\xb5"_ba << u"a"_s + units({0xDCE6, 0xDCB5});
        QTest::newRow("lead byte, then ASCII") << "\xc3("_ba << units({0xDCC3}) + u"("_s;
        // The low half of this pair lies in the escape range and is still part of a character.
        QTest::newRow("U+1F480") << "\xf0\x9f\x92\x80\x80"_ba << units({0xD83D, 0xDC80, 0xDC80});
    }

    void bytesAndText()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, text);
        QCOMPARE(decodeFileName(bytes), text);
        QCOMPARE(encodeFileName(text), bytes);
    }

    // Any bytes come back as they were, and no two names share a text or a visible form: every
    // name of up to four pieces that UTF-8, the escapes and their look-alikes are made of,
    // then random bytes (fixed seed).
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
            const QString text = decodeFileName(bytes);
            QCOMPARE(encodeFileName(text), bytes);
            const QString visible = visibleFileName(text);
            QCOMPARE(texts.value(text, bytes), bytes);
            QCOMPARE(shown.value(visible, bytes), bytes);
            texts.insert(text, bytes);
            shown.insert(visible, bytes);
        }
    }

    void kernelTakesOnlyExactAbsolutePaths_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<bool>("taken");
        QTest::newRow("absolute") << u"/tmp/a.txt"_s << true;
        QTest::newRow("not UTF-8") << u"/tmp/"_s + kGbk << true;
        QTest::newRow("root") << u"/"_s << true;
        QTest::newRow("trailing separator: the kernel's to judge") << u"/tmp/a.txt/"_s << true;
        QTest::newRow("relative") << u"notes.txt"_s << false;
        QTest::newRow("dot-relative") << u"./notes.txt"_s << false;
        QTest::newRow("empty") << QString() << false;
        QTest::newRow("NUL") << u"/tmp/a.txt"_s + QChar(0) + u"b"_s << false;
        QTest::newRow("lone high surrogate") << u"/tmp/"_s + units({0xD800}) << false;
        QTest::newRow("low surrogate below the escapes") << u"/tmp/"_s + units({0xDC7F}) << false;
        QTest::newRow("escapes spelling é") << u"/tmp/"_s + units({0xDCC3, 0xDCA9}) << false;
        QTest::newRow("escapes spelling U+FFFD") << u"/tmp/"_s + units({0xDCEF, 0xDCBF, 0xDCBD}) << false;
    }

    void kernelTakesOnlyExactAbsolutePaths()
    {
        QFETCH(QString, path);
        QFETCH(bool, taken);
        const std::optional<QByteArray> bytes = kernelPath(path);
        QCOMPARE(bytes.has_value(), taken);
        QCOMPARE(bytes.value_or(QByteArray()), taken ? encodeFileName(path) : QByteArray());
        QCOMPARE(fileUrlOf(path).isValid(), taken);
    }

    void visibleForm_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("shown");
        QTest::newRow("plain") << u"照片 1.jpg"_s << u"照片 1.jpg"_s;
        QTest::newRow("GBK") << kGbk << u"\\xB2\\xE2\\xCA\\xD4.jpg"_s;
        QTest::newRow("backslash kept") << u"a\\b.txt"_s << u"a\\b.txt"_s;
        QTest::newRow("backslash at the end") << u"a\\"_s << u"a\\"_s;
        QTest::newRow("text that looks escaped") << u"\\xB2.jpg"_s << u"\\\\xB2.jpg"_s;
        QTest::newRow("backslash, then a byte") << u"\\"_s + units({0xDCB2}) << u"\\\\\\xB2"_s;
        QTest::newRow("two backslashes") << u"\\\\n"_s << u"\\\\\\n"_s;
        QTest::newRow("CR LF, tab") << u"a\r\n\tb"_s << u"a\\x0D\\x0A\\x09b"_s;
        QTest::newRow("C1 control, as its bytes") << u"a\u0085"_s << u"a\\xC2\\x85"_s;
        QTest::newRow("real U+FFFD") << u"\uFFFD"_s << u"\uFFFD"_s;
    }

    void visibleForm()
    {
        QFETCH(QString, text);
        QFETCH(QString, shown);
        QCOMPARE(visibleFileName(text), shown);
    }

    void fileUrlsCarryTheBytes_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QByteArray>("url");
        QTest::newRow("UTF-8") << u"/tmp/测试.jpg"_s << "file:///tmp/%E6%B5%8B%E8%AF%95.jpg"_ba;
        QTest::newRow("GBK") << u"/tmp/"_s + kGbk << "file:///tmp/%B2%E2%CA%D4.jpg"_ba;
        QTest::newRow("real U+FFFD") << u"/tmp/\uFFFD"_s << "file:///tmp/%EF%BF%BD"_ba;
        QTest::newRow("URL syntax in a name") << u"/tmp/a b#1?%.txt"_s << "file:///tmp/a%20b%231%3F%25.txt"_ba;
        QTest::newRow("root") << u"/"_s << "file:///"_ba;
    }

    void fileUrlsCarryTheBytes()
    {
        QFETCH(QString, path);
        QFETCH(QByteArray, url);
        QCOMPARE(fileUrlOf(path).toEncoded(), url);
        QCOMPARE(pathFromFileUrl(QUrl::fromEncoded(url)), path);
        QMimeData drop;   // as a file manager's drop carries it
        drop.setData(u"text/uri-list"_s, url + "\r\n");
        QCOMPARE(pathFromFileUrl(drop.urls().value(0)), path);
    }

    void urlsThatNameNoLocalFile_data()
    {
        QTest::addColumn<QByteArray>("url");
        QTest::addColumn<QString>("path");
        QTest::newRow("localhost") << "file://localhost/tmp/a"_ba << u"/tmp/a"_s;
        QTest::newRow("web") << "https://example.org/a"_ba << QString();
        QTest::newRow("other host") << "file://elsewhere/tmp/a"_ba << QString();
        QTest::newRow("relative") << "file:a.txt"_ba << QString();
        QTest::newRow("encoded slash") << "file:///tmp/a%2Fb"_ba << QString();
        QTest::newRow("encoded NUL") << "file:///tmp/a%00b"_ba << QString();
        QTest::newRow("query") << "file:///tmp/a?b.txt"_ba << QString();
        QTest::newRow("fragment") << "file:///tmp/a#1.jpg"_ba << QString();
    }

    void urlsThatNameNoLocalFile()
    {
        QFETCH(QByteArray, url);
        QFETCH(QString, path);
        QCOMPARE(pathFromFileUrl(QUrl::fromEncoded(url)), path);
    }
};

QTEST_MAIN(TstFileNames)
#include "tst_filenames.moc"
