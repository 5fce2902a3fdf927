// The batch rename through the real window on real files: names, numbers, the messages, the
// lock and the progress bar, failures that stop the run, and a paste or a close mid-run.
#include <QAction>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QClipboard>
#include <QGuiApplication>
#include <QTimer>

#include <cerrno>

#include "app/profile.h"
#include "platform/renamefile.h"
#include "testwindow.h"

namespace {

int fileInUse(const char *, const char *)
{
    errno = EBUSY;
    return -1;
}

// A folder of files and a window whose rename list holds them, those named in `selected`
// selected, and whose pane shows the folder.
struct Setup {
    explicit Setup(const QStringList &names, const QStringList &selected = {})
    {
        for (const QString &n : names)
            makeFile(dir.path() + u'/' + n, n.toUtf8());
        w->setDir1(dir.path());
        for (const QString &n : names) {
            w->List1->addItem(path(n));
            w->List1->item(w->List1->count() - 1)->setSelected(selected.contains(n));
        }
    }
    QString path(const QString &name) const { return dir.path() + u'/' + name; }
    void fields(const QString &base, const QString &start, const QString &step, const QString &ext)
    {
        w->Text4->setText(base);
        w->Text2->setText(start);
        w->Text3->setText(step);
        w->Text6->setText(ext);
    }

    QTemporaryDir dir;
    TestWindow w;
};

QString failureText(int err)
{
    return reportText(FsResult::fromErrno(err));
}

} // namespace

