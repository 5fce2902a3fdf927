// Cutting paths into folder, file name, bare name and extension.
#include <QTest>

#include <cerrno>

#include "app/pathpieces.h"

class TstPathPieces : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void pieces_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("dir");
        QTest::addColumn<QString>("rel");
        QTest::addColumn<QString>("mid");   // null: GetMidName fails
        QTest::addColumn<QString>("ext");
        const struct {
            const char *name, *path, *dir, *rel, *mid, *ext;
        } rows[] = {
            {"plain", "/a/photo.jpg", "/a/", "photo.jpg", "photo", ".jpg"},
            {"two dots", "/a/photo.2010.jpg", "/a/", "photo.2010.jpg", "photo.2010", ".jpg"},
            {"leading dot", "/a/.profile", "/a/", ".profile", "", ".profile"},
            {"trailing dot", "/a/name.", "/a/", "name.", "name", "."},
            {"no dot", "/a/readme", "/a/", "readme", nullptr, ""},
            {"dot in folder", "/a.b/readme", "/a.b/", "readme", nullptr, ".b/readme"},
            {"bare name", "photo.jpg", "", "photo.jpg", "photo", ".jpg"},
            {"folder only", "/a/", "/a/", "", nullptr, ""},
            {"dots in folder and name", "/a.b/c.d", "/a.b/", "c.d", "c", ".d"},
            {"root file", "/x.txt", "/", "x.txt", "x", ".txt"},
            {"backslash is a name's character", "/a/b\\c.txt", "/a/", "b\\c.txt", "b\\c", ".txt"},
            {"empty", "", "", "", nullptr, ""},
        };
        for (const auto &r : rows)
            QTest::newRow(r.name) << QString::fromUtf8(r.path) << QString::fromUtf8(r.dir) << QString::fromUtf8(r.rel)
                                  << (r.mid ? QString::fromUtf8(r.mid) : QString()) << QString::fromUtf8(r.ext);
    }

    void pieces()
    {
        QFETCH(QString, path);
        QFETCH(QString, dir);
        QFETCH(QString, rel);
        QFETCH(QString, mid);
        QFETCH(QString, ext);
        QCOMPARE(GetDir(path), dir);
        QCOMPARE(GetRelPath(path), rel);
        QCOMPARE(GetHouZhui(path), ext);
        const TextResult m = GetMidName(path);
        if (mid.isNull()) {
            QCOMPARE(m.error.number, EINVAL);
            QVERIFY(!m.error.description.isEmpty());
        } else {
            QVERIFY(m.ok());
            QCOMPARE(m.text, mid);
            // Folder, bare name and extension give the path back.
            QCOMPARE(dir + m.text + ext, path);
        }
    }
};

QTEST_MAIN(TstPathPieces)
#include "tst_pathpieces.moc"
