// The batch rename through the real window on real files: the worked example, a refusal that
// stops the run, names that are not UTF-8, the lock and the focus; the rename without
// replacing and the new names from the fields it is built on. The names a run makes and the
// failures it meets are held against the preview's prediction in tst_preview; a paste
// mid-run is run and undone in tst_undo.
#include <cerrno>

#include "platform/filenames.h"
#include "platform/renamefile.h"
#include "rename/newname.h"
#include "testwindow.h"
#include "walk/listedits.h"

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
        TempFolder dir;
        const auto at = [&](const char *name) { return dir.path() + u'/' + QString::fromUtf8(name); };
        const QString a = makeFile(at("a.jpg"), "source"), kept = makeFile(at("kept.jpg"), "keep me");
        // An existing target keeps its content, and the source stays where it was.
        QCOMPARE(::renameNoReplace(a, kept).number, EEXIST);
        QCOMPARE(contentOf(kept), "keep me");
        QCOMPARE(contentOf(a), "source");
        const FsResult r = ::renameNoReplace(a, at("文件0.jpg"));
        QVERIFY2(r.ok(), qPrintable(r.description));
        QCOMPARE(rawNamesIn(dir.path()), (QList<QByteArray>{"kept.jpg", "文件0.jpg"}));
        QCOMPARE(contentOf(at("文件0.jpg")), "source");
        QCOMPARE(::renameNoReplace(a, at("b.jpg")).number, ENOENT);
        QCOMPARE(::renameNoReplace(kept, at("no/such/folder.jpg")).number, ENOENT);
        // Keeping one's own name succeeds and keeps the file, when there is a file.
        QVERIFY(::renameNoReplace(kept, kept).ok());
        QCOMPARE(contentOf(kept), "keep me");
        QCOMPARE(::renameNoReplace(a, a).number, ENOENT);
    }

    void workedExample()
    {
        FolderWindow w({"a.jpg", "b.png", "c.jpg"});
        setEntries(w->List1, w.paths({"a.jpg", "b.png", "c.jpg"}), {0, 2});
        w->Command2->click();
        QCOMPARE(entries(w->List1), w.paths({"文件0.jpg", "b.png", "文件1.jpg"}));
        QCOMPARE(filesIn(w.dir.path()), (QStringList{"b.png", "文件0.jpg", "文件1.jpg"}));
        QCOMPARE(contentOf(w.path("文件1.jpg")), QByteArray("c.jpg"));
        QCOMPARE(w.dialogs.boxes, (QList<Box>{{"OK!", "提示", Dialogs::Buttons::Ok, Dialogs::Icon::Information}}));
        // The pane was read again and lists the new names; the entries keep their selection.
        QCOMPARE(entries(w->File1), filesIn(w.dir.path()));
        QCOMPARE(selectedRows(w->List1), (QList<int>{0, 2}));
    }

    // An entry removed while the run yields is skipped, and the planned name it would have had
    // goes to no other entry: the next one gets the running number with its own extension.
    void entryRemovedDuringTheRun()
    {
        FolderWindow w({"a.jpg", "b.png", "c.jpg"});
        setEntries(w->List1, w.paths({"a.jpg", "b.png", "c.jpg"}), {0, 1, 2});
        QTimer probe;
        connect(&probe, &QTimer::timeout, this, [&] {
            if (w->List1->count() == 3 && QFile::exists(w.path("文件0.jpg")))
                keepEntries(w->List1, {true, false, true});
        });
        probe.start(0);
        w->Command2_Click();
        QCOMPARE(filesIn(w.dir.path()), (QStringList{"b.png", "文件0.jpg", "文件1.jpg"}));
        QCOMPARE(contentOf(w.path("文件1.jpg")), QByteArray("c.jpg"));
        QCOMPARE(entries(w->List1), w.paths({"文件0.jpg", "文件1.jpg"}));
    }

    // A rename the system refuses ends the run with its error, never with OK!, and the entries
    // keep the names their files have. (The failures the preview foresees are held against the
    // run in its own tests.)
    void refusalStopsTheRun()
    {
        setRenameNoReplaceCallForTests(fileInUse);
        FolderWindow w({"a.jpg", "b.jpg"});
        w.list({"a.jpg", "b.jpg"});
        w->Command2_Click();
        QCOMPARE(w.dialogs.boxes, (QList<Box>{{reportText(FsResult::fromErrno(EBUSY)), "Quillmere",
                                               Dialogs::Buttons::Ok, Dialogs::Icon::None}}));
        QCOMPARE(entries(w->List1), w.paths({"a.jpg", "b.jpg"}));
        QCOMPARE(filesIn(w.dir.path()), (QStringList{"a.jpg", "b.jpg"}));
        QVERIFY(w->ProgressBar1->isHidden() && w->Command2->isEnabled());
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
        TempFolder dir;
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

    // The run yields once per entry, and meanwhile nothing but the clipboard commands can
    // start on the list it walks. The locked button hands the focus to the window, not along
    // the tab chain to the drive list (where an arrow key would switch volumes), and has it
    // back afterwards.
    void runLocksYieldsAndKeepsTheFocus()
    {
        FolderWindow w({"a.jpg", "b.jpg", "c.jpg"});
        setEntries(w->List1, w.paths({"a.jpg", "b.jpg", "c.jpg"}), {1});
        QVERIFY(w.showActive());
        w->Command2->setFocus();
        int yields = 0;
        bool locked = true, neverOnTheDrives = true;
        QTimer probe;
        connect(&probe, &QTimer::timeout, this, [&] {
            ++yields;
            locked = locked && !w->Command2->isEnabled() && !w->List1->isEnabled() && w->mnPasteList->isEnabled();
            neverOnTheDrives = neverOnTheDrives && QApplication::focusWidget() != w->Drive1;
        });
        probe.start(0);
        w->Command2->click();
        QVERIFY(locked && neverOnTheDrives);
        QVERIFY2(yields >= 3, qPrintable(QString::number(yields)));
        QVERIFY(w->Command2->isEnabled() && w->List1->isEnabled());
        QCOMPARE(QApplication::focusWidget(), w->Command2);
    }

    // The new path from the four fields where the preview's table of runs does not go: the
    // kept extension is taken from the last full stop anywhere, folder included.
    void newPath_data()
    {
        QTest::addColumn<QString>("src");
        QTest::addColumn<QString>("base");
        QTest::addColumn<bool>("hasStart");
        QTest::addColumn<QString>("ext");
        QTest::addColumn<QString>("expected");
        QTest::newRow("base, ext, no start") << "/p/a.jpg" << "文件" << false << ".txt" << "/p/文件.txt";
        QTest::newRow("ext typed without full stop") << "/p/a.jpg" << "文件" << true << "jpg" << "/p/文件7jpg";
        QTest::newRow("blank base is a base") << "/p/a.jpg" << " " << true << "" << "/p/ 7.jpg";
        QTest::newRow("hidden-style name keeps all of it") << "/p/.profile" << "" << true << "" << "/p/.profile";
        QTest::newRow("no folder") << "a.jpg" << "x" << true << "" << "x7.jpg";
        QTest::newRow("full stop only in folder") << "/a.b/readme" << "文件" << true << "" << "/a.b/文件7.b/readme";
    }

    void newPath()
    {
        QFETCH(QString, src);
        QFETCH(QString, base);
        QFETCH(bool, hasStart);
        QFETCH(QString, ext);
        QFETCH(QString, expected);
        const TextResult r = buildNewPath(src, NewNameFields{base, hasStart, ext}, QStringLiteral("7"));
        QVERIFY(r.ok());
        QCOMPARE(r.text, expected);
    }

    // Names that cannot be built fail with EINVAL: the file's own bare name of a name without
    // a full stop, and typed texts that would take the file out of its folder or cut its name
    // short.
    void refusedNewPaths_data()
    {
        QTest::addColumn<QString>("src");
        QTest::addColumn<QString>("base");
        QTest::addColumn<QString>("ext");
        QTest::newRow("own bare name, new extension") << "/p/readme" << QString() << ".txt";
        QTest::newRow("own bare name, folder with full stop") << "/a.b/readme" << QString() << QString();
        QTest::newRow("own bare name, path ends in separator") << "/p/" << QString() << QString();
        QTest::newRow("separator in the extension") << "/p/a.jpg" << "文件" << "/.jpg";
        QTest::newRow("NUL in the base name") << "/p/a.jpg" << (QStringLiteral("文件") + QChar(0)) << QString();
    }

    void refusedNewPaths()
    {
        QFETCH(QString, src);
        QFETCH(QString, base);
        QFETCH(QString, ext);
        const TextResult r = buildNewPath(src, NewNameFields{base, true, ext}, QStringLiteral("0"));
        QCOMPARE(r.error.number, EINVAL);
        QVERIFY(!r.error.description.isEmpty());
    }
};

QTEST_MAIN(TstBatchRename)
#include "tst_batchrename.moc"
