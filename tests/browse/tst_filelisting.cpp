// The file pane's listing: the order of its sort keys against a plain sort with the natural
// comparison as it walks two names, and what a real folder lists.
#include <QRegularExpression>

#include <algorithm>
#include <random>
#include <sys/stat.h>

#include "browse/filelisting.h"
#include "browse/patterns.h"
#include "platform/direntries.h"
#include "platform/filenames.h"
#include "testwindow.h"

namespace {

bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

// Random names of the given pieces, some also written with their case flipped, with a digit
// changed too, doubled, and with extra leading zeros, so that names that are equal or nearly
// equal in natural order come up often.
QStringList randomNames(const QString &letters, int maxDigits, int count)
{
    std::mt19937 random(20261207);
    const auto pick = [&](int n) { return int(random() % unsigned(n)); };
    QStringList names;
    while (names.size() < count) {
        QString name;
        for (int piece = pick(8); piece >= 0; --piece) {
            if (pick(3) == 0) {
                name += QString(pick(3), u'0');
                for (int d = 1 + pick(maxDigits); d > 0; --d)
                    name += QChar(u'0' + pick(10));
            } else {
                name += letters.isEmpty() ? QChar(char16_t(random())) : letters[pick(int(letters.size()))];
            }
        }
        names << name;
        if (pick(3) == 0) {
            QString flipped = name;
            for (QChar &c : flipped)
                c = c.isUpper() ? c.toLower() : c.toUpper();
            QString bumped = flipped;   // each run's last digit changed as well
            for (qsizetype i = 0; i < bumped.size(); ++i) {
                if (isDigit(bumped[i]) && (i + 1 == bumped.size() || !isDigit(bumped[i + 1])))
                    bumped[i] = QChar(u'0' + (bumped[i].unicode() - u'0' + 1) % 10);
            }
            names << flipped << bumped << flipped + name
                  << QString(name).replace(QRegularExpression(QStringLiteral("(\\d+)")), QStringLiteral("0\\1"));
        }
    }
    return names;
}

} // namespace

class TstFileListing : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void keyOrderIsTheNaturalOrder_data()
    {
        QTest::addColumn<QString>("letters");
        QTest::addColumn<int>("maxDigits");
        QTest::newRow("ASCII of both cases") << QStringLiteral("aAbBzZ._ -~") << 4;
        QTest::newRow("numbers beyond 64 bits") << QStringLiteral("xX.") << 40;
        QTest::newRow("runs about the one-byte length") << QStringLiteral("a") << 300;
        QTest::newRow("CJK, accents, folding letters") << QStringLiteral("文件图片ÄäÖößẞÉéſKkΣσς😀.a1") << 6;
        QTest::newRow("any code unit") << QString() << 3;
    }

    void keyOrderIsTheNaturalOrder()
    {
        QFETCH(QString, letters);
        QFETCH(int, maxDigits);
        QStringList names = randomNames(letters, maxDigits, 4000);
        names << QString() << QStringLiteral("0") << QStringLiteral("00");
        QStringList expected = names;
        std::sort(expected.begin(), expected.end(), naturalLess);
        sortNaturally(names);
        QCOMPARE(names, expected);
    }

    // A digit run's key sorts where its first digit would, which holds only while no other
    // character folds to a digit.
    void onlyDigitsFoldToDigits()
    {
        for (char32_t u = 0; u <= 0xFFFF; ++u) {
            const QChar folded = QChar(char16_t(u)).toCaseFolded();
            QVERIFY((folded >= u'0' && folded <= u'9') == (u >= U'0' && u <= U'9'));
        }
    }

    // Plain files and links to them, not hidden, that match; in natural order.
    void paneListsVisibleFilesThatMatch()
    {
        QTemporaryDir root;
        for (const char *name : {"a10.txt", "a2.TXT", "photo.jpg", ".hidden.txt", ".git/config.txt"})
            makeFile(root.filePath(QLatin1String(name)));
        QVERIFY(QDir(root.path()).mkdir(QStringLiteral("folder.txt")));
        QVERIFY(QFile::link(root.filePath(QStringLiteral("a10.txt")), root.filePath(QStringLiteral("link.txt"))));
        QVERIFY(QFile::link(root.filePath(QStringLiteral("gone")), root.filePath(QStringLiteral("dangling.txt"))));
        QVERIFY(QFile::link(root.filePath(QStringLiteral("folder.txt")), root.filePath(QStringLiteral("dirlink.txt"))));
        QCOMPARE(::mkfifo(QFile::encodeName(root.filePath(QStringLiteral("pipe.txt"))).constData(), 0600), 0);
        QCOMPARE(listPaneFiles(root.path(), NamePatterns(QStringLiteral("*.*"))),
                 (QStringList{"a2.TXT", "a10.txt", "link.txt", "photo.jpg"}));
        QCOMPARE(listPaneFiles(root.path(), NamePatterns(QStringLiteral("*.jpg;l*"))),
                 (QStringList{"link.txt", "photo.jpg"}));
    }

    // Names that are not UTF-8 are listed each as itself, beside a name that really holds
    // U+FFFD, and the pane's delete removes the very file its entry names.
    void paneKeepsEveryNameExact()
    {
        QTemporaryDir root;
        QList<QByteArray> raw{"\xb2\xe2\xca\xd4.jpg", "\xef\xbf\xbd.txt", "\xfe.txt", "\xff.txt"};
        QSet<QString> names;
        for (const QByteArray &name : raw)
            names << makeRawFile(root.path(), name).mid(root.path().size() + 1);
        TestWindow w(root.path());
        const QStringList listed = entries(w->File1);
        QCOMPARE(QSet<QString>(listed.cbegin(), listed.cend()), names);
        w->ActiveList = 2;
        selectRow(w->File1, int(listed.indexOf(decodeFileName(raw.last()))));
        w->Command1_Click();
        raw.removeLast();
        QCOMPARE(rawNamesIn(root.path()), raw);
    }
};

QTEST_MAIN(TstFileListing)
#include "tst_filelisting.moc"
