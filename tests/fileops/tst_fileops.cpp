// Deleting, moving and copying the selected files of either list, on real folders.
#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>

#include <cerrno>

#include "platform/fileops.h"
#include "testwindow.h"

namespace {

using Box = FakeDialogs::Box;

struct HookGuard {
    ~HookGuard() { setFileStepHook({}); }
};

} // namespace

class TstFileOps : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void deleteAsksFirst()
    {
        QTemporaryDir dir;
        const QString a = makeFile(dir.path() + QStringLiteral("/a.txt"));
        TestWindow w(dir.path());
        const Box question{"文件删除后不可恢复，是否继续？", "询问：", Dialogs::Buttons::YesNo, Dialogs::Icon::Question};
        w->ActiveList = 1;
        w->Command1_Click();   // asks even before it finds the list empty
        QCOMPARE(w.dialogs.boxes, (QList<Box>{question, {"没有文件！", "Quillmere"}}));

        w.dialogs.clear();
        setEntries(w->List1, {a}, {0});
        w.dialogs.answers = {Dialogs::Answer::No};
        w->Command1_Click();
        QCOMPARE(w.dialogs.boxes, QList<Box>{question});
        QVERIFY(QFile::exists(a));
        QCOMPARE(w->List1->count(), 1);
    }

    void deleteFromRenameList_data()
    {
        QTest::addColumn<QList<int>>("selected");
        QTest::newRow("none") << QList<int>{};
        QTest::newRow("one") << QList<int>{2};
        QTest::newRow("0, 2, 3") << QList<int>{0, 2, 3};
    }

    void deleteFromRenameList()
    {
        QFETCH(QList<int>, selected);
        QTemporaryDir dir;
        QStringList paths;
        for (int i = 0; i < 5; ++i)
            paths << makeFile(dir.path() + QStringLiteral("/f%1.txt").arg(i));
        TestWindow w(dir.path());
        setEntries(w->List1, paths, selected);
        w->ActiveList = 1;
        QStringList order;
        setFileStepHook([&](FileStep, const QString &p) { order.prepend(p); return 0; });
        HookGuard guard;
        w->Command1_Click();
        QStringList gone, kept;
        for (int i = 0; i < 5; ++i)
            (selected.contains(i) ? gone : kept) << paths[i];
        QCOMPARE(order, gone);   // from the end of the list
        QCOMPARE(entries(w->List1), kept);
        QCOMPARE(filesIn(dir.path()).size(), kept.size());
        QCOMPARE(w->File1->count(), kept.size());
        QCOMPARE(w.dialogs.boxes.last(), (Box{"OK！", "提示：", Dialogs::Buttons::Ok, Dialogs::Icon::Information}));
        QVERIFY(!w->ProgressBar1->isVisible());
    }

    // An entry goes only when its file went; the failures are reported after the walk.
    void deleteFailureKeepsEntryAndIsReported()
    {
        QTemporaryDir dir;
        const QString gone = dir.path() + QStringLiteral("/gone.txt");
        const QString folder = dir.path() + QStringLiteral("/full");
        makeFile(folder + QStringLiteral("/inside.txt"));
        const QString locked = makeFile(dir.path() + QStringLiteral("/locked.txt"));
        const QString plain = makeFile(dir.path() + QStringLiteral("/plain.txt"));
        TestWindow w(dir.path());
        setEntries(w->List1, {gone, folder, locked, plain}, {0, 1, 2, 3});
        w->ActiveList = 1;
        setFileStepHook([&](FileStep, const QString &p) { return p == locked ? EACCES : 0; });
        HookGuard guard;
        w->Command1_Click();
        QCOMPARE(entries(w->List1), (QStringList{folder, locked}));
        QVERIFY(QFile::exists(folder + QStringLiteral("/inside.txt")) && QFile::exists(locked));
        QVERIFY(!QFile::exists(plain));
        const QString report = w.dialogs.boxes.last().text;
        QVERIFY2(report.startsWith(QStringLiteral("2 个文件未能删除，第一个是：\r\n") + locked
                                   + QStringLiteral("\r\n13\r\n")),
                 qPrintable(report));
    }

    void deleteTakesThePathLiterally()
    {
        QTemporaryDir dir;
        const QString target = makeFile(dir.path() + QStringLiteral("/target.txt"));
        const QString link = dir.path() + QStringLiteral("/link.txt");
        QVERIFY(QFile::link(target, link));
        QVERIFY(deletePath(link).ok());
        QVERIFY(!QFileInfo(link).isSymLink());
        QVERIFY(!deletePath(dir.path() + QStringLiteral("/*.txt")).ok());
        QVERIFY(QFile::exists(target));
    }

    void paneDeleteLeavesRenameList()
    {
        QTemporaryDir dir;
        const QString a = makeFile(dir.path() + QStringLiteral("/a.txt"));
        makeFile(dir.path() + QStringLiteral("/b.txt"));
        TestWindow w(dir.path());
        w->List1->addEntry(a);
        selectRow(w->File1, 0, true);
        w->Command1_Click();
        QCOMPARE(filesIn(dir.path()), QStringList{"b.txt"});
        QCOMPARE(entries(w->List1), QStringList{a});
        QCOMPARE(entries(w->File1), QStringList{"b.txt"});
        QCOMPARE(w.dialogs.texts().last(), QStringLiteral("OK！"));
    }

    // A move never overwrites: other.txt and the second same.txt find their places taken and
    // keep their entries. A copy replaces what is there.
    void transferFromRenameList_data()
    {
        QTest::addColumn<bool>("move");
        QTest::newRow("move") << true;
        QTest::newRow("copy") << false;
    }

    void transferFromRenameList()
    {
        QFETCH(bool, move);
        QTemporaryDir dir;
        const QString a = makeFile(dir.path() + QStringLiteral("/src1/same.txt"), "first");
        const QString b = makeFile(dir.path() + QStringLiteral("/src2/same.txt"), "second");
        const QString c = makeFile(dir.path() + QStringLiteral("/src1/other.txt"), "other");
        const QString target = dir.path() + QStringLiteral("/dest");
        makeFile(target + QStringLiteral("/other.txt"), "old");
        TestWindow w(dir.path());
        setEntries(w->List1, {a, c, b}, {0, 1, 2});
        w->ActiveList = 1;
        w.dialogs.folderAnswers = {target};
        move ? w->mnMoveTo_Click() : w->mnCopyTo_Click();
        QCOMPARE(w.dialogs.pickerPrompts, QStringList{QStringLiteral("请选择文件夹")});
        const QString report = w.dialogs.boxes.last().text;
        if (move) {
            QCOMPARE(entries(w->List1), (QStringList{target + QStringLiteral("/same.txt"), c, b}));
            QCOMPARE(contentOf(target + QStringLiteral("/same.txt")), QByteArray("first"));
            QCOMPARE(contentOf(target + QStringLiteral("/other.txt")), QByteArray("old"));
            QVERIFY(QFile::exists(b) && QFile::exists(c) && !QFile::exists(a));
            QVERIFY2(report.startsWith(QStringLiteral("2 个文件未能移动，第一个是：\r\n") + c
                                       + QStringLiteral("\r\n17\r\n")),
                     qPrintable(report));
        } else {
            QCOMPARE(entries(w->List1), (QStringList{a, c, b}));
            QCOMPARE(contentOf(target + QStringLiteral("/same.txt")), QByteArray("second"));
            QCOMPARE(contentOf(target + QStringLiteral("/other.txt")), QByteArray("other"));
            QCOMPARE(report, QStringLiteral("Ok!"));
        }
        QVERIFY(w->Command1->isEnabled());
    }

    void transferFromPaneToItsOwnFolderKeepsTheFile()
    {
        QTemporaryDir dir;
        const QString a = makeFile(dir.path() + QStringLiteral("/a.txt"), "keep me");
        TestWindow w(dir.path());
        selectRow(w->File1, 0, true);
        w.dialogs.folderAnswers = {dir.path(), dir.path() + u'/'};
        w->mnCopyTo_Click();
        QCOMPARE(contentOf(a), QByteArray("keep me"));
        QVERIFY(w.dialogs.boxes.last().text.contains(sameFileDescription()));
        selectRow(w->File1, 0, true);
        w->mnMoveTo_Click();
        QCOMPARE(w.dialogs.boxes.last().text, QStringLiteral("Ok!"));
        QCOMPARE(contentOf(a), QByteArray("keep me"));
    }

    void transferNothingSelectedOrCancelled()
    {
        QTemporaryDir dir;
        makeFile(dir.path() + QStringLiteral("/a.txt"));
        TestWindow w(dir.path());
        w->mnMoveTo_Click();   // picker cancelled
        QVERIFY(w.dialogs.boxes.isEmpty());
        w.dialogs.folderAnswers = {dir.path(), dir.path()};
        w->mnCopyTo_Click();
        w->ActiveList = 1;
        w->List1->addEntry(dir.path() + QStringLiteral("/a.txt"));
        w->mnMoveTo_Click();
        QCOMPARE(w.dialogs.texts(), (QStringList{QStringLiteral("预览列表里没有文件或没选中文件！"),
                                                 QStringLiteral("文件列表里没有文件或没选中文件！")}));
        QVERIFY(w->mnOpen->isEnabled());
    }

    void moveAcrossFileSystems()
    {
        if (!QFileInfo(QStringLiteral("/dev/shm")).isWritable())
            QSKIP("no /dev/shm");
        QTemporaryDir disk;
        QTemporaryDir shm(QStringLiteral("/dev/shm/quillmere-XXXXXX"));
        const QString src = makeFile(shm.path() + QStringLiteral("/x.bin"), QByteArray(300000, 'q'));
        QFile::setPermissions(src, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        const QDateTime when = QDateTime::fromSecsSinceEpoch(1000000000);
        {
            QFile f(src);
            QVERIFY(f.open(QIODevice::ReadWrite));
            QVERIFY(f.setFileTime(when, QFileDevice::FileModificationTime));
        }
        const QString dst = disk.path() + QStringLiteral("/x.bin");
        QVERIFY(moveFile(src, dst).ok());
        QVERIFY(!QFile::exists(src));
        QCOMPARE(contentOf(dst), QByteArray(300000, 'q'));
        QCOMPARE(QFileInfo(dst).lastModified(), when);
        QCOMPARE(int(QFile::permissions(dst)) & 0x7077, 0x7000);

        // Back across, onto a place taken: refused, both files as they were.
        const QString taken = makeFile(shm.path() + QStringLiteral("/x.bin"), "taken");
        QCOMPARE(moveFile(dst, taken).number, EEXIST);
        QCOMPARE(contentOf(taken), QByteArray("taken"));
        QVERIFY(QFile::exists(dst));

        // The source cannot go: the copy is taken back.
        setFileStepHook([](FileStep s, const QString &) { return s == FileStep::RemoveMovedSource ? EACCES : 0; });
        HookGuard guard;
        QCOMPARE(moveFile(dst, shm.path() + QStringLiteral("/y.bin")).number, EACCES);
        QVERIFY(QFile::exists(dst));
        QCOMPARE(filesIn(shm.path()), QStringList{"x.bin"});
        QCOMPARE(QDir(shm.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);
    }
};

QTEST_MAIN(TstFileOps)
#include "tst_fileops.moc"
