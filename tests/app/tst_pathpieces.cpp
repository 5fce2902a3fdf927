// Cutting paths into folder, file name, bare name and extension, with either separator.
#include <QTest>

#include <cerrno>

#include "app/pathpieces.h"

namespace {

const QString kFails = QStringLiteral("<fails>");

QString mirrored(QString s)
{
    return s.replace(u'\\', u'/');
}

} // namespace

class TstPathPieces : public QObject {
    Q_OBJECT

private:
    static void addTable(bool slash)
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("dir");
        QTest::addColumn<QString>("rel");
        QTest::addColumn<QString>("mid");
        QTest::addColumn<QString>("ext");
        struct Row {
            const char *name, *path, *dir, *rel, *mid, *ext;
        };
        const Row rows[] = {
            {"plain", "C:\\a\\photo.jpg", "C:\\a\\", "photo.jpg", "photo", ".jpg"},
            {"two dots", "C:\\a\\photo.2010.jpg", "C:\\a\\", "photo.2010.jpg", "photo.2010", ".jpg"},
            {"leading dot", "C:\\a\\.profile", "C:\\a\\", ".profile", "", ".profile"},
            {"trailing dot", "C:\\a\\name.", "C:\\a\\", "name.", "name", "."},
            {"no dot", "C:\\a\\readme", "C:\\a\\", "readme", "<fails>", ""},
            {"dot in folder", "C:\\a.b\\readme", "C:\\a.b\\", "readme", "<fails>", ".b\\readme"},
            {"bare name", "photo.jpg", "", "photo.jpg", "photo", ".jpg"},
            {"folder only", "C:\\a\\", "C:\\a\\", "", "<fails>", ""},
            {"dots in folder and name", "C:\\a.b\\c.d", "C:\\a.b\\", "c.d", "c", ".d"},
            {"root file", "\\x.txt", "\\", "x.txt", "x", ".txt"},
            {"empty", "", "", "", "<fails>", ""},
        };
        for (const Row &r : rows) {
            auto q = [slash](const char *s) {
                const QString t = QString::fromUtf8(s);
                return slash ? mirrored(t) : t;
            };
            QTest::newRow(r.name) << q(r.path) << q(r.dir) << q(r.rel) << QString::fromUtf8(r.mid)
                                  << q(r.ext);
        }
    }

    static void checkRow(QChar sep)
    {
        QFETCH(QString, path);
        QFETCH(QString, dir);
        QFETCH(QString, rel);
        QFETCH(QString, mid);
        QFETCH(QString, ext);
        QCOMPARE(GetDir(path, sep), dir);
        QCOMPARE(GetRelPath(path, sep), rel);
        QCOMPARE(GetHouZhui(path), ext);
        const TextResult m = GetMidName(path, sep);
        if (mid == kFails) {
            QVERIFY(!m.ok());
            QCOMPARE(m.error.number, EINVAL);
            QVERIFY(!m.error.description.isEmpty());
        } else {
            QVERIFY(m.ok());
            QCOMPARE(m.text, mid);
            // Folder, bare name and extension give the path back.
            QCOMPARE(GetDir(path, sep) + m.text + GetHouZhui(path), path);
        }
    }

private Q_SLOTS:
    void backslashTable_data() { addTable(false); }
    void backslashTable() { checkRow(u'\\'); }
    void slashTable_data() { addTable(true); }
    void slashTable() { checkRow(u'/'); }

    void otherSeparatorIsAnOrdinaryCharacter()
    {
        QCOMPARE(GetDir(QStringLiteral("C:/a/b.txt"), u'\\'), QString());
        QCOMPARE(GetRelPath(QStringLiteral("C:/a/b.txt"), u'\\'), QStringLiteral("C:/a/b.txt"));
        QCOMPARE(GetRelPath(QStringLiteral("/a/b\\c.txt")), QStringLiteral("b\\c.txt"));
    }
};

QTEST_MAIN(TstPathPieces)
#include "tst_pathpieces.moc"
