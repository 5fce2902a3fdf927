// The batch rename through the real window on real files: names, numbers, the messages, the
// lock, failures that stop the run, and a paste mid-run; and the rename without
// replacing it is built on.
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <cerrno>

#include "platform/filenames.h"
#include "platform/renamefile.h"
#include "testwindow.h"

namespace {

using Box = FakeDialogs::Box;

int fileInUse(const char *, const char *)
{
    errno = EBUSY;
    return -1;
}

int flagRefused(const char *, const char *)
{
    errno = EINVAL;
    return -1;
}

// A folder of files (each holding its own name) and a window whose pane shows the folder and
// whose rename list holds `listed` (all files when empty), those named in `selected` selected.
struct Setup {
    explicit Setup(const QStringList &names, const QStringList &selected = {}, QStringList listed = {})
    {
        for (const QString &n : names)
            makeFile(path(n), n.toUtf8());
        w->setDir1(dir.path());
        for (const QString &n : listed.isEmpty() ? names : listed) {
            w->List1->addEntry(path(n));
            selectRow(w->List1, w->List1->count() - 1, selected.contains(n));
        }
    }
    QString path(const QString &name) const { return dir.path() + u'/' + name; }
    QStringList paths(QStringList names) const
    {
        for (QString &n : names)
            n = path(n);
        return names;
    }
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

const Box kOk{"OK!", "提示", Dialogs::Buttons::Ok, Dialogs::Icon::Information};

} // namespace

class TstBatchRename : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void cleanup() { setRenameNoReplaceCallForTests(nullptr); }

    void renameWithoutReplacing_data()
    {
        QTest::addColumn<bool>("refused");
        QTest::newRow("kernel flag") << false;
        QTest::newRow("link and unlink, where the flag is refused") << true;
    }

    void renameWithoutReplacing()
    {
        QFETCH(bool, refused);
        if (refused)
            setRenameNoReplaceCallForTests(flagRefused);
        QTemporaryDir dir;
        const QString a = makeFile(dir.path() + QStringLiteral("/a.jpg"), "source");
        const QString kept = makeFile(dir.path() + QStringLiteral("/kept.jpg"), "keep me");

        // An existing target keeps its content, and the source stays where it was.
        FsResult r = ::renameNoReplace(a, kept);
        QCOMPARE(r.number, EEXIST);
        QVERIFY(!r.description.isEmpty());
        QCOMPARE(contentOf(kept), "keep me");
        QCOMPARE(contentOf(a), "source");

        r = ::renameNoReplace(a, dir.path() + QStringLiteral("/文件0.jpg"));
        QVERIFY2(r.ok(), qPrintable(r.description));
        QVERIFY(!QFile::exists(a));
        QCOMPARE(contentOf(dir.path() + QStringLiteral("/文件0.jpg")), QByteArray("source"));

        QCOMPARE(::renameNoReplace(a, dir.path() + QStringLiteral("/b.jpg")).number, ENOENT);
        QCOMPARE(::renameNoReplace(kept, dir.path() + QStringLiteral("/no/such/folder.jpg")).number, ENOENT);
        QCOMPARE(contentOf(kept), QByteArray("keep me"));

        // Keeping one's own name succeeds and keeps the file, when there is a file.
        QVERIFY(::renameNoReplace(kept, kept).ok());
        QCOMPARE(contentOf(kept), QByteArray("keep me"));
        QCOMPARE(::renameNoReplace(a, a).number, ENOENT);
    }

    void workedExample()
    {
        Setup s({"a.jpg", "b.png", "c.jpg"}, {"a.jpg", "c.jpg"});
        s.w->Command2->click();
        QCOMPARE(entries(s.w->List1), s.paths({"文件0.jpg", "b.png", "文件1.jpg"}));
        QCOMPARE(filesIn(s.dir.path()), (QStringList{"b.png", "文件0.jpg", "文件1.jpg"}));
        QCOMPARE(contentOf(s.path("文件1.jpg")), QByteArray("c.jpg"));
        QCOMPARE(s.w.dialogs.boxes, QList<Box>{kOk});
        // The pane was read again and lists the new names; the entries keep their selection.
        QCOMPARE(entries(s.w->File1), filesIn(s.dir.path()));
        QCOMPARE(selectedRows(s.w->List1), (QList<int>{0, 2}));
    }

