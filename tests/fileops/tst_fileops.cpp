// Deleting, moving and copying the selected files of either list, on real folders.
#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QPushButton>
#include <QTest>

#include <cerrno>

#include "platform/fileops.h"
#include "testwindow.h"

using namespace Qt::StringLiterals;

namespace {

using Box = FakeDialogs::Box;

struct HookGuard {
    ~HookGuard() { setFileStepHook({}); }
};

} // namespace

class TstFileOps : public QObject {
    Q_OBJECT

private Q_SLOTS:
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
        QStringList paths, gone, kept;
        for (int i = 0; i < 5; ++i) {
            paths << makeFile(dir.path() + u"/f%1.txt"_s.arg(i));
            (selected.contains(i) ? gone : kept) << paths.last();
        }
        TestWindow w(dir.path());
        setEntries(w->List1, paths, selected);
        w->ActiveList = 1;
        QStringList order;
        setFileStepHook([&](FileStep, const QString &p) { order.prepend(p); return 0; });
        HookGuard guard;
        w->Command1_Click();
        QCOMPARE(order, gone);   // from the end of the list
        QCOMPARE(entries(w->List1), kept);
        QCOMPARE(filesIn(dir.path()).size(), kept.size());
        QCOMPARE(w->File1->count(), kept.size());
        QCOMPARE(w.dialogs.boxes.last(), (Box{"OK！", "提示：", Dialogs::Buttons::Ok, Dialogs::Icon::Information}));
    }

    // An entry goes only when its file went; the failures are reported after the walk.
    void deleteFailureKeepsEntryAndIsReported()
    {
        QTemporaryDir dir;
        const QString gone = dir.path() + u"/gone.txt"_s, folder = dir.path() + u"/full"_s;
        makeFile(folder + u"/inside.txt"_s);
        const QString locked = makeFile(dir.path() + u"/locked.txt"_s), plain = makeFile(dir.path() + u"/plain.txt"_s);
        TestWindow w(dir.path());
        setEntries(w->List1, {gone, folder, locked, plain}, {0, 1, 2, 3});
        w->ActiveList = 1;
        setFileStepHook([&](FileStep, const QString &p) { return p == locked ? EACCES : 0; });
        HookGuard guard;
        w->Command1_Click();
        QCOMPARE(entries(w->List1), (QStringList{folder, locked}));
        QVERIFY(QFile::exists(folder + u"/inside.txt"_s) && QFile::exists(locked) && !QFile::exists(plain));
        const QString report = w.dialogs.boxes.last().text;
        QVERIFY2(report.startsWith(u"2 个文件未能删除，第一个是：\r\n"_s + locked + u"\r\n13\r\n"_s), qPrintable(report));
    }

    void deleteTakesThePathLiterally()
    {
        QTemporaryDir dir;
        const QString target = makeFile(dir.path() + u"/target.txt"_s), link = dir.path() + u"/link.txt"_s;
        QVERIFY(QFile::link(target, link));
        QVERIFY(deletePath(link).ok());
        QVERIFY(!QFileInfo(link).isSymLink());
        QVERIFY(!deletePath(dir.path() + u"/*.txt"_s).ok());
        QVERIFY(QFile::exists(target));
    }

    // The question comes first, even before the list is found empty; No deletes nothing. The
    // pane's files go without touching the rename list.
    void deleteAsksFirstAndTakesTheActiveList()
    {
        QTemporaryDir dir;
        const QString a = makeFile(dir.path() + u"/a.txt"_s);
        makeFile(dir.path() + u"/b.txt"_s);
        TestWindow w(dir.path());
        const Box question{"文件删除后不可恢复，是否继续？", "询问：", Dialogs::Buttons::YesNo, Dialogs::Icon::Question};
        w->ActiveList = 1;
        w->Command1_Click();
        QCOMPARE(w.dialogs.boxes, (QList<Box>{question, {"没有文件！", "Quillmere"}}));
        w->List1->addEntry(a);
        w->ActiveList = 2;
        selectRow(w->File1, 0);
        w.dialogs.answers = {Dialogs::Answer::No};
        w->Command1_Click();
        QCOMPARE(filesIn(dir.path()), (QStringList{"a.txt", "b.txt"}));
        w->Command1_Click();
        QCOMPARE(filesIn(dir.path()), QStringList{"b.txt"});
        QCOMPARE(entries(w->File1), QStringList{"b.txt"});
        QCOMPARE(entries(w->List1), QStringList{a});
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
        const QString a = makeFile(dir.path() + u"/src1/same.txt"_s, "first");
        const QString b = makeFile(dir.path() + u"/src2/same.txt"_s, "second");
        const QString c = makeFile(dir.path() + u"/src1/other.txt"_s, "other");
        const QString target = dir.path() + u"/dest"_s;
        makeFile(target + u"/other.txt"_s, "old");
        TestWindow w(dir.path());
        setEntries(w->List1, {a, c, b}, {0, 1, 2});
        w->ActiveList = 1;
        w.dialogs.folderAnswers = {target};
        move ? w->mnMoveTo_Click() : w->mnCopyTo_Click();
        const QString report = w.dialogs.boxes.last().text;
        if (move) {
            QCOMPARE(entries(w->List1), (QStringList{target + u"/same.txt"_s, c, b}));
            QCOMPARE(contentOf(target + u"/same.txt"_s), "first");
            QCOMPARE(contentOf(target + u"/other.txt"_s), "old");
            QVERIFY(QFile::exists(b) && QFile::exists(c) && !QFile::exists(a));
            QVERIFY2(report.startsWith(u"2 个文件未能移动，第一个是：\r\n"_s + c + u"\r\n17\r\n"_s), qPrintable(report));
        } else {
            QCOMPARE(entries(w->List1), (QStringList{a, c, b}));
            QCOMPARE(contentOf(target + u"/same.txt"_s), "second");
            QCOMPARE(contentOf(target + u"/other.txt"_s), "other");
            QCOMPARE(report, u"Ok!"_s);
        }
        QVERIFY(w->Command1->isEnabled());
    }

    void transferFromPaneToItsOwnFolderKeepsTheFile()
    {
        QTemporaryDir dir;
        const QString a = makeFile(dir.path() + u"/a.txt"_s, "keep me");
        TestWindow w(dir.path());
        selectRow(w->File1, 0);
        w.dialogs.folderAnswers = {dir.path(), dir.path() + u'/'};
        w->mnCopyTo_Click();
        QCOMPARE(contentOf(a), "keep me");
        QVERIFY(w.dialogs.boxes.last().text.contains(sameFileDescription()));
        selectRow(w->File1, 0);
        w->mnMoveTo_Click();
        QCOMPARE(w.dialogs.boxes.last().text, u"Ok!"_s);
        QCOMPARE(contentOf(a), "keep me");
    }

    // A cancelled picker says nothing; a list without a selection says so.
    void transferNothingSelectedOrCancelled()
    {
        QTemporaryDir dir;
        makeFile(dir.path() + u"/a.txt"_s);
        TestWindow w(dir.path());
        w->mnMoveTo_Click();
        w.dialogs.folderAnswers = {dir.path(), dir.path()};
        w->mnCopyTo_Click();
        w->ActiveList = 1;
        w->List1->addEntry(dir.path() + u"/a.txt"_s);
        w->mnMoveTo_Click();
        QCOMPARE(w.dialogs.texts(), (QStringList{"预览列表里没有文件或没选中文件！", "文件列表里没有文件或没选中文件！"}));
        QVERIFY(w->mnOpen->isEnabled());
    }

    void moveAcrossFileSystems()
    {
        if (!QFileInfo(u"/dev/shm"_s).isWritable())
            QSKIP("no /dev/shm");
        QTemporaryDir disk, shm(u"/dev/shm/quillmere-XXXXXX"_s);
        const QString src = makeFile(shm.path() + u"/x.bin"_s, QByteArray(300000, 'q'));
        QFile::setPermissions(src, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        const QDateTime when = QDateTime::fromSecsSinceEpoch(1000000000);
        {
            QFile f(src);
            QVERIFY(f.open(QIODevice::ReadWrite) && f.setFileTime(when, QFileDevice::FileModificationTime));
        }
        const QString dst = disk.path() + u"/x.bin"_s;
        QVERIFY(moveFile(src, dst).ok());
        QVERIFY(!QFile::exists(src));
        QCOMPARE(contentOf(dst), QByteArray(300000, 'q'));
        QCOMPARE(QFileInfo(dst).lastModified(), when);
        QCOMPARE(int(QFile::permissions(dst)) & 0x7077, 0x7000);

        // Back across, onto a place taken: refused, both files as they were.
        const QString taken = makeFile(shm.path() + u"/x.bin"_s, "taken");
        QCOMPARE(moveFile(dst, taken).number, EEXIST);
        QCOMPARE(contentOf(taken), "taken");
        QVERIFY(QFile::exists(dst));

        // The source cannot go: the copy is taken back.
        setFileStepHook([](FileStep s, const QString &) { return s == FileStep::RemoveMovedSource ? EACCES : 0; });
        HookGuard guard;
        QCOMPARE(moveFile(dst, shm.path() + u"/y.bin"_s).number, EACCES);
        QVERIFY(QFile::exists(dst));
        QCOMPARE(QDir(shm.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"x.bin"});
    }
};

QTEST_MAIN(TstFileOps)
#include "tst_fileops.moc"
