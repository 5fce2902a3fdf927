// Removing selected entries, clearing, removing duplicates and dropping missing files, on the
// real window; what happens when the list changes while a walk yields; and what each command
// of the window does when it has nothing to act on.
#include "testwindow.h"

using Command = void (Form1::*)();
Q_DECLARE_METATYPE(Command)

class TstPrune : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // A command with nothing to act on says so, or nothing, and does nothing else: it asks no
    // question but delete's (which comes first), leaves files, entries and the clipboard alone,
    // and unlocks the window.
    void nothingToActOn_data()
    {
        QTest::addColumn<Command>("command");
        QTest::addColumn<int>("list");         // the active list
        QTest::addColumn<bool>("entry");       // the rename list holds one entry, neither selected nor current
        QTest::addColumn<bool>("file");        // the pane shows one file, neither selected nor current
        QTest::addColumn<QStringList>("texts");
        const struct {
            const char *name;
            Command command;
            int list;
            bool entry, file;
            QStringList texts;
        } rows[] = {
            {"remove selected, empty list", &Form1::Command6_Click, 1, false, false, {"没有文件！"}},
            {"remove duplicates, empty list", &Form1::Command13_Click, 1, false, false, {"没有文件！"}},
            {"drop missing, empty list", &Form1::Command14_Click, 1, false, false, {"没有文件！"}},
            {"move entry, none current", &Form1::Command11_Click, 1, true, false, {"没有文件或没选择文件！"}},
            {"show in folder, empty list", &Form1::Command9_Click, 1, false, false, {"列表里没有项目！"}},
            {"show in folder, none current", &Form1::Command9_Click, 1, true, false, {"没有选择文件！"}},
            {"go to the entry's folder, none current", &Form1::Command15_Click, 1, true, false, {"No list or not select!"}},
            {"open, none current in the list", &Form1::mnOpen_Click, 1, true, true, {"No list or not select!"}},
            {"open, none current in the pane", &Form1::mnOpen_Click, 2, true, true, {"No file or not select!"}},
            {"copy list, none selected in the list", &Form1::mnCopyList_Click, 1, true, true, {"没有选中文件！"}},
            {"copy list, none selected in the pane", &Form1::mnCopyList_Click, 2, true, true, {"没有或没选中文件！"}},
            {"move to, none selected in the list", &Form1::mnMoveTo_Click, 1, true, true, {"文件列表里没有文件或没选中文件！"}},
            {"copy to, none selected in the pane", &Form1::mnCopyTo_Click, 2, true, true, {"预览列表里没有文件或没选中文件！"}},
            {"delete, empty list: asked first", &Form1::Command1_Click, 1, false, true, {"文件删除后不可恢复，是否继续？", "没有文件！"}},
            {"add, empty pane", &Form1::Command7_Click, 2, false, false, {"没有文件！"}},
            {"add, none selected", &Form1::Command7_Click, 2, false, true, {}},
            {"rename, empty list", &Form1::Command2_Click, 1, false, true, {"列表里没有项目！"}},
            {"rename, none selected: OK all the same", &Form1::Command2_Click, 1, true, true, {"OK!"}},
        };
        for (const auto &r : rows)
            QTest::newRow(r.name) << r.command << r.list << r.entry << r.file << r.texts;
    }

    void nothingToActOn()
    {
        QFETCH(Command, command);
        QFETCH(int, list);
        QFETCH(bool, entry);
        QFETCH(bool, file);
        QFETCH(QStringList, texts);
        FolderWindow w(file ? QStringList{"a.txt"} : QStringList());
        if (entry)
            w->List1->addEntry(w.path("a.txt"));
        w->List1->setCurrentRow(-1);
        w->File1->setCurrentRow(-1);
        w->ActiveList = qint16(list);
        w.dialogs.folderAnswers = {w.dir.path()};
        QGuiApplication::clipboard()->setText("untouched");
        ((*w).*command)();
        QCOMPARE(w.dialogs.texts(), texts);
        QVERIFY(w.dialogs.prompts.isEmpty());
        QCOMPARE(filesIn(w.dir.path()), file ? QStringList{"a.txt"} : QStringList());
        QCOMPARE(entries(w->List1), entry ? QStringList{w.path("a.txt")} : QStringList());
        QCOMPARE(QGuiApplication::clipboard()->text(), "untouched");
        QVERIFY(w->mnOpen->isEnabled() && w->Command2->isEnabled() && w->ProgressBar1->isHidden());
    }

    // The last of equal entries stays, with its selection; the rest keep their order.
    void dedupKeepsTheLastOfEqualWithItsSelection_data()
    {
        QTest::addColumn<QStringList>("in");
        QTest::addColumn<QList<int>>("selected");
        QTest::addColumn<QStringList>("out");
        QTest::addColumn<QList<int>>("selectedAfter");
        QTest::newRow("last of each, order kept") << QStringList{"A", "B", "A", "C", "A"} << QList<int>{1, 2, 4}
                                                  << QStringList{"B", "C", "A"} << QList<int>{0, 2};
        QTest::newRow("all equal") << QStringList{"A", "A", "A"} << QList<int>{0} << QStringList{"A"} << QList<int>{};
        QTest::newRow("case counts") << QStringList{"C:\\A.txt", "c:\\a.txt"} << QList<int>{1}
                                     << QStringList{"C:\\A.txt", "c:\\a.txt"} << QList<int>{1};
        QTest::newRow("no duplicates") << QStringList{"x", "y"} << QList<int>{} << QStringList{"x", "y"} << QList<int>{};
    }

    void dedupKeepsTheLastOfEqualWithItsSelection()
    {
        QFETCH(QStringList, in);
        QFETCH(QList<int>, selected);
        QFETCH(QStringList, out);
        QFETCH(QList<int>, selectedAfter);
        TestWindow w;
        setEntries(w->List1, in, selected);
        w->Command13_Click();
        QCOMPARE(entries(w->List1), out);
        QCOMPARE(selectedRows(w->List1), selectedAfter);
        QCOMPARE(w.dialogs.texts(), QStringList{"Ok!"});
        QVERIFY(!w->ProgressBar1->isVisible());
        QCOMPARE(w->progressPosition(), float(in.size()));   // once over the list, never past its end
    }

    void removeSelectedKeepsOthersAndTidiesWhenEmpty()
    {
        TestWindow w;
        setEntries(w->List1, {"a", "b", "c", "d"}, {0, 2});
        w->List1->setCurrentRow(3, QItemSelectionModel::NoUpdate);
        w->Command6_Click();
        QCOMPARE(entries(w->List1), (QStringList{"b", "d"}));
        QCOMPARE(w->List1->currentRow(), 1);
        // Emptied by removing all or by clearing, the list's next toggle selects all again.
        for (Command empty : {&Form1::Command6_Click, &Form1::Command10_Click}) {
            setEntries(w->List1, {"a", "b"}, {0, 1});
            w->List1AllSel = true;
            ((*w).*empty)();
            QCOMPARE(w->List1->count(), 0);
            QVERIFY(!w->List1AllSel && !w->ProgressBar1->isVisible());
        }
        QVERIFY(w.dialogs.boxes.isEmpty());
    }

    // Only plain files stay, found literally (by the exact bytes of their names) or, where the
    // name holds wildcards, by pattern; an entry that is not a full path names no file, even
    // when the working folder holds one of that name.
    void dropMissingKeepsOnlyPlainFiles()
    {
        TempFolder dir;
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
