// The new path of an entry from the four fields: every row of the tails table, on both
// separators, and the names it cannot build.
#include <QTest>

#include <cerrno>

#include "rename/newname.h"

class TstNewName : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void tails_data()
    {
        QTest::addColumn<QString>("sep");
        QTest::addColumn<QString>("src");
        QTest::addColumn<QString>("base");
        QTest::addColumn<bool>("hasStart");
        QTest::addColumn<QString>("ext");
        QTest::addColumn<QString>("expected");
        for (const QString sep : {QStringLiteral("/"), QStringLiteral("\\")}) {
            const auto p = [&](const char *path) { return QString::fromUtf8(path).replace(u'/', sep); };
            const QByteArray s = sep == u'/' ? "slash: " : "backslash: ";
            QTest::newRow(s + "base, ext, start") << sep << p("/p/a.jpg") << "文件" << true << ".txt" << p("/p/文件7.txt");
            QTest::newRow(s + "base, ext, no start") << sep << p("/p/a.jpg") << "文件" << false << ".txt" << p("/p/文件.txt");
            QTest::newRow(s + "base, own ext, start") << sep << p("/p/a.jpg") << "文件" << true << "" << p("/p/文件7.jpg");
            QTest::newRow(s + "base, own ext, no start") << sep << p("/p/a.jpg") << "文件" << false << "" << p("/p/文件.jpg");
            QTest::newRow(s + "own name, ext") << sep << p("/p/a.b.jpg") << "" << true << ".txt" << p("/p/a.b.txt");
            QTest::newRow(s + "own name, own ext") << sep << p("/p/a.b.jpg") << "" << false << "" << p("/p/a.b.jpg");
            QTest::newRow(s + "ext typed without full stop") << sep << p("/p/a.jpg") << "文件" << true << "jpg" << p("/p/文件7jpg");
            QTest::newRow(s + "blank base is a base") << sep << p("/p/a.jpg") << " " << true << "" << p("/p/ 7.jpg");
            QTest::newRow(s + "hidden-style name keeps all of it") << sep << p("/p/.profile") << "" << true << "" << p("/p/.profile");
            QTest::newRow(s + "no folder") << sep << "a.jpg" << "x" << true << "" << "x7.jpg";
            // The kept extension is taken from the last full stop anywhere, folder included.
            QTest::newRow(s + "full stop only in folder") << sep << p("/a.b/readme") << "文件" << true << "" << p("/a.b/文件7.b/readme");
        }
    }

    void tails()
    {
        QFETCH(QString, sep);
        QFETCH(QString, src);
        QFETCH(QString, base);
        QFETCH(bool, hasStart);
        QFETCH(QString, ext);
        QFETCH(QString, expected);
        const TextResult r = buildNewPath(src, NewNameFields{base, hasStart, ext}, QStringLiteral("7"), sep.at(0));
        QVERIFY(r.ok());
        QCOMPARE(r.text, expected);
    }

    // Names that cannot be built fail with EINVAL and leave the entry as it was: the file's own
    // bare name of a name without a full stop, and typed texts that would take the file out of
    // its folder or cut its name short.
    void refusedNames_data()
    {
        QTest::addColumn<QString>("src");
        QTest::addColumn<QString>("base");
        QTest::addColumn<QString>("ext");
        QTest::newRow("own bare name, own extension") << QStringLiteral("/p/readme") << QString() << QString();
        QTest::newRow("own bare name, new extension") << QStringLiteral("/p/readme") << QString() << QStringLiteral(".txt");
        QTest::newRow("own bare name, folder with full stop") << QStringLiteral("/a.b/readme") << QString() << QString();
        QTest::newRow("own bare name, path ends in separator") << QStringLiteral("/p/") << QString() << QString();
        QTest::newRow("separator in the base name") << QStringLiteral("/p/a.jpg") << QStringLiteral("sub/文件") << QString();
        QTest::newRow("separator in the extension") << QStringLiteral("/p/a.jpg") << QStringLiteral("文件") << QStringLiteral("/.jpg");
        QTest::newRow("NUL in the base name") << QStringLiteral("/p/a.jpg") << (QStringLiteral("文件") + QChar(0)) << QString();
    }

    void refusedNames()
    {
        QFETCH(QString, src);
        QFETCH(QString, base);
        QFETCH(QString, ext);
        const TextResult r = buildNewPath(src, NewNameFields{base, true, ext}, QStringLiteral("0"));
        QCOMPARE(r.error.number, EINVAL);
        QVERIFY(!r.error.description.isEmpty());
    }
};

QTEST_APPLESS_MAIN(TstNewName)
#include "tst_newname.moc"
