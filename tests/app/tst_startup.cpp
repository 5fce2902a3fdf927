// Start-up and closing of the main window: the last folder restored from FilePath.ini and
// written back, through the real window on real folders.
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>

#include "app/profile.h"
#include "testwindow.h"

class TstStartup : public QObject {
    Q_OBJECT

private:
    static QString savedValue(const TestWindow &w)
    {
        return readProfileString(w.iniPath(), QStringLiteral("path"), QStringLiteral("value"))
            .value_or(QStringLiteral("<none>"));
    }

private Q_SLOTS:
    void firstStartShowsAppFolderAndCloseCreatesIni()
    {
        TestWindow w;
        makeFile(w.appDir() + QStringLiteral("/a.txt"));
        QVERIFY(!QFile::exists(w.iniPath()));
        // The window was made before a.txt existed; the saved state is what matters.
        QCOMPARE(w->dir1Path(), QDir::cleanPath(w.appDir()));
        QCOMPARE(w->CurrentFolder, QDir::cleanPath(w.appDir()) + u'/');
        QCOMPARE(w->ActiveList, qint16(2));
        QVERIFY(w->ProgressBar1->isHidden());
        QCOMPARE(w->List1->count(), 0);
        QVERIFY(w->close());
        QCOMPARE(savedValue(w), QDir::cleanPath(w.appDir()));
    }

    void restoresSavedFolder()
    {
        QTemporaryDir photos;
        makeFile(photos.path() + QStringLiteral("/b.jpg"));
        makeFile(photos.path() + QStringLiteral("/a.jpg"));
        TestWindow w(photos.path());
        QCOMPARE(w->dir1Path(), photos.path());
        QCOMPARE(w->CurrentFolder, photos.path() + u'/');
        QCOMPARE(w->File1->count(), 2);
        QCOMPARE(w->File1->item(0)->text(), QStringLiteral("a.jpg"));
        QVERIFY(!w->Drive1->currentText().isEmpty());
        QVERIFY(photos.path().startsWith(w->Drive1->currentText()));
    }

    void restoresVolumeRootWithOneSeparator()
    {
        TestWindow w(QStringLiteral("/"));
        QCOMPARE(w->dir1Path(), QStringLiteral("/"));
        QCOMPARE(w->CurrentFolder, QStringLiteral("/"));
        QCOMPARE(w->Drive1->currentText(), QStringLiteral("/"));
        w->close();
        QCOMPARE(savedValue(w), QStringLiteral("/"));
    }

    void vanishedFolderFallsBackToNearestAncestor_data()
    {
        QTest::addColumn<QString>("tail");
        QTest::newRow("deleted folder") << QStringLiteral("/gone");
        QTest::newRow("deep chain") << QStringLiteral("/gone/deeper/still");
    }

    void vanishedFolderFallsBackToNearestAncestor()
    {
        QFETCH(QString, tail);
        QTemporaryDir parent;
        TestWindow w(parent.path() + tail);
        QCOMPARE(w->dir1Path(), parent.path());
        QCOMPARE(w->CurrentFolder, parent.path() + u'/');
    }

    void emptySavedValueShowsAppFolder()
    {
        TestWindow w(QStringLiteral(""));
        QCOMPARE(w->dir1Path(), QDir::cleanPath(w.appDir()));
    }

    void closeKeepsOtherSettingsAndRewritesSameValue()
    {
        QTemporaryDir folder;
        TestWindow w(folder.path());
        {
            QFile ini(w.iniPath());
            QVERIFY(ini.open(QIODevice::Append));
            ini.write("; kept\n[other]\nk=v\n");
        }
        w->close();
        QFile ini(w.iniPath());
        QVERIFY(ini.open(QIODevice::ReadOnly));
        const QByteArray content = ini.readAll();
        QVERIFY(content.contains("; kept\n[other]\nk=v\n"));
        QCOMPARE(savedValue(w), folder.path());
    }

    void folderWithLineBreakKeepsLastStorableValue()
    {
        QTemporaryDir parent;
        const QString odd = parent.path() + QStringLiteral("/two\nlines");
        QVERIFY(QDir().mkpath(odd));
        TestWindow w(parent.path());
        w->setDir1(odd);
        QCOMPARE(w->CurrentFolder, odd + u'/');
        w->close();
        QCOMPARE(savedValue(w), parent.path());
    }

    void windowShowsCaptionsAndStartsUnlocked()
    {
        TestWindow w;
        QCOMPARE(w->windowTitle(), QStringLiteral("Quillmere1.7"));
        QCOMPARE(w->Command2->text(), QStringLiteral("开始命名"));
        QCOMPARE(w->List1->toolTip(), QStringLiteral("可直接拖放文件到列表。"));
        const QList<QWidget *> controls{w->Command2, w->List1, w->File1, w->Text4};
        for (QWidget *c : controls)
            QVERIFY(c->isEnabled());
    }
};

QTEST_MAIN(TstStartup)
#include "tst_startup.moc"