    void names_data()
    {
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<QStringList>("fields");   // base, start, step, extension
        QTest::addColumn<QStringList>("expected");
        const QStringList three{"x1.jpg", "x2.jpg", "x3.jpg"}, one{"a.jpg"};
        QTest::newRow("leading zeros") << three << QStringList{"文件", "007", "1", ""} << QStringList{"文件7.jpg", "文件8.jpg", "文件9.jpg"};
        QTest::newRow("negative step") << three << QStringList{"文件", "10", "-1", ""} << QStringList{"文件10.jpg", "文件9.jpg", "文件8.jpg"};
        QTest::newRow("half steps") << three << QStringList{"文件", "1", "0.5", ""} << QStringList{"文件1.jpg", "文件1.5.jpg", "文件2.jpg"};
        QTest::newRow("tenths add up") << three << QStringList{"文件", "0.1", "0.1", ""} << QStringList{"文件0.1.jpg", "文件0.2.jpg", "文件0.3.jpg"};
        QTest::newRow("own name, new ext; start ignored") << three << QStringList{"", "5", "1", ".txt"} << QStringList{"x1.txt", "x2.txt", "x3.txt"};
        QTest::newRow("empty start: base only") << one << QStringList{"文件", "", "1", ".txt"} << QStringList{"文件.txt"};
        QTest::newRow("own name and ext: same path, success") << one << QStringList{"", "5", "1", ""} << one;
    }

    void names()
    {
        QFETCH(QStringList, files);
        QFETCH(QStringList, fields);
        QFETCH(QStringList, expected);
        Setup s(files, files);
        s.fields(fields[0], fields[1], fields[2], fields[3]);
        s.w->Command2_Click();
        QCOMPARE(s.w.dialogs.texts(), QStringList{"OK!"});
        QCOMPARE(entries(s.w->List1), s.paths(expected));
        QCOMPARE(contentOf(s.path(expected.last())), files.last().toUtf8());
    }

    // A failure ends the run with its error, never with OK!: entries keep the names their files
    // have, and no file takes another's place.
    void failureStopsTheRunAndKeepsEntriesTrue_data()
    {
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<QStringList>("listed");
        QTest::addColumn<QString>("base");
        QTest::addColumn<QString>("start");
        QTest::addColumn<int>("error");
        QTest::addColumn<QStringList>("expectedEntries");
        QTest::addColumn<QStringList>("expectedFiles");
        QTest::newRow("empty start: the second gets the first one's name")
            << QStringList{"a.jpg", "b.jpg", "c.jpg"} << QStringList() << "文件" << "" << EEXIST
            << QStringList{"文件.jpg", "b.jpg", "c.jpg"} << QStringList{"b.jpg", "c.jpg", "文件.jpg"};
        QTest::newRow("own bare name of a name without full stop")
            << QStringList{"a.jpg", "readme", "c.jpg"} << QStringList() << "" << "0" << EINVAL
            << QStringList{"a.jpg", "readme", "c.jpg"} << QStringList{"a.jpg", "c.jpg", "readme"};
        QTest::newRow("target exists before the run: never overwritten")
            << QStringList{"a.jpg", "文件0.jpg"} << QStringList{"a.jpg"} << "文件" << "0" << EEXIST
            << QStringList{"a.jpg"} << QStringList{"a.jpg", "文件0.jpg"};
        QTest::newRow("extension taken from a folder name leads nowhere")
            << QStringList{"a.b/readme"} << QStringList() << "文件" << "0" << ENOENT
            << QStringList{"a.b/readme"} << QStringList();
        QTest::newRow("rename refused by the system")
            << QStringList{"a.jpg", "b.jpg"} << QStringList() << "文件" << "0" << EBUSY
            << QStringList{"a.jpg", "b.jpg"} << QStringList{"a.jpg", "b.jpg"};
    }

    void failureStopsTheRunAndKeepsEntriesTrue()
    {
        QFETCH(QStringList, files);
        QFETCH(QStringList, listed);
        QFETCH(QString, base);
        QFETCH(QString, start);
        QFETCH(int, error);
        QFETCH(QStringList, expectedEntries);
        QFETCH(QStringList, expectedFiles);
        if (error == EBUSY)
            setRenameNoReplaceCallForTests(fileInUse);
        Setup s(files, files, listed);
        s.fields(base, start, QStringLiteral("1"), QString());
        s.w->Command2_Click();

        const QString report = reportText(FsResult::fromErrno(error));
        QCOMPARE(s.w.dialogs.boxes, (QList<Box>{{report, "Quillmere", Dialogs::Buttons::Ok, Dialogs::Icon::None}}));
        QCOMPARE(entries(s.w->List1), s.paths(expectedEntries));
        QCOMPARE(filesIn(s.dir.path()), expectedFiles);
        for (const QString &n : files)
            QVERIFY(!QFile::exists(s.path(n)) || contentOf(s.path(n)) == n.toUtf8());
        QVERIFY(s.w->ProgressBar1->isHidden() && s.w->Command2->isEnabled());
        QCOMPARE(entries(s.w->File1), expectedFiles);
    }

    // Names that are not UTF-8 come from the pane into the list exactly, are shown escaped, and
    // are renamed by their exact bytes; a bare name of such bytes is kept byte for byte.
    void namesThatAreNotUtf8_data()
    {
        QTest::addColumn<QString>("base");
        QTest::addColumn<QString>("extension");
        QTest::addColumn<QByteArray>("renamed");
        QTest::newRow("new base name") << "文件" << "" << QByteArray("\xe6\x96\x87\xe4\xbb\xb6" "0.jpg");
        QTest::newRow("own bare name, new extension") << "" << ".txt" << QByteArray("\xb2\xe2\xca\xd4.txt");
    }

