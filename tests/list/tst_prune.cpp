// Removing selected entries, clearing, removing duplicates and dropping missing files, on the
// real window; and what happens when the list is cleared while a walk yields.
#include <QDir>
#include <QFile>
#include <QProgressBar>
#include <QTest>
#include <QTimer>

#include "app/yield.h"
#include "list/keeplast.h"
#include "list/listedits.h"
#include "testwindow.h"

class TstPrune : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void lastOfEqual_data()
    {
        QTest::addColumn<QStringList>("in");
        QTest::addColumn<QStringList>("out");
        QTest::newRow("last of each group, order kept")
            << QStringList{"A", "B", "A", "C", "A"} << QStringList{"B", "C", "A"};
        QTest::newRow("all equal") << QStringList{"A", "A", "A"} << QStringList{"A"};
        QTest::newRow("case counts") << QStringList{"C:\\A.txt", "c:\\a.txt"}
                                     << QStringList{"C:\\A.txt", "c:\\a.txt"};
        QTest::newRow("no duplicates") << QStringList{"x", "y"} << QStringList{"x", "y"};
    }

    void lastOfEqual()
    {
        QFETCH(QStringList, in);
        QFETCH(QStringList, out);
        const QList<bool> keep = ::lastOfEqual(in);
        QStringList kept;
        for (int i = 0; i < in.size(); ++i)
            if (keep[i])
                kept << in[i];
        QCOMPARE(kept, out);
    }

    void dedupKeepsFlagsShowsOkAndHidesBar()
    {
        TestWindow w;
        // Selected: B (1), the middle A (2) and the last A (4).
        setEntries(w->List1, {"A", "B", "A", "C", "A"}, {1, 2, 4});
        w->Command13_Click();
        QCOMPARE(entryTexts(w->List1), (QStringList{"B", "C", "A"}));
        QCOMPARE(selectedRows(w->List1), (QList<int>{0, 2}));
        QCOMPARE(w.dialogs.texts(), QStringList{"Ok!"});
        QCOMPARE(w.dialogs.boxes[0].title, QStringLiteral("Quillmere"));
        QVERIFY(!w->ProgressBar1->isVisible());
        // The bar ran once over the list, never past its maximum.
        QCOMPARE(w->progressMaximum(), 5.0f);
        QCOMPARE(w->progressPosition(), 5.0f);
    }

    void emptyListSaysNoFiles_data()
    {
        QTest::addColumn<int>("command");
        QTest::newRow("remove selected") << 6;
        QTest::newRow("dedup") << 13;
        QTest::newRow("drop missing") << 14;
    }

    void emptyListSaysNoFiles()
    {
        QFETCH(int, command);
        TestWindow w;
        if (command == 6) w->Command6_Click();
        if (command == 13) w->Command13_Click();
        if (command == 14) w->Command14_Click();
        QCOMPARE(w.dialogs.texts(), QStringList{QStringLiteral("没有文件！")});
        QVERIFY(!w->ProgressBar1->isVisible());
    }

    void removeSelectedKeepsOthersAndTidiesWhenEmpty()
    {
        TestWindow w;
        setEntries(w->List1, {"a", "b", "c", "d"}, {0, 2});
        w->List1->setCurrentRow(3, QItemSelectionModel::NoUpdate);
        w->List1->setToolTip(QStringLiteral("kept"));
        w->Command6_Click();
        QCOMPARE(entryTexts(w->List1), (QStringList{"b", "d"}));
        QCOMPARE(w->List1->currentRow(), 1);
        QCOMPARE(w->List1->toolTip(), QStringLiteral("kept"));
        QVERIFY(w.dialogs.boxes.isEmpty());

        w->List1AllSel = true;
        w->List1->selectAll();
        w->Command6_Click();
        QCOMPARE(w->List1->count(), 0);
        QCOMPARE(w->List1->toolTip(), QString());
        QVERIFY(!w->List1AllSel);
        QVERIFY(!w->ProgressBar1->isVisible());
    }

    void clearEmptiesAndTidies()
    {
        TestWindow w;
        setEntries(w->List1, {"a", "b"});
        w->List1AllSel = true;
        w->Command10_Click();
        QCOMPARE(w->List1->count(), 0);
        QVERIFY(!w->List1AllSel);
        w->Command10_Click();
        QVERIFY(w.dialogs.boxes.isEmpty());
    }

    void dropMissingKeepsOnlyPlainFiles()
    {
        QTemporaryDir dir;
        const QString plain = makeFile(dir.path() + "/plain.txt");
        const QString readOnly = makeFile(dir.path() + "/ro.txt");
        QFile::setPermissions(readOnly, QFileDevice::ReadOwner);
        const QString hidden = makeFile(dir.path() + "/.hidden");
        QVERIFY(QDir(dir.path()).mkdir("folder"));
        makeFile(dir.path() + "/pics/a.JPG");
        TestWindow w;
        setEntries(w->List1, {plain, dir.path() + "/folder", hidden, "/no-such-volume/x.txt",
                              readOnly, dir.path() + "/pics/*.jpg", dir.path() + "/pics/*.png",
                              dir.path() + "/pics/*.*"},
                   {4});
        w->Command14_Click();
        QCOMPARE(entryTexts(w->List1),
                 (QStringList{plain, readOnly, dir.path() + "/pics/*.jpg", dir.path() + "/pics/*.*"}));
        QCOMPARE(selectedRows(w->List1), QList<int>{1});
        QVERIFY(w.dialogs.boxes.isEmpty());
    }

    // The list is cleared while each walk yields: the walk ends, nothing gone is touched.
    void clearDuringWalk_data()
    {
        QTest::addColumn<int>("command");
        QTest::newRow("remove selected") << 6;
        QTest::newRow("dedup") << 13;
        QTest::newRow("toggle") << 3;
    }

    void clearDuringWalk()
    {
        QFETCH(int, command);
        TestWindow w;
        QStringList texts;
        for (int i = 0; i < 200; ++i)
            texts << QString::number(i % 50);
        setEntries(w->List1, texts, {1, 5, 7});
        w->ActiveList = 1;
        QTimer::singleShot(0, &*w, [&] { w->Command10_Click(); });
        if (command == 6) w->Command6_Click();
        if (command == 13) w->Command13_Click();
        if (command == 3) w->Command3_Click();
        QCOMPARE(w->List1->count(), 0);
        QVERIFY(!w->ProgressBar1->isVisible());
        // The position stopped where the clear came in.
        QVERIFY(w->progressPosition() < 200.0f);
    }

    // Paste-like additions while dedup walks: the result still has no two equal entries.
    void entriesAddedDuringDedupAreDeduplicatedToo()
    {
        TestWindow w;
        setEntries(w->List1, {"a", "b", "a", "c"});
        QTimer::singleShot(0, &*w, [&] { w->List1->addItems({"b", "d"}); });
        w->Command13_Click();
        QCOMPARE(entryTexts(w->List1), (QStringList{"a", "c", "b", "d"}));
    }
};

QTEST_MAIN(TstPrune)
#include "tst_prune.moc"
