// Renaming without replacing, on real files: an existing target is never touched, and the
// link-and-unlink way taken where a file system refuses the flag keeps that promise.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>

#include "platform/renamefile.h"
#include "testwindow.h"

namespace {

int refuseFlag(const char *, const char *)
{
    errno = EINVAL;
    return -1;
}

} // namespace

class TstRenameFile : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void cleanup() { setRenameNoReplaceCallForTests(nullptr); }

    void outcomes_data()
    {
        QTest::addColumn<bool>("flagRefused");
        for (bool refused : {false, true}) {
            const QByteArray way = refused ? "link and unlink" : "kernel flag";
            QTest::newRow(way) << refused;
        }
    }

    void outcomes()
    {
        QFETCH(bool, flagRefused);
        if (flagRefused)
            setRenameNoReplaceCallForTests(refuseFlag);
        QTemporaryDir dir;
        const QString a = makeFile(dir.path() + QStringLiteral("/a.jpg"), "source");
        const QString kept = makeFile(dir.path() + QStringLiteral("/kept.jpg"), "keep me");

        // An existing target keeps its content, and the source stays where it was.
        FsResult r = renameNoReplace(a, kept);
        QCOMPARE(r.number, EEXIST);
        QVERIFY(!r.description.isEmpty());
        QCOMPARE(contentOf(kept), QByteArray("keep me"));
        QCOMPARE(contentOf(a), QByteArray("source"));

        r = renameNoReplace(a, dir.path() + QStringLiteral("/文件0.jpg"));
        QVERIFY2(r.ok(), qPrintable(r.description));
        QVERIFY(!QFile::exists(a));
        QCOMPARE(contentOf(dir.path() + QStringLiteral("/文件0.jpg")), QByteArray("source"));

        QCOMPARE(renameNoReplace(a, dir.path() + QStringLiteral("/b.jpg")).number, ENOENT);
        QCOMPARE(renameNoReplace(kept, dir.path() + QStringLiteral("/no/such/folder.jpg")).number, ENOENT);
        QCOMPARE(contentOf(kept), QByteArray("keep me"));

        // Keeping one's own name succeeds and keeps the file, when there is a file.
        QVERIFY(renameNoReplace(kept, kept).ok());
        QCOMPARE(contentOf(kept), QByteArray("keep me"));
        QCOMPARE(renameNoReplace(a, a).number, ENOENT);
    }
};

QTEST_APPLESS_MAIN(TstRenameFile)
#include "tst_renamefile.moc"
