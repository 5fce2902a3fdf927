// The drive list, folder tree and file pane kept in step, the filter, the refresh and the
// record of the list last focused; through the real widgets on real folders.
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeView>

#include "testwindow.h"

class TstPanes : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void folderChangeSetsCurrentFolderWithOneSeparator_data()
    {
        QTest::addColumn<QString>("sub");
        QTest::newRow("folder") << QStringLiteral("photos");
        QTest::newRow("nested") << QStringLiteral("a/b");
        QTest::newRow("trailing separator given") << QStringLiteral("c/");
    }

    void folderChangeSetsCurrentFolderWithOneSeparator()
    {
        QFETCH(QString, sub);
        QTemporaryDir root;
        QVERIFY(QDir(root.path()).mkpath(sub));
        makeFile(root.path() + u'/' + sub + QStringLiteral("/x.txt"));
        TestWindow w(root.path());
        w->setDir1(root.path() + u'/' + sub);
        const QString expected = QDir::cleanPath(root.path() + u'/' + sub) + u'/';
        QCOMPARE(w->CurrentFolder, expected);
        QVERIFY(!w->CurrentFolder.endsWith(QStringLiteral("//")));
        QCOMPARE(entries(w->File1), QStringList{QStringLiteral("x.txt")});
    }

    void driveChangeOpensVolumeRoot()
    {
        QTemporaryDir root;
        TestWindow w(root.path());
        // Another volume first, so that choosing "/" is a change.
        w->Drive1->addItem(QStringLiteral("/dev"));
        w->Drive1->setCurrentIndex(w->Drive1->count() - 1);
        QCOMPARE(w->CurrentFolder, QStringLiteral("/dev/"));
        w->Drive1->setCurrentIndex(w->Drive1->findText(QStringLiteral("/")));
        QCOMPARE(w->dir1Path(), QStringLiteral("/"));
        QCOMPARE(w->CurrentFolder, QStringLiteral("/"));
        QVERIFY(w.dialogs.boxes.isEmpty());
    }

    void driveNotReadyShowsCodeAndDescriptionAndKeepsFolder()
    {
        QTemporaryDir root;
        TestWindow w(root.path());
        w->Drive1->addItem(QStringLiteral("/no-such-volume-here"));
        w->Drive1->setCurrentIndex(w->Drive1->count() - 1);
        QCOMPARE(w.dialogs.boxes.size(), 1);
        const auto &box = w.dialogs.boxes.first();
        QVERIFY2(box.text.startsWith(QStringLiteral("2 ")), qPrintable(box.text));
        QVERIFY(box.text.size() > 2);
        QCOMPARE(box.title, QStringLiteral("Quillmere"));
        QCOMPARE(w->Drive1->currentText(), QStringLiteral("/no-such-volume-here"));
        QCOMPARE(w->CurrentFolder, root.path() + u'/');
    }

    void userOpeningAFolderInTheTreeMovesThePane()
    {
        QTemporaryDir root;
        QVERIFY(QDir(root.path()).mkdir(QStringLiteral("sub")));
        makeFile(root.path() + QStringLiteral("/sub/in-sub.txt"));
        TestWindow w(root.path());
        auto *model = w->Dir1->model();
        // The tree lists folders as they load; wait for the child to appear.
        QTRY_COMPARE(model->rowCount(w->Dir1->currentIndex()), 1);
        w->Dir1->setCurrentIndex(model->index(0, 0, w->Dir1->currentIndex()));
        QCOMPARE(w->CurrentFolder, root.path() + QStringLiteral("/sub/"));
        QCOMPARE(entries(w->File1), QStringList{QStringLiteral("in-sub.txt")});
    }

    void paneListsPlainFilesInNaturalOrder()
    {
        QTemporaryDir root;
        for (const char *n : {"b10.txt", "b2.txt", "B1.txt", ".hidden", "noext"})
            makeFile(root.path() + u'/' + QLatin1String(n));
        QVERIFY(QDir(root.path()).mkdir(QStringLiteral("folder.d")));
        TestWindow w(root.path());
        QCOMPARE(entries(w->File1), (QStringList{QStringLiteral("B1.txt"), QStringLiteral("b2.txt"),
                                                  QStringLiteral("b10.txt"), QStringLiteral("noext")}));
    }

    void filterAppliesOnlyOnEnter()
    {
        QTemporaryDir root;
        for (const char *n : {"a.jpg", "b.PNG", "c.txt", "readme"})
            makeFile(root.path() + u'/' + QLatin1String(n));
        TestWindow w(root.path());
        QVERIFY(w.showActive());
        QCOMPARE(w->File1->count(), 4);

        w->Text5->setFocus();
        w->Text5->selectAll();
        QTest::keyClicks(w->Text5, QStringLiteral("*.jpg"));
        QCOMPARE(w->File1->count(), 4);  // typed, not yet applied
        QTest::keyClick(w->Text5, Qt::Key_Return);
        QCOMPARE(entries(w->File1), QStringList{QStringLiteral("a.jpg")});

        w->Text5->selectAll();
        QTest::keyClicks(w->Text5, QStringLiteral("*.jpg;*.png"));
        QTest::keyClick(w->Text5, Qt::Key_Return);
        QCOMPARE(entries(w->File1), (QStringList{QStringLiteral("a.jpg"), QStringLiteral("b.PNG")}));

        // The pattern stays in force across folder changes.
        w->setDir1(root.path());
        QCOMPARE(w->File1->count(), 2);

        w->Text5->selectAll();
        QTest::keyClicks(w->Text5, QStringLiteral("*.*"));
        QTest::keyClick(w->Text5, Qt::Key_Return);
        QCOMPARE(w->File1->count(), 4);
    }

    void refreshReflectsDiskAndClearsBothToolTips()
    {
        QTemporaryDir root;
        makeFile(root.path() + QStringLiteral("/a.txt"));
        TestWindow w(root.path());
        w->File1->setCurrentRow(0);
        QCOMPARE(w->File1->toolTip(), QStringLiteral("0.a.txt"));
        makeFile(root.path() + QStringLiteral("/b.txt"));
        QFile::remove(root.path() + QStringLiteral("/a.txt"));
        QTest::mouseClick(w->Command8, Qt::LeftButton);
        QCOMPARE(entries(w->File1), QStringList{QStringLiteral("b.txt")});
        QCOMPARE(w->File1->toolTip(), QString());
        QCOMPARE(w->List1->toolTip(), QString());
    }

    void paneToolTipFollowsCurrentEntry()
    {
        QTemporaryDir root;
        for (const char *n : {"a.txt", "b.txt", "c.txt"})
            makeFile(root.path() + u'/' + QLatin1String(n));
        TestWindow w(root.path());
        QVERIFY(w.showActive());
        const QRect third = w->File1->visualRect(w->File1->model()->index(2, 0));
        QTest::mouseClick(w->File1->viewport(), Qt::LeftButton, {}, third.center());
        QCOMPARE(w->File1->toolTip(), QStringLiteral("2.c.txt"));
        QTest::keyClick(w->File1, Qt::Key_Up);
        QCOMPARE(w->File1->toolTip(), QStringLiteral("1.b.txt"));
    }

    void activeListFollowsFocusOfTheLists()
    {
        TestWindow w;
        QVERIFY(w.showActive());
        QCOMPARE(w->ActiveList, qint16(2));
        w->List1->setFocus();
        QCOMPARE(w->ActiveList, qint16(1));
        w->Command8->setFocus();
        QTest::mouseClick(w->Command8, Qt::LeftButton);
        QCOMPARE(w->ActiveList, qint16(1));
        w->File1->setFocus();
        QCOMPARE(w->ActiveList, qint16(2));
        w->Text4->setFocus();
        QCOMPARE(w->ActiveList, qint16(2));
    }
};

QTEST_MAIN(TstPanes)
#include "tst_panes.moc"
