// Removing selected entries, clearing, removing duplicates and dropping missing files, on the
// real window; and what happens when the list changes while a walk yields.
#include <QDir>
#include <QProgressBar>
#include <QTest>
#include <QTimer>

#include "list/keeplast.h"
#include "testwindow.h"

using Command = void (Form1::*)();
Q_DECLARE_METATYPE(Command)

class TstPrune : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void lastOfEqual_data()
    {
        QTest::addColumn<QStringList>("in");
        QTest::addColumn<QStringList>("out");
        QTest::newRow("last of each, order kept") << QStringList{"A", "B", "A", "C", "A"} << QStringList{"B", "C", "A"};
        QTest::newRow("all equal") << QStringList{"A", "A", "A"} << QStringList{"A"};
        QTest::newRow("case counts") << QStringList{"C:\\A.txt", "c:\\a.txt"} << QStringList{"C:\\A.txt", "c:\\a.txt"};
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

    // Each command on an empty list says so and does nothing else.
    void emptyListSaysSo_data()
    {
        QTest::addColumn<Command>("command");
        QTest::newRow("remove selected") << &Form1::Command6_Click;
        QTest::newRow("dedup") << &Form1::Command13_Click;
        QTest::newRow("drop missing") << &Form1::Command14_Click;
    }

    void emptyListSaysSo()
    {
        QFETCH(Command, command);
        TestWindow w;
        ((*w).*command)();
        QCOMPARE(w.dialogs.texts(), QStringList{"没有文件！"});
    }

    void dedupKeepsTheLastWithItsSelection()
    {
        TestWindow w;
        setEntries(w->List1, {"A", "B", "A", "C", "A"}, {1, 2, 4});
        w->Command13_Click();
        QCOMPARE(entries(w->List1), (QStringList{"B", "C", "A"}));
        QCOMPARE(selectedRows(w->List1), (QList<int>{0, 2}));
        QCOMPARE(w.dialogs.texts(), QStringList{"Ok!"});
        QVERIFY(!w->ProgressBar1->isVisible());
        QCOMPARE(w->progressPosition(), 5.0f);   // once over the list, never past its end
    }

    void removeSelectedKeepsOthersAndTidiesWhenEmpty()
    {
        TestWindow w;
        setEntries(w->List1, {"a", "b", "c", "d"}, {0, 2});
        w->List1->setCurrentRow(3, QItemSelectionModel::NoUpdate);
        w->Command6_Click();
        QCOMPARE(entries(w->List1), (QStringList{"b", "d"}));
        QCOMPARE(w->List1->currentRow(), 1);
        w->List1AllSel = true;
        w->List1->selectAll();
        w->Command6_Click();
        QCOMPARE(w->List1->count(), 0);
        QVERIFY(!w->List1AllSel);
        QVERIFY(!w->ProgressBar1->isVisible());
        setEntries(w->List1, {"a", "b"});
        w->List1AllSel = true;
        w->Command10_Click();
        QCOMPARE(w->List1->count(), 0);
        QVERIFY(!w->List1AllSel);
        QVERIFY(w.dialogs.boxes.isEmpty());
    }

    // Only plain files stay, found literally (by the exact bytes of their names) or, where the
    // name holds wildcards, by pattern; an entry that is not a full path names no file, even
    // when the working folder holds one of that name.
    void dropMissingKeepsOnlyPlainFiles()
    {
        QTemporaryDir dir;
        const QString d = dir.path();
        const QString plain = makeFile(d + "/plain.txt"), readOnly = makeFile(d + "/ro.txt");
        QFile::setPermissions(readOnly, QFileDevice::ReadOwner);
        makeFile(d + "/pics/a.JPG");
        QVERIFY(QDir(d).mkdir("folder"));
        const QString gbk = makeRawFile(d, "\xb2\xe2.txt");
        const QString lookAlike = gbk.left(gbk.size() - 6) + QChar(0xFFFD) + QChar(0xFFFD) + ".txt";
        const InFolder in(d);
        TestWindow w;
        setEntries(w->List1, {plain, d + "/folder", makeFile(d + "/.hidden"), "/no-such-volume/x.txt", readOnly,
                              d + "/pics/*.jpg", d + "/pics/*.png", d + "/pics/*.*", gbk, lookAlike, "plain.txt",
                              plain + QChar(0) + ".bak"},
                   {4});
        w->Command14_Click();
        QCOMPARE(entries(w->List1), (QStringList{plain, readOnly, d + "/pics/*.jpg", d + "/pics/*.*", gbk}));
        QCOMPARE(selectedRows(w->List1), QList<int>{1});
        QVERIFY(w.dialogs.boxes.isEmpty());
    }

    // The list is cleared while each walk yields: the walk ends, nothing gone is touched.
    void clearDuringWalk_data()
    {
        QTest::addColumn<Command>("command");
        QTest::newRow("remove selected") << &Form1::Command6_Click;
        QTest::newRow("dedup") << &Form1::Command13_Click;
        QTest::newRow("toggle") << &Form1::Command3_Click;
    }

    void clearDuringWalk()
    {
        QFETCH(Command, command);
        TestWindow w;
        QStringList texts;
        for (int i = 0; i < 200; ++i)
            texts << QString::number(i % 50);
        setEntries(w->List1, texts, {1, 5, 7});
        w->ActiveList = 1;
        QTimer::singleShot(0, &*w, [&] { w->Command10_Click(); });
        ((*w).*command)();
        QCOMPARE(w->List1->count(), 0);
        QVERIFY(!w->ProgressBar1->isVisible());
        QVERIFY(w->progressPosition() < 200.0f);   // stopped where the clear came in
    }

    // Additions while dedup walks: the result still has no two equal entries.
    void entriesAddedDuringDedupAreDeduplicatedToo()
    {
        TestWindow w;
        setEntries(w->List1, {"a", "b", "a", "c"});
        QTimer::singleShot(0, &*w, [&] { w->List1->addEntries({"b", "d"}); });
        w->Command13_Click();
        QCOMPARE(entries(w->List1), (QStringList{"a", "c", "b", "d"}));
    }
};

QTEST_MAIN(TstPrune)
#include "tst_prune.moc"
