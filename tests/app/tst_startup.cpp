// Start-up and closing of the main window: the last folder restored from FilePath.ini and
// written back, through the real window on real folders.
#include <QComboBox>
#include <QDir>
#include <QTest>

#include "app/profile.h"
#include "testwindow.h"

namespace {

QString savedValue(const TestWindow &w)
{
    return readProfileString(w.iniPath(), QStringLiteral("path"), QStringLiteral("value"))
        .value_or(QStringLiteral("<none>"));
}

} // namespace

class TstStartup : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // "<tmp>" stands for a folder with files, "<app>" for the program's own folder.
    void startFolderAndWhatCloseSaves_data()
    {
        QTest::addColumn<QString>("saved");
        QTest::addColumn<QString>("shown");
        QTest::newRow("saved folder") << "<tmp>" << "<tmp>";
        QTest::newRow("volume root, one separator") << "/" << "/";
        QTest::newRow("deleted folder: nearest ancestor") << "<tmp>/gone" << "<tmp>";
        QTest::newRow("deleted chain") << "<tmp>/gone/deeper/still" << "<tmp>";
        QTest::newRow("empty value") << "" << "<app>";
        QTest::newRow("first start, no file") << QString() << "<app>";
    }

    void startFolderAndWhatCloseSaves()
    {
        QFETCH(QString, saved);
        QFETCH(QString, shown);
        QTemporaryDir tmp;
        makeFile(tmp.path() + QStringLiteral("/b.jpg"));
        makeFile(tmp.path() + QStringLiteral("/a.jpg"));
        TestWindow w(saved.isNull() ? saved : saved.replace(QStringLiteral("<tmp>"), tmp.path()));
        shown.replace(QStringLiteral("<tmp>"), tmp.path()).replace(QStringLiteral("<app>"), QDir::cleanPath(w.appDir()));
        QCOMPARE(w->dir1Path(), shown);
        QCOMPARE(w->CurrentFolder, shown == u'/' ? shown : shown + u'/');
        QVERIFY(shown.startsWith(w->Drive1->currentText()));
        if (shown == tmp.path())
            QCOMPARE(entries(w->File1), (QStringList{"a.jpg", "b.jpg"}));
        QVERIFY(w->close());
        QCOMPARE(savedValue(w), shown);
    }
};

QTEST_MAIN(TstStartup)
#include "tst_startup.moc"