    void namesThatAreNotUtf8()
    {
        QFETCH(QString, base);
        QFETCH(QString, extension);
        QFETCH(QByteArray, renamed);
        QTemporaryDir dir;
        const QString gbk = makeRawFile(dir.path(), "\xb2\xe2\xca\xd4.jpg", "gbk");
        makeRawFile(dir.path(), "\xef\xbf\xbd\xef\xbf\xbd\xef\xbf\xbd\xef\xbf\xbd.jpg", "look-alike");
        TestWindow w(dir.path());
        selectRow(w->File1, int(entries(w->File1).indexOf(gbk.mid(dir.path().size() + 1))));
        w->Command7_Click();
        QCOMPARE(entries(w->List1), QStringList{gbk});
        const QModelIndex row = w->List1->model()->index(0, 0);
        QCOMPARE(row.data().toString(), dir.path() + "/\\xB2\\xE2\\xCA\\xD4.jpg");
        w->Text4->setText(base);
        w->Text6->setText(extension);
        w->List1->selectAll();
        w->Command2_Click();
        QCOMPARE(w.dialogs.texts(), QStringList{"OK!"});
        QCOMPARE(contentOf(dir.path() + u'/' + decodeFileName(renamed)), QByteArray("gbk"));
        QCOMPARE(rawNamesIn(dir.path()), (QList<QByteArray>{renamed, "\xef\xbf\xbd\xef\xbf\xbd\xef\xbf\xbd\xef\xbf\xbd.jpg"}));
    }

    void nothingToRename()
    {
        Setup s({"a.jpg", "b.jpg"});
        s.w->Command2_Click();   // nothing selected: OK all the same
        s.w->List1->clear();
        s.w->Command2_Click();
        QCOMPARE(s.w.dialogs.texts(), (QStringList{"OK!", "列表里没有项目！"}));
        QCOMPARE(filesIn(s.dir.path()), (QStringList{"a.jpg", "b.jpg"}));
    }

    // The run yields once per entry, and meanwhile nothing but the clipboard commands can
    // start on the list it walks.
    void runLocksAndYieldsOncePerEntry()
    {
        Setup s({"a.jpg", "b.jpg", "c.jpg"}, {"b.jpg"});
        int yields = 0;
        bool locked = true;
        QTimer probe;
        connect(&probe, &QTimer::timeout, this, [&] {
            ++yields;
            locked = locked && !s.w->Command2->isEnabled() && !s.w->List1->isEnabled() && s.w->mnPasteList->isEnabled();
        });
        probe.start(0);
        s.w->Command2->click();
        QVERIFY(locked);
        QVERIFY2(yields >= 3, qPrintable(QString::number(yields)));
        QVERIFY(s.w->Command2->isEnabled() && s.w->List1->isEnabled());
    }

    // The locked button hands the focus to the window, not along the tab chain to the drive
    // list (where an arrow key would switch volumes), and has it back afterwards.
    void focusComesBackAfterTheRun()
    {
        Setup s({"a.jpg", "b.jpg"}, {"a.jpg", "b.jpg"});
        QVERIFY(s.w.showActive());
        s.w->Command2->setFocus();
        bool neverOnTheDrives = true;
        QTimer probe;
        connect(&probe, &QTimer::timeout, this,
                [&] { neverOnTheDrives = neverOnTheDrives && QApplication::focusWidget() != s.w->Drive1; });
        probe.start(0);
        s.w->Command2->click();
        QVERIFY(neverOnTheDrives);
        QCOMPARE(QApplication::focusWidget(), s.w->Command2);
    }

    void pasteWithDuplicatesDuringTheRun()
    {
        const QStringList files{"a.jpg", "b.jpg", "c.jpg", "d.jpg"};
        Setup s(files, files);
        // The paste appends c again; its removal of duplicates rebuilds the list and drops the
        // earlier c. The run follows the rebuilt entries to the end and leaves c alone.
        QGuiApplication::clipboard()->setText(s.path("c.jpg") + QStringLiteral("\r\n"));
        QTimer::singleShot(0, this, [&] { s.w->mnPasteList_Click(); });
        s.w->Command2_Click();
        QCOMPARE(s.w.dialogs.texts(), (QStringList{"Ok!", "OK!"}));
        QCOMPARE(entries(s.w->List1), s.paths({"文件0.jpg", "文件1.jpg", "文件2.jpg", "c.jpg"}));
        QCOMPARE(filesIn(s.dir.path()), (QStringList{"c.jpg", "文件0.jpg", "文件1.jpg", "文件2.jpg"}));
        QCOMPARE(contentOf(s.path("文件2.jpg")), QByteArray("d.jpg"));
    }
};

QTEST_MAIN(TstBatchRename)
#include "tst_batchrename.moc"