class TstBatchRename : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void cleanup() { setRenameNoReplaceCallForTests(nullptr); }

    void workedExample()
    {
        Setup s({"a.jpg", "b.png", "c.jpg"}, {"a.jpg", "c.jpg"});
        s.w->Command2->click();
        QCOMPARE(entries(s.w->List1),
                 (QStringList{s.path("文件0.jpg"), s.path("b.png"), s.path("文件1.jpg")}));
        QCOMPARE(filesIn(s.dir.path()), (QStringList{"b.png", "文件0.jpg", "文件1.jpg"}));
        QCOMPARE(contentOf(s.path("文件1.jpg")), QByteArray("c.jpg"));
        QCOMPARE(s.w.dialogs.boxes.size(), 1);
        QCOMPARE(s.w.dialogs.boxes[0].text, QStringLiteral("OK!"));
        QCOMPARE(s.w.dialogs.boxes[0].title, QStringLiteral("提示"));
        QCOMPARE(s.w.dialogs.boxes[0].icon, Dialogs::Icon::Information);
        QCOMPARE(s.w->progressMaximum(), 2.0f);
        QCOMPARE(s.w->progressPosition(), 2.0f);
        QVERIFY(s.w->ProgressBar1->isHidden());
        QVERIFY(s.w->Command2->isEnabled() && s.w->List1->isEnabled() && s.w->Text4->isEnabled());
        // The pane was read again and lists the new names; the entries keep their selection.
        QCOMPARE(entries(s.w->File1), (QStringList{"b.png", "文件0.jpg", "文件1.jpg"}));
        QVERIFY(s.w->List1->item(0)->isSelected() && !s.w->List1->item(1)->isSelected());
    }

    void numbers_data()
    {
        QTest::addColumn<QString>("start");
        QTest::addColumn<QString>("step");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("default") << "0" << "1" << QStringList{"文件0.jpg", "文件1.jpg", "文件2.jpg"};
        QTest::newRow("leading zeros") << "007" << "1" << QStringList{"文件7.jpg", "文件8.jpg", "文件9.jpg"};
        QTest::newRow("negative step") << "10" << "-1" << QStringList{"文件10.jpg", "文件9.jpg", "文件8.jpg"};
        QTest::newRow("non-numeric start") << "abc" << "1" << QStringList{"文件0.jpg", "文件1.jpg", "文件2.jpg"};
        QTest::newRow("half steps") << "1" << "0.5" << QStringList{"文件1.jpg", "文件1.5.jpg", "文件2.jpg"};
        QTest::newRow("tenths add up") << "0.1" << "0.1" << QStringList{"文件0.1.jpg", "文件0.2.jpg", "文件0.3.jpg"};
    }

    void numbers()
    {
        QFETCH(QString, start);
        QFETCH(QString, step);
        QFETCH(QStringList, expected);
        Setup s({"x1.jpg", "x2.jpg", "x3.jpg"}, {"x1.jpg", "x2.jpg", "x3.jpg"});
        s.fields(QStringLiteral("文件"), start, step, QString());
        s.w->Command2_Click();
        QCOMPARE(s.w.dialogs.texts(), QStringList{"OK!"});
        QStringList expectedPaths;
        for (const QString &n : expected)
            expectedPaths << s.path(n);
        QCOMPARE(entries(s.w->List1), expectedPaths);
        QCOMPARE(contentOf(expectedPaths.last()), QByteArray("x3.jpg"));
    }

    void tails_data()
    {
        QTest::addColumn<QString>("base");
        QTest::addColumn<QString>("start");
        QTest::addColumn<QString>("ext");
        QTest::addColumn<QString>("expected");
        QTest::newRow("base, number, ext") << "文件" << "0" << ".txt" << "文件0.txt";
        QTest::newRow("base, ext") << "文件" << "" << ".txt" << "文件.txt";
        QTest::newRow("base, number, own ext") << "文件" << "0" << "" << "文件0.jpg";
        QTest::newRow("base, own ext") << "文件" << "" << "" << "文件.jpg";
        QTest::newRow("own name, ext; start ignored") << "" << "5" << ".txt" << "a.txt";
        QTest::newRow("own name and ext: same path, success") << "" << "5" << "" << "a.jpg";
        QTest::newRow("ext without full stop") << "文件" << "0" << "jpg" << "文件0jpg";
    }

    void tails()
    {
        QFETCH(QString, base);
        QFETCH(QString, start);
        QFETCH(QString, ext);
        QFETCH(QString, expected);
        Setup s({"a.jpg"}, {"a.jpg"});
        s.fields(base, start, QStringLiteral("1"), ext);
        s.w->Command2_Click();
        QCOMPARE(s.w.dialogs.texts(), QStringList{"OK!"});
        QCOMPARE(entries(s.w->List1), QStringList{s.path(expected)});
        QCOMPARE(filesIn(s.dir.path()), QStringList{expected});
        QCOMPARE(contentOf(s.path(expected)), QByteArray("a.jpg"));
    }

    void failureStopsTheRunAndKeepsEntriesTrue_data()
    {
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<QString>("base");
        QTest::addColumn<QString>("start");
        QTest::addColumn<int>("error");
        QTest::addColumn<QStringList>("expectedEntries");
        QTest::addColumn<QStringList>("expectedFiles");
        // The second file would get the first one's new name.
        QTest::newRow("empty start: file already exists")
            << QStringList{"a.jpg", "b.jpg", "c.jpg"} << "文件" << "" << EEXIST
            << QStringList{"文件.jpg", "b.jpg", "c.jpg"} << QStringList{"b.jpg", "c.jpg", "文件.jpg"};
        QTest::newRow("own bare name of a name without full stop: invalid argument")
            << QStringList{"a.jpg", "readme", "c.jpg"} << "" << "0" << EINVAL
            << QStringList{"a.jpg", "readme", "c.jpg"} << QStringList{"a.jpg", "c.jpg", "readme"};
        QTest::newRow("target exists before the run: never overwritten")
            << QStringList{"a.jpg", "文件0.jpg"} << "文件" << "0" << EEXIST
            << QStringList{"a.jpg", "文件0.jpg"} << QStringList{"a.jpg", "文件0.jpg"};
    }

    void failureStopsTheRunAndKeepsEntriesTrue()
    {
        QFETCH(QStringList, files);
        QFETCH(QString, base);
        QFETCH(QString, start);
        QFETCH(int, error);
        QFETCH(QStringList, expectedEntries);
        QFETCH(QStringList, expectedFiles);
        // Only the sources are in the list; a file already there is only in the folder.
        Setup s(files);
        s.w->List1->clear();
        for (const QString &n : files) {
            if (!n.startsWith(u'文')) {
                s.w->List1->addItem(s.path(n));
                s.w->List1->item(s.w->List1->count() - 1)->setSelected(true);
            }
        }
        expectedEntries.removeIf([](const QString &n) { return n == QStringLiteral("文件0.jpg"); });
        s.fields(base, start, QStringLiteral("1"), QString());
        s.w->Command2_Click();

        QCOMPARE(s.w.dialogs.boxes.size(), 1);
        QCOMPARE(s.w.dialogs.boxes[0].text, failureText(error));
        QCOMPARE(s.w.dialogs.boxes[0].title, QStringLiteral("Quillmere"));
        QCOMPARE(s.w.dialogs.boxes[0].icon, Dialogs::Icon::None);
        QStringList paths;
        for (const QString &n : expectedEntries)
            paths << s.path(n);
        QCOMPARE(entries(s.w->List1), paths);
        QCOMPARE(filesIn(s.dir.path()), expectedFiles);
        for (const QString &n : files) {
            if (QFile::exists(s.path(n)))
                QCOMPARE(contentOf(s.path(n)), n.toUtf8());   // no file took another's place
        }
        QVERIFY(s.w->ProgressBar1->isHidden());
        QVERIFY(s.w->Command2->isEnabled() && s.w->mnOpen->isEnabled());
        QCOMPARE(entries(s.w->File1), expectedFiles);
    }

    void extensionFromAFolderNameLeadsNowhere()
    {
        QTemporaryDir dir;
        const QString src = makeFile(dir.path() + QStringLiteral("/a.b/readme"));
        TestWindow w;
        w->List1->addItem(src);
        w->List1->item(0)->setSelected(true);
        w->Command2_Click();
        QCOMPARE(w.dialogs.texts(), QStringList{failureText(ENOENT)});
        QCOMPARE(entries(w->List1), QStringList{src});
        QVERIFY(QFile::exists(src));
    }

    void refusedRenameIsReported()
    {
        setRenameNoReplaceCallForTests(fileInUse);
        Setup s({"a.jpg", "b.jpg"}, {"a.jpg", "b.jpg"});
        s.w->Command2_Click();
        QCOMPARE(s.w.dialogs.texts(), QStringList{failureText(EBUSY)});
        QCOMPARE(entries(s.w->List1), (QStringList{s.path("a.jpg"), s.path("b.jpg")}));
        QCOMPARE(s.w->progressPosition(), 0.0f);
    }

    void emptyListOnlySaysSo()
    {
        TestWindow w;
        w->Command2_Click();
        QCOMPARE(w.dialogs.boxes.size(), 1);
        QCOMPARE(w.dialogs.boxes[0].text, QStringLiteral("列表里没有项目！"));
        QCOMPARE(w.dialogs.boxes[0].title, QStringLiteral("Quillmere"));
        QCOMPARE(w.dialogs.boxes[0].icon, Dialogs::Icon::None);
        QVERIFY(w->ProgressBar1->isHidden());
        QCOMPARE(w->progressMaximum(), 100.0f);
    }

    void nothingSelectedStillEndsWithOk()
    {
        Setup s({"a.jpg", "b.jpg"});
        s.w->Command2_Click();
        QCOMPARE(s.w.dialogs.texts(), QStringList{"OK!"});
        QCOMPARE(s.w->progressMaximum(), 0.0f);
        QCOMPARE(filesIn(s.dir.path()), (QStringList{"a.jpg", "b.jpg"}));
    }

    void runLocksAndYieldsOncePerEntry()
    {
        Setup s({"a.jpg", "b.jpg", "c.jpg"}, {"b.jpg"});
        s.w.showActive();
        int yields = 0;
        bool lockedMeanwhile = true;
        // A zero timer fires once per yield of the run.
        QTimer probe;
        connect(&probe, &QTimer::timeout, this, [&] {
            ++yields;
            lockedMeanwhile = lockedMeanwhile && !s.w->Command2->isEnabled() && !s.w->Text4->isEnabled()
                && !s.w->List1->isEnabled() && s.w->mnPasteList->isEnabled()
                && s.w->ProgressBar1->isVisible();
        });
        probe.start(0);
        s.w->Command2->click();
        probe.stop();
        QVERIFY(lockedMeanwhile);
        QVERIFY2(yields >= 3, qPrintable(QString::number(yields)));
        QVERIFY(s.w->Command2->isEnabled() && s.w->List1->isEnabled() && s.w->Text6->isEnabled());
        QCOMPARE(entries(s.w->List1), (QStringList{s.path("a.jpg"), s.path("文件0.jpg"), s.path("c.jpg")}));
    }

    void pasteDuringTheRunIsFollowedSafely()
    {
        Setup s({"a.jpg", "b.jpg", "c.jpg", "d.jpg"}, {"a.jpg", "b.jpg", "c.jpg"});
        QListWidget *list = s.w->List1;
        // What a paste does while the run yields: new entries at the end (here a selected one),
        // and de-duplication removing an earlier entry.
        QTimer::singleShot(0, this, [&] {
            list->addItem(s.path("d.jpg"));
            list->item(list->count() - 1)->setSelected(true);
            delete list->takeItem(1);
        });
        s.w->Command2_Click();
        QCOMPARE(s.w.dialogs.texts(), QStringList{"OK!"});
        // The removed entry's file is left alone; the added one is never visited.
        QCOMPARE(entries(list), (QStringList{s.path("文件0.jpg"), s.path("文件1.jpg"), s.path("d.jpg"),
                                             s.path("d.jpg")}));
        QCOMPARE(filesIn(s.dir.path()), (QStringList{"b.jpg", "d.jpg", "文件0.jpg", "文件1.jpg"}));
        QCOMPARE(contentOf(s.path("文件1.jpg")), QByteArray("c.jpg"));
    }

    void realPasteWithDuplicatesDuringTheRun()
    {
        Setup s({"a.jpg", "b.jpg", "c.jpg", "d.jpg"}, {"a.jpg", "b.jpg", "c.jpg", "d.jpg"});
        // The paste appends c again; its removal of duplicates rebuilds the list and drops the
        // earlier c. The run follows the rebuilt entries to the end and leaves c alone.
        QGuiApplication::clipboard()->setText(s.path("c.jpg") + QStringLiteral("\r\n"));
        QTimer::singleShot(0, this, [&] { s.w->mnPasteList_Click(); });
        s.w->Command2_Click();
        QCOMPARE(s.w.dialogs.texts(), (QStringList{"Ok!", "OK!"}));
        QCOMPARE(entries(s.w->List1), (QStringList{s.path("文件0.jpg"), s.path("文件1.jpg"),
                                                   s.path("文件2.jpg"), s.path("c.jpg")}));
        QCOMPARE(filesIn(s.dir.path()), (QStringList{"c.jpg", "文件0.jpg", "文件1.jpg", "文件2.jpg"}));
        QCOMPARE(contentOf(s.path("文件2.jpg")), QByteArray("d.jpg"));
    }

    void closeDuringTheRunStopsAtTheNextYield()
    {
        Setup s({"a.jpg", "b.jpg", "c.jpg", "d.jpg"}, {"a.jpg", "b.jpg", "c.jpg", "d.jpg"});
        s.w.showActive();
        // As the program makes it: the window deletes itself when closed.
        s.w->setAttribute(Qt::WA_DeleteOnClose);
        QPointer<Form1> form = s.w.form.release();
        QTimer probe;
        connect(&probe, &QTimer::timeout, this, [&] {
            if (form && form->List1->item(1)->text() == s.path("文件1.jpg"))
                form->close();
        });
        probe.start(0);
        form->Command2->click();
        probe.stop();
        QVERIFY(form);   // not deleted under the run
        QVERIFY(!form->isVisible());
        QVERIFY(form->Command2->isEnabled() && form->List1->isEnabled());
        QVERIFY(form->ProgressBar1->isHidden());
        QVERIFY(s.w.dialogs.boxes.isEmpty());
        QCOMPARE(filesIn(s.dir.path()), (QStringList{"c.jpg", "d.jpg", "文件0.jpg", "文件1.jpg"}));
        QTRY_VERIFY(!form);
        QCOMPARE(readProfileString(s.w.iniPath(), QStringLiteral("path"), QStringLiteral("value")),
                 std::optional<QString>(s.dir.path()));
    }
};

QTEST_MAIN(TstBatchRename)
#include "tst_batchrename.moc"
