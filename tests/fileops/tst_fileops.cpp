// Deleting, moving and copying the selected files of either list, on real folders.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QAction>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>

#include <cerrno>
#include <unistd.h>

#include "platform/fileops.h"
#include "testwindow.h"

namespace {

void fillList(Form1 &w, const QStringList &paths, const QList<int> &selected)
{
    w.List1->clear();
    w.List1->addItems(paths);
    for (int i : selected)
        w.List1->item(i)->setSelected(true);
    w.ActiveList = 1;
}

struct HookGuard {
    ~HookGuard() { setFileStepHook({}); }
};

} // namespace

class TstFileOps : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void deleteAnswerNoChangesNothing()
    {
        QTemporaryDir dir;
        const QString a = makeFile(dir.path() + QStringLiteral("/a.txt"));
        TestWindow w(dir.path());
        w->setDir1(dir.path());
        fillList(*w, {a}, {0});
        w.dialogs.answers = {Dialogs::Answer::No};
        w->Command1_Click();
        QCOMPARE(w.dialogs.boxes.size(), 1);
        QCOMPARE(w.dialogs.boxes[0].text, QStringLiteral("文件删除后不可恢复，是否继续？"));
        QCOMPARE(w.dialogs.boxes[0].title, QStringLiteral("询问："));
        QCOMPARE(w.dialogs.boxes[0].icon, Dialogs::Icon::Question);
        QVERIFY(QFile::exists(a));
        QCOMPARE(w->List1->count(), 1);
    }

    void deleteAsksBeforeSayingTheListIsEmpty()
    {
        QTemporaryDir dir;
        TestWindow w(dir.path());
        w->setDir1(dir.path());
        w->ActiveList = 1;
        w->Command1_Click();
        QCOMPARE(w.dialogs.texts(),
                 (QStringList{QStringLiteral("文件删除后不可恢复，是否继续？"), QStringLiteral("没有文件！")}));
        QCOMPARE(w.dialogs.boxes[1].title, QStringLiteral("Quillmere"));
    }

    void deleteFromRenameList_data()
    {
        QTest::addColumn<QList<int>>("selected");
        QTest::addColumn<QList<int>>("remaining");
        QTest::newRow("none") << QList<int>{} << QList<int>{0, 1, 2, 3, 4};
        QTest::newRow("two") << QList<int>{2} << QList<int>{0, 1, 3, 4};
        QTest::newRow("0, 2, 3") << QList<int>{0, 2, 3} << QList<int>{1, 4};
    }

    void deleteFromRenameList()
    {
        QFETCH(QList<int>, selected);
        QFETCH(QList<int>, remaining);
        QTemporaryDir dir;
        QStringList paths;
        for (int i = 0; i < 5; ++i)
            paths << makeFile(dir.path() + QStringLiteral("/f%1.txt").arg(i));
        TestWindow w(dir.path());
        w->setDir1(dir.path());
        fillList(*w, paths, selected);
        QStringList order;
        setFileStepHook([&](FileStep step, const QString &p) {
            if (step == FileStep::Delete)
                order << p;
            return 0;
        });
        HookGuard guard;
        w->Command1_Click();
        QStringList expectedOrder, expectedList;
        for (int i = 4; i >= 0; --i)
            if (selected.contains(i))
                expectedOrder << paths[i];
        for (int i : remaining)
            expectedList << paths[i];
        QCOMPARE(order, expectedOrder);
        QCOMPARE(entries(w->List1), expectedList);
        for (int i = 0; i < 5; ++i)
            QCOMPARE(QFile::exists(paths[i]), !selected.contains(i));
        QCOMPARE(w.dialogs.boxes.last().text, QStringLiteral("OK！"));
        QCOMPARE(w.dialogs.boxes.last().title, QStringLiteral("提示："));
        QCOMPARE(w.dialogs.boxes.last().icon, Dialogs::Icon::Information);
        QCOMPARE(w->File1->count(), remaining.size());
        QVERIFY(!w->ProgressBar1->isVisible());
    }

    void deleteFailureKeepsEntryAndIsReported()
    {
        QTemporaryDir dir;
        const QString gone = dir.path() + QStringLiteral("/gone.txt");
        const QString folder = dir.path() + QStringLiteral("/full");
        makeFile(folder + QStringLiteral("/inside.txt"));
        const QString locked = makeFile(dir.path() + QStringLiteral("/locked.txt"));
        const QString plain = makeFile(dir.path() + QStringLiteral("/plain.txt"));
        TestWindow w(dir.path());
        w->setDir1(dir.path());
        fillList(*w, {gone, folder, locked, plain}, {0, 1, 2, 3});
        setFileStepHook([&](FileStep, const QString &p) { return p == locked ? EACCES : 0; });
        HookGuard guard;
        w->Command1_Click();
        QCOMPARE(entries(w->List1), (QStringList{folder, locked}));
        QVERIFY(QFile::exists(folder + QStringLiteral("/inside.txt")));
        QVERIFY(QFile::exists(locked));
        QVERIFY(!QFile::exists(plain));
        const QString report = w.dialogs.boxes.last().text;
        QVERIFY2(report.startsWith(QStringLiteral("2 个文件未能删除，第一个是：\r\n") + locked
                                   + QStringLiteral("\r\n13\r\n")),
                 qPrintable(report));
    }

    void deleteSymlinkRemovesOnlyTheLink()
    {
        QTemporaryDir dir;
        const QString target = makeFile(dir.path() + QStringLiteral("/target.txt"));
        const QString link = dir.path() + QStringLiteral("/link.txt");
        QVERIFY(QFile::link(target, link));
        QVERIFY(deletePath(link).ok());
        QVERIFY(!QFileInfo(link).isSymLink());
        QVERIFY(QFile::exists(target));
        QVERIFY(!deletePath(dir.path() + QStringLiteral("/*.txt")).ok());
        QVERIFY(QFile::exists(target));
    }

    void paneDeleteLeavesRenameList()
    {
        QTemporaryDir dir;
        const QString a = makeFile(dir.path() + QStringLiteral("/a.txt"));
        makeFile(dir.path() + QStringLiteral("/b.txt"));
        TestWindow w(dir.path());
        w->setDir1(dir.path());
        w->List1->addItem(a);
        w->ActiveList = 2;
        w->File1->item(0)->setSelected(true);
        w->Command1_Click();
        QVERIFY(!QFile::exists(a));
        QCOMPARE(entries(w->List1), QStringList{a});
        QCOMPARE(w->File1->count(), 1);
        QCOMPARE(w.dialogs.boxes.last().text, QStringLiteral("OK！"));
    }

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
        w->setDir1(dir.path());
        fillList(*w, {a, c, b}, {0, 1, 2});
        w.dialogs.folderAnswers = {target};
        move ? w->mnMoveTo_Click() : w->mnCopyTo_Click();
        QCOMPARE(w.dialogs.pickerPrompts, QStringList{QStringLiteral("请选择文件夹")});
        const QString report = w.dialogs.boxes.last().text;
        if (move) {
            // Never overwrites: other.txt and the second same.txt find their places taken.
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
        QCOMPARE(w->List1->toolTip(), QString());
    }

    void transferFromPaneToItsOwnFolder()
    {
        QTemporaryDir dir;
        const QString a = makeFile(dir.path() + QStringLiteral("/a.txt"), "keep me");
        TestWindow w(dir.path());
        w->setDir1(dir.path());
        w->ActiveList = 2;
        w->File1->item(0)->setSelected(true);
        w.dialogs.folderAnswers = {dir.path()};
        w->mnCopyTo_Click();
        QCOMPARE(contentOf(a), QByteArray("keep me"));
        QVERIFY(w.dialogs.boxes.last().text.contains(sameFileDescription()));
        w->File1->item(0)->setSelected(true);
        w.dialogs.folderAnswers = {dir.path() + u'/'};
        w->mnMoveTo_Click();
        QCOMPARE(w.dialogs.boxes.last().text, QStringLiteral("Ok!"));
        QCOMPARE(contentOf(a), QByteArray("keep me"));
    }

    void transferNothingSelectedOrCancelled()
    {
        QTemporaryDir dir;
        makeFile(dir.path() + QStringLiteral("/a.txt"));
        TestWindow w(dir.path());
        w->setDir1(dir.path());
        w->mnMoveTo_Click();  // picker cancelled
        QVERIFY(w.dialogs.boxes.isEmpty());
        w.dialogs.folderAnswers = {dir.path(), dir.path()};
        w->mnCopyTo_Click();
        w->ActiveList = 1;
        w->List1->addItem(dir.path() + QStringLiteral("/a.txt"));
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
        const QString back = shm.path() + QStringLiteral("/y.bin");
        QCOMPARE(moveFile(dst, back).number, EACCES);
        QVERIFY(QFile::exists(dst));
        QVERIFY(!QFile::exists(back));
        QCOMPARE(QDir(shm.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);
    }
};

QTEST_MAIN(TstFileOps)
#include "tst_fileops.moc"
