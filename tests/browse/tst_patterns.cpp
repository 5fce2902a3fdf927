// File-name patterns of the filter box, and the first-match lookup that honours them in paths.
#include "browse/patterns.h"
#include "platform/filelookup.h"
#include "platform/filenames.h"
#include "testwindow.h"

Q_DECLARE_METATYPE(LookupKind)

using namespace Qt::StringLiterals;

class TstPatterns : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void matching_data()
    {
        QTest::addColumn<QString>("patterns");
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("matches");
        const struct {
            const char *patterns, *name;
            bool matches;
        } rows[] = {
            {"*.*", "a.txt", true}, {"*.*", "readme", true}, {"*.*", ".profile", true},
            {"*", "readme", true}, {"*.jpg", "A.JPG", true}, {"*.JPG", "a.jpg", true},
            {"*.jpg", "a.jpeg", false}, {"*.jpg", "a.jpg.bak", false}, {"*.jpg", "jpg", false},
            {"*.jpg;*.png", "b.png", true}, {"*.jpg;*.png", "c.gif", false},
            {"*.jpg;*.*", "readme", true}, {"a?.txt", "ab.txt", true}, {"a?.txt", "abc.txt", false},
            {"a?.txt", "a.txt", false}, {"*.jpg;", "x.jpg", true}, {";*.png", "x.png", true},
            {"", "x", false}, {";;", "x", false}, {"[ab].txt", "[ab].txt", true},
            {"[ab].txt", "a.txt", false}, {"a.c", "abc", false}, {"a+b(1)^$.txt", "A+B(1)^$.TXT", true},
            {"照片*", "照片1.jpg", true}, {"*.É", "x.é", true}, {"a*", "a\nb", true},
            {"readme", "readme", true}, {"readme", "readme2", false},
        };
        for (const auto &r : rows)
            QTest::newRow(qPrintable(QStringLiteral("%1 ~ %2").arg(QString::fromUtf8(r.patterns),
                                                                   QString::fromUtf8(r.name))))
                << QString::fromUtf8(r.patterns) << QString::fromUtf8(r.name) << r.matches;
        // Bytes that are not UTF-8 are characters like any other.
        QTest::newRow("*.jpg ~ GBK name") << u"*.JPG"_s << decodeFileName("\xb2\xe2.jpg") << true;
        QTest::newRow("?.txt ~ one stray byte") << u"?.txt"_s << decodeFileName("\xff.txt") << true;
    }

    void matching()
    {
        QFETCH(QString, patterns);
        QFETCH(QString, name);
        QFETCH(bool, matches);
        QCOMPARE(NamePatterns(patterns).matches(name), matches);
    }

    void findFirst_data()
    {
        // Relative to a folder prepared below; "/" starts absolute, "./" is passed on as it is
        // while that folder is the working folder.
        QTest::addColumn<QString>("path");
        QTest::addColumn<LookupKind>("kind");
        QTest::addColumn<bool>("found");
        const auto any = LookupKind::Any;
        const auto plain = LookupKind::PlainFiles;
        QTest::newRow("file, any") << "seen.txt" << any << true;
        QTest::newRow("file, plain") << "seen.txt" << plain << true;
        QTest::newRow("name case counts for a literal path") << "SEEN.TXT" << any << false;
        QTest::newRow("missing") << "missing.txt" << any << false;
        QTest::newRow("folder, any") << "sub" << any << true;
        QTest::newRow("folder, plain") << "sub" << plain << false;
        QTest::newRow("trailing slash") << "sub/" << any << false;
        QTest::newRow("hidden, any") << ".hidden" << any << true;
        QTest::newRow("hidden, plain") << ".hidden" << plain << false;
        QTest::newRow("link to a file, plain") << "link.txt" << plain << true;
        QTest::newRow("dangling link") << "dangling" << any << false;
        QTest::newRow("wildcard matches a file") << "s*.t?t" << plain << true;
        QTest::newRow("wildcard ignores case") << "*.TXT" << plain << true;
        QTest::newRow("wildcard matches nothing") << "*.jpg" << any << false;
        QTest::newRow("wildcard on a folder, any") << "su?" << any << true;
        QTest::newRow("wildcard on a folder, plain") << "su?" << plain << false;
        QTest::newRow("wildcard on a hidden file, plain") << ".h*" << plain << false;
        QTest::newRow("wildcard on a hidden file, any") << ".h*" << any << true;
        QTest::newRow("semicolon is part of the name") << "seen;*" << any << false;
        QTest::newRow("semicolon name found") << "a;b*" << plain << true;
        QTest::newRow("wildcard in the folder part") << "s*/inner.txt" << any << false;
        QTest::newRow("inside a subfolder") << "sub/inner.*" << plain << true;
        QTest::newRow("missing folder") << "/no/such/folder/*.*" << plain << false;
        QTest::newRow("empty") << "" << any << false;
        QTest::newRow("relative, even where it is") << "./seen.txt" << any << false;
        QTest::newRow("NUL cuts nothing short") << u"seen.txt"_s + QChar(0) + u"x"_s << any << false;
        QTest::newRow("name not UTF-8") << decodeFileName("\xb2\xe2.png") << plain << true;
        QTest::newRow("another stray byte") << decodeFileName("\xfe.txt") << plain << false;
        QTest::newRow("U+FFFD is not a stray byte") << u"\uFFFD.txt"_s << plain << false;
        QTest::newRow("wildcard after a stray byte") << decodeFileName("\xb2*") << plain << true;
    }

    void findFirst()
    {
        QFETCH(QString, path);
        QFETCH(LookupKind, kind);
        QFETCH(bool, found);
        TempFolder dir;
        for (const char *n : {"seen.txt", ".hidden", "a;b.txt", "sub/inner.txt"})
            makeFile(dir.filePath(QString::fromUtf8(n)));
        for (const QByteArray &n : {"\xb2\xe2.png"_ba, "\xff.txt"_ba})
            makeRawFile(dir.path(), n);
        QVERIFY(QFile::link(dir.filePath(QStringLiteral("seen.txt")), dir.filePath(QStringLiteral("link.txt"))));
        QVERIFY(QFile::link(dir.filePath(QStringLiteral("gone")), dir.filePath(QStringLiteral("dangling"))));
        const QString full = path.isEmpty() || path.startsWith(u'/') || path.startsWith(u"./") ? path : dir.path() + u'/' + path;
        const QString before = QDir::currentPath();
        QDir::setCurrent(dir.path());
        const bool result = ::findFirst(full, kind);
        QDir::setCurrent(before);
        QCOMPARE(result, found);
    }
};

QTEST_MAIN(TstPatterns)
#include "tst_patterns.moc"
