// Deleting, moving and copying the selected files of either list, on real folders; copying
// lists of paths to the clipboard and pasting them into the rename list.
#include <QDirIterator>

#include <cerrno>
#include <sys/xattr.h>

#include "fileops/pathlist.h"
#include "platform/filenames.h"
#include "platform/fileops.h"
#include "platform/renamefile.h"
#include "testwindow.h"

using namespace Qt::StringLiterals;

namespace {

using Box = FakeDialogs::Box;

struct HookGuard {
    ~HookGuard() { setFileStepHook({}); }
};

// Every entry under a folder with its contents.
QMap<QString, QByteArray> snapshot(const QString &folder)
{
    QMap<QString, QByteArray> all;
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        all.insert(path, it.fileInfo().isDir() ? QByteArray("<folder>") : contentOf(path));
    }
    return all;
}

// One file operation of the platform: on `path`, or, for "... onto", from notes.txt onto it.
FsResult runOperation(const QString &op, const QString &path, const QString &folder)
{
    const QString notes = folder + u"/notes.txt"_s, elsewhere = folder + u"/sub/notes.txt"_s;
    if (op == u"rename")
        return renameNoReplace(path, folder + u"/renamed.txt"_s);
    if (op == u"move")
        return moveFile(path, elsewhere);
    if (op == u"copy")
        return copyFileReplacing(path, elsewhere);
    if (op == u"delete")
        return deletePath(path);
    if (op == u"rename onto")
        return renameNoReplace(notes, path);
    if (op == u"move onto")
        return moveFile(notes, path);
    return copyFileReplacing(notes, path);
}

} // namespace

class TstFileOps : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // The selected entries' files go, from the end of the list; the pane is read again. A
    // link goes, not what it points to.
    void deleteFromRenameList()
    {
        FolderWindow w({"f0.txt", "f1.txt", "f2.txt", "f3.txt", "f4.txt"});
        QVERIFY(QFile::link(w.path("f1.txt"), w.path("f2.txt.lnk")));
        setEntries(w->List1, w.paths({"f0.txt", "f1.txt", "f2.txt", "f2.txt.lnk", "f3.txt", "f4.txt"}), {0, 2, 3, 4});
        w->ActiveList = 1;
        QStringList order;
        setFileStepHook([&](FileStep, const QString &p) { order << p; return 0; });
        HookGuard guard;
        w->Command1_Click();
        QCOMPARE(order, w.paths({"f3.txt", "f2.txt.lnk", "f2.txt", "f0.txt"}));
        QCOMPARE(entries(w->List1), w.paths({"f1.txt", "f4.txt"}));
        QCOMPARE(rawNamesIn(w.dir.path()), (QList<QByteArray>{"f1.txt", "f4.txt"}));
        QCOMPARE(entries(w->File1), (QStringList{"f1.txt", "f4.txt"}));
        QCOMPARE(w.dialogs.boxes.last(), (Box{"OK！", "提示：", Dialogs::Buttons::Ok, Dialogs::Icon::Information}));
    }

    // An entry goes only when its file went; the failures are reported after the walk. Entries
    // that name no file as given (relative, holding NUL, ending in a separator, too long)
    // touch nothing, not even the working folder's keep.txt.
    void deleteFailureKeepsEntryAndIsReported()
    {
        FolderWindow w({"full/inside.txt", "locked.txt", "plain.txt", "keep.txt"});
        const QString folder = w.path("full"), locked = w.path("locked.txt"), keep = w.path("keep.txt");
        const QStringList unnamed{u"keep.txt"_s, keep + QChar(0) + u".bak"_s, keep + u'/',
                                  w.dir.path() + u"/a"_s.repeated(2100) + u"/keep.txt"_s};
        const InFolder in(w.dir.path());
        setEntries(w->List1, unnamed + w.paths({"gone.txt", "full", "locked.txt", "plain.txt"}), {0, 1, 2, 3, 4, 5, 6, 7});
        w->ActiveList = 1;
        setFileStepHook([&](FileStep, const QString &p) { return p == locked ? EACCES : 0; });
        HookGuard guard;
        w->Command1_Click();
        QCOMPARE(entries(w->List1), (unnamed + QStringList{folder, locked}));
        QVERIFY(QFile::exists(folder + u"/inside.txt"_s) && QFile::exists(locked) && QFile::exists(keep));
        QVERIFY(!QFile::exists(w.path("plain.txt")));
        const QString report = w.dialogs.boxes.last().text;
        QVERIFY2(report.startsWith(u"6 个文件未能删除，第一个是：\r\n"_s + locked + u"\r\n13\r\n"_s), qPrintable(report));
    }

    // Names that differ only in bytes that are not UTF-8, and a name really holding U+FFFD:
    // each operation acts on the one file named and leaves its look-alikes as they were.
    void operationsActOnTheNamedFile_data()
    {
        QTest::addColumn<QString>("op");
        QTest::addColumn<QByteArray>("name");
        for (const char *op : {"rename", "move", "copy", "delete"})
            for (const QByteArray &name : {"\xb2\xe2\xca\xd4.jpg"_ba, "\xff.txt"_ba, "\xfe.txt"_ba, "\xef\xbf\xbd.txt"_ba})
                QTest::addRow("%s %s", op, name.toHex().constData()) << QString::fromLatin1(op) << name;
    }

    void operationsActOnTheNamedFile()
    {
        QFETCH(QString, op);
        QFETCH(QByteArray, name);
        TempFolder dir;
        QList<QByteArray> names{"sub", "\xb2\xe2\xca\xd4.jpg", "\xef\xbf\xbd.txt", "\xfe.txt", "\xff.txt"};
        for (const QByteArray &n : names.mid(1))
            makeRawFile(dir.path(), n, n);
        QVERIFY(QDir(dir.path()).mkdir(u"sub"_s));
        const FsResult r = runOperation(op, dir.path() + u'/' + decodeFileName(name), dir.path());
        QVERIFY2(r.ok(), qPrintable(r.description));
        if (op != u"copy")
            names.removeOne(name);
        if (op == u"rename")
            names << "renamed.txt";
        std::sort(names.begin(), names.end());
        QCOMPARE(rawNamesIn(dir.path()), names);
        const QString moved = dir.path() + (op == u"rename" ? u"/renamed.txt"_s : u"/sub/notes.txt"_s);
        QCOMPARE(contentOf(moved), op == u"delete" ? "<missing>"_ba : name);
    }

    // Paths that no file can have, or that would be read from the working folder: refused or
    // reported, and nothing touched, also not the working folder's notes.txt. Only a name
    // missing from a folder that is there counts as deleted.
    void pathsThatNameNoFileTouchNothing_data()
    {
        QTest::addColumn<QString>("op");
        QTest::addColumn<QString>("path");   // "{d}" is the test's folder, also the working folder
        QTest::addColumn<int>("error");      // -1: any failure
        const struct {
            const char *kind;
            QString path;
            int error;
        } kinds[] = {
            {"relative", u"notes.txt"_s, EINVAL},
            {"NUL", u"{d}/notes.txt"_s + QChar(0) + u".bak"_s, EINVAL},
            {"escapes spelling UTF-8", u"{d}/"_s + QChar(0xDCC3) + QChar(0xDCA9) + u".txt"_s, EINVAL},
            {"lone surrogate", u"{d}/notes"_s + QChar(0xD800) + u".txt"_s, EINVAL},
            {"trailing separator", u"{d}/notes.txt/"_s, -1},
            {"over PATH_MAX", u"{d}/"_s + u"a/"_s.repeated(2100) + u"notes.txt"_s, ENAMETOOLONG},
        };
        for (const char *op : {"rename", "move", "copy", "delete", "rename onto", "move onto", "copy onto"}) {
            for (const auto &k : kinds) {
                const bool onto = QByteArray(op).endsWith("onto");
                QTest::addRow("%s %s", op, k.kind)
                    << QString::fromLatin1(op) << QString(k.path).replace(u"notes"_s, onto ? u"moved"_s : u"notes"_s) << k.error;
            }
        }
        QTest::newRow("delete a name already gone") << u"delete"_s << u"{d}/gone.txt"_s << 0;
        QTest::newRow("delete in a missing folder") << u"delete"_s << u"{d}/gone/notes.txt"_s << ENOENT;
        QTest::newRow("delete a folder") << u"delete"_s << u"{d}/sub"_s << EISDIR;
        QTest::newRow("delete takes no wildcard") << u"delete"_s << u"{d}/*.txt"_s << 0;
    }

    void pathsThatNameNoFileTouchNothing()
    {
        QFETCH(QString, op);
        QFETCH(QString, path);
        QFETCH(int, error);
        TempFolder dir;
        makeFile(dir.path() + u"/notes.txt"_s, "notes");
        makeFile(dir.path() + u"/é.txt"_s, "é");
        makeFile(dir.path() + u"/sub/keep.txt"_s, "keep");
        const InFolder in(dir.path());
        const QMap<QString, QByteArray> before = snapshot(dir.path());
        const FsResult r = runOperation(op, QString(path).replace(u"{d}"_s, dir.path()), dir.path());
        QCOMPARE(snapshot(dir.path()), before);
        if (error < 0)
            QVERIFY(!r.ok());
        else
            QCOMPARE(r.number, error);
    }

    // No to the question deletes nothing; the pane's files go without touching the rename list.
    void deleteAsksFirstAndTakesTheActiveList()
    {
        FolderWindow w({"a.txt", "b.txt"});
        const QString a = w.path("a.txt");
        w->List1->addEntry(a);
        selectRow(w->File1, 0);
        w.dialogs.answers = {Dialogs::Answer::No};
        w->Command1_Click();
        QCOMPARE(w.dialogs.boxes, (QList<Box>{{"文件删除后不可恢复，是否继续？", "询问：", Dialogs::Buttons::YesNo,
                                                Dialogs::Icon::Question}}));
        QCOMPARE(filesIn(w.dir.path()), (QStringList{"a.txt", "b.txt"}));
        w->Command1_Click();
        QCOMPARE(filesIn(w.dir.path()), QStringList{"b.txt"});
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
        FolderWindow w({"src1/same.txt", "src2/same.txt", "src1/other.txt", "dest/other.txt"});
        const QString a = w.path("src1/same.txt"), b = w.path("src2/same.txt"), c = w.path("src1/other.txt");
        const QString target = w.path("dest");
        setEntries(w->List1, {a, c, b}, {0, 1, 2});
        w->ActiveList = 1;
        move ? w->mnMoveTo_Click() : w->mnCopyTo_Click();   // the picker cancelled: nothing said or done
        QVERIFY(w.dialogs.boxes.isEmpty() && !QFile::exists(target + u"/same.txt"_s));
        w.dialogs.folderAnswers = {target};
        move ? w->mnMoveTo_Click() : w->mnCopyTo_Click();
        const QString report = w.dialogs.boxes.last().text;
        if (move) {
            QCOMPARE(entries(w->List1), (QStringList{target + u"/same.txt"_s, c, b}));
            QCOMPARE(contentOf(target + u"/same.txt"_s), "src1/same.txt");
            QCOMPARE(contentOf(target + u"/other.txt"_s), "dest/other.txt");
            QVERIFY(QFile::exists(b) && QFile::exists(c) && !QFile::exists(a));
            QVERIFY2(report.startsWith(u"2 个文件未能移动，第一个是：\r\n"_s + c + u"\r\n17\r\n"_s), qPrintable(report));
        } else {
            QCOMPARE(entries(w->List1), (QStringList{a, c, b}));
            QCOMPARE(contentOf(target + u"/same.txt"_s), "src2/same.txt");
            QCOMPARE(contentOf(target + u"/other.txt"_s), "src1/other.txt");
            QCOMPARE(report, u"Ok!"_s);
        }
        QVERIFY(w->Command1->isEnabled());
    }

    void transferFromPaneToItsOwnFolderKeepsTheFile()
    {
        FolderWindow w({"a.txt"});
        selectRow(w->File1, 0);
        w.dialogs.folderAnswers = {w.dir.path(), w.dir.path() + u'/'};
        w->mnCopyTo_Click();
        QCOMPARE(contentOf(w.path("a.txt")), "a.txt");
        QVERIFY(w.dialogs.boxes.last().text.contains(sameFileDescription()));
        selectRow(w->File1, 0);
        w->mnMoveTo_Click();
        QCOMPARE(w.dialogs.boxes.last().text, u"Ok!"_s);
        QCOMPARE(contentOf(w.path("a.txt")), "a.txt");
    }

    void moveAcrossFileSystems()
    {
        if (!QFileInfo(u"/dev/shm"_s).isWritable())
            QSKIP("no /dev/shm");
        TempFolder disk, shm(u"/dev/shm/quillmere-XXXXXX"_s);
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

    // Across file systems a moved file keeps its user attributes (its ACLs travel the same way).
    void moveAcrossFileSystemsKeepsAttributes()
    {
        TempFolder disk, shm(u"/dev/shm/quillmere-XXXXXX"_s);
        for (const TempFolder *d : {&disk, &shm})
            if (!d->isValid() || ::setxattr(encodeFileName(d->path()).constData(), "user.probe", "1", 1, 0) != 0)
                QSKIP("needs two file systems that both take user extended attributes: /dev/shm (tmpfs, "
                      "Linux 6.6 and later) and the temporary folder's");
        const QString src = makeRawFile(shm.path(), "\xb2\xe2\xca\xd4.jpg", "photo");
        QCOMPARE(::setxattr(encodeFileName(src).constData(), "user.xdg.comment", "拍于北京", 12, 0), 0);
        const QString dst = disk.path() + src.mid(shm.path().size());
        QVERIFY(moveFile(src, dst).ok());
        QVERIFY(rawNamesIn(shm.path()).isEmpty());
        QCOMPARE(contentOf(dst), "photo");
        QByteArray value(64, '\0');
        value.truncate(std::max<ssize_t>(0, ::getxattr(encodeFileName(dst).constData(), "user.xdg.comment", value.data(), 64)));
        QCOMPARE(value, "拍于北京");
    }

    // The selection of either list is copied, a path a line with nothing quoted; names that
    // the text cannot carry (bytes that are not UTF-8, a line break) are written there visibly,
    // and come back exactly from the program's own format, one entry each.
    void copyThenPasteKeepsEveryNameExact()
    {
        const QStringList paths{decodeFileName("/p/\xb2\xe2\xca\xd4.jpg"), "/p/a\r\nb.txt", "/p/ok 中.txt",
                                decodeFileName("/p/\xff.txt"), "/p/d\"'$\U0001F600.txt"};
        FolderWindow w({"x.jpg"});
        setEntries(w->List1, QStringList{"/skip"} + paths, {1, 2, 3, 4, 5});
        w->ActiveList = 1;
        w->mnCopyList_Click();
        QCOMPARE(QGuiApplication::clipboard()->text(), "/p/\\xB2\\xE2\\xCA\\xD4.jpg\r\n/p/a\\x0D\\x0Ab.txt\r\n"
                                                       "/p/ok 中.txt\r\n/p/\\xFF.txt\r\n/p/d\"'$\U0001F600.txt\r\n");
        w->List1->clear();
        w->mnPasteList_Click();
        QCOMPARE(entries(w->List1), paths);
        // Text from elsewhere is taken as it reads.
        QGuiApplication::clipboard()->setText(clipboardListText(paths));
        w->List1->clear();
        w->mnPasteList_Click();
        QCOMPARE(w->List1->text(0), "/p/\\xB2\\xE2\\xCA\\xD4.jpg");
        w->ActiveList = 2;
        selectRow(w->File1, 0);
        w->mnCopyList_Click();
        QCOMPARE(QGuiApplication::clipboard()->text(), w.path("x.jpg") + "\r\n");
        QCOMPARE(w.dialogs.texts(), (QStringList{"Ok!", "Ok!"}));   // the pastes' only
    }

    // Only CR LF ends a line; the pieces are appended and the duplicates then removed, the
    // last of equal entries kept. Nothing but line breaks is no list at all.
    void paste_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("list");
        QTest::addColumn<QString>("message");
        QTest::newRow("round trip") << clipboardListText({"/é 中.txt", " /s p ", "-x"})
                                    << QStringList{"/old", "/é 中.txt", " /s p ", "-x"} << "Ok!";
        QTest::newRow("blank lines") << "\r\n\r\n/n\r\n\r\n" << QStringList{"/old", "/n"} << "Ok!";
        QTest::newRow("LF only") << "/p\n/q\n" << QStringList{"/old", "/p\n/q\n"} << "Ok!";
        QTest::newRow("lone CR") << "a\rb\r\n" << QStringList{"/old", "a\rb"} << "Ok!";
        QTest::newRow("pasted duplicate stays at the end") << "/old\r\n/z\r\n" << QStringList{"/old", "/z"} << "Ok!";
        QTest::newRow("older duplicate goes") << "/z\r\n/old" << QStringList{"/z", "/old"} << "Ok!";
        // Into an empty list.
        QTest::newRow("only line breaks") << "\r\n\r\n" << QStringList() << "没有文件！";
        QTest::newRow("empty clipboard says nothing") << "" << QStringList() << "";
    }

    void paste()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, list);
        QFETCH(QString, message);
        TestWindow w;
        if (!list.isEmpty())
            w->List1->addEntry("/old");
        QGuiApplication::clipboard()->setText(text);
        w->mnPasteList_Click();
        QCOMPARE(entries(w->List1), list);
        QCOMPARE(w.dialogs.texts(), message.isEmpty() ? QStringList() : QStringList{message});
        QVERIFY(!w->ProgressBar1->isVisible());
    }
};

QTEST_MAIN(TstFileOps)
#include "tst_fileops.moc"
