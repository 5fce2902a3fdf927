// Taking batches back through the real window on real files: renames and moves, after a
// restart, after a failure and after a crash, never onto a file that is there now; the
// history window; a state folder that cannot be written. And the journals themselves: names
// kept to the byte, and journals cut short, damaged or newer than the program read without
// harm; the history keeps the newest hundred.
#include <QProcess>
#include <QTreeWidget>

#include <cerrno>
#include <cstdio>

#include "fileops/pathlist.h"
#include "rename/historywindow.h"
#include "rename/journal.h"
#include "rename/journalformat.h"
#include "rename/undo.h"
#include "testwindow.h"

using namespace Qt::StringLiterals;

namespace {

using Box = FakeDialogs::Box;

const Box kDone{u"撤销完成。"_s, u"提示"_s, Dialogs::Buttons::Ok, Dialogs::Icon::Information};

// Files holding their own names in a folder, all of them in the rename list and selected.
struct Batch : FolderWindow {
    explicit Batch(const QStringList &names) : FolderWindow(names) { list(names); }
    // Every file holds the name it had before the batch.
    void verifyContents(const QStringList &names) const
    {
        QStringList sorted = names;
        sorted.sort();
        QCOMPARE(filesIn(dir.path()), sorted);
        for (const QString &n : names)
            QCOMPARE(contentOf(path(n)), n.toUtf8());
    }
    void undoLast()
    {
        dialogs.clear();
        form->mnUndo->trigger();
    }
};

QString undoReport(int count, const QString &path, const FsResult &first)
{
    FailureTally tally;
    tally.add(path, first);
    tally.count = count;
    return failureReport(tally, u"撤销"_s);
}

// A journal of two files renamed in a real folder, the first one recorded as done.
QString writeJournal(const TempFolder &dir)
{
    makeFile(dir.path() + u"/a.jpg"_s);
    makeFile(dir.path() + u"/b.jpg"_s);
    FsResult error;
    auto writer = JournalWriter::begin(dir.path() + u"/state"_s, JournalKind::Rename,
                                       {{dir.path() + u"/a.jpg"_s, dir.path() + u"/文件0.jpg"_s},
                                        {dir.path() + u"/b.jpg"_s, dir.path() + u"/文件1.jpg"_s}},
                                       error);
    if (!writer)
        return QString();
    writer->done(dir.path() + u"/a.jpg"_s, dir.path() + u"/文件0.jpg"_s);
    writer->finish();
    return writer->path();
}

} // namespace

class TstUndo : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // Every file renamed goes back, the last first, and the entries with them; once only.
    void undoRestoresNamesContentsAndEntries_data()
    {
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<QStringList>("listed");
        QTest::addColumn<int>("renamed");
        QTest::newRow("plain") << QStringList{"a.jpg", "b.png", "c.jpg"} << QStringList() << 3;
        // 文件1.jpg gives up its name to become 文件0.jpg, and b.jpg takes it.
        QTest::newRow("a name given up is taken by the next") << QStringList{"文件1.jpg", "b.jpg"} << QStringList() << 2;
        // Stopped at b.jpg by 文件1.jpg: only a.jpg goes back, 文件1.jpg is left as it is.
        QTest::newRow("a run stopped at a failure") << QStringList{"a.jpg", "b.jpg", "文件1.jpg"}
                                                    << QStringList{"a.jpg", "b.jpg"} << 1;
    }

    void undoRestoresNamesContentsAndEntries()
    {
        QFETCH(QStringList, names);
        QFETCH(QStringList, listed);
        QFETCH(int, renamed);
        Batch b(names);
        if (!listed.isEmpty())
            b.list(listed);
        b->Command2->click();
        QVERIFY(b.showActive());
        b.dialogs.clear();
        b->List1->setFocus();
        QTest::keyClick(b->List1, Qt::Key_Z, Qt::ControlModifier);

        QCOMPARE(b.dialogs.boxes.size(), 2);
        QCOMPARE(b.dialogs.boxes[0].buttons, Dialogs::Buttons::YesNo);
        QVERIFY(b.dialogs.boxes[0].text.contains(u"的命名（%1 个文件），是否继续？"_s.arg(renamed)));
        QCOMPARE(b.dialogs.boxes[1], kDone);
        b.verifyContents(names);
        QCOMPARE(entries(b->List1), b.paths(listed.isEmpty() ? names : listed));
        QCOMPARE(entries(b->File1), filesIn(b.dir.path()));

        b.undoLast();
        QCOMPARE(b.dialogs.texts(), QStringList{u"没有可以撤销的命名。"_s});
    }

    void undoMoveFromBothLists_data()
    {
        QTest::addColumn<int>("activeList");
        QTest::addColumn<bool>("acrossFileSystems");
        QTest::newRow("rename list") << 1 << false;
        QTest::newRow("file pane") << 2 << false;
        QTest::newRow("rename list, to another file system") << 1 << true;
        QTest::newRow("file pane, to another file system") << 2 << true;
    }

    void undoMoveFromBothLists()
    {
        QFETCH(int, activeList);
        QFETCH(bool, acrossFileSystems);
        if (acrossFileSystems && !QFileInfo(u"/dev/shm"_s).isWritable())
            QSKIP("no second file system (/dev/shm) on this machine");
        TempFolder target(acrossFileSystems ? u"/dev/shm/quillmere-XXXXXX"_s
                                               : QDir::tempPath() + u"/quillmere-XXXXXX"_s);
        const QStringList names{"a.jpg", "b.jpg", "c.jpg"};
        Batch b(names);
        b->File1->selectAll();
        b->ActiveList = qint16(activeList);
        b.dialogs.folderAnswers << target.path();
        b->mnMoveTo_Click();
        QCOMPARE(filesIn(target.path()), names);

        b.undoLast();
        QCOMPARE(b.dialogs.texts().last(), kDone.text);
        b.verifyContents(names);
        QVERIFY(filesIn(target.path()).isEmpty());
        QCOMPARE(entries(b->List1), b.paths(names));
        QCOMPARE(entries(b->File1), names);
    }

    // The paste during the run appends c again; its removal of duplicates rebuilds the list
    // and drops the earlier c. The run follows the rebuilt entries to the end (never a silent
    // OK! at the rebuild) and leaves c alone, so the later files get other numbers than
    // planned: the journal follows where they really went.
    void pasteDuringTheRunThenUndo()
    {
        const QStringList names{"a.jpg", "b.jpg", "c.jpg", "d.jpg"};
        Batch b(names);
        QGuiApplication::clipboard()->setText(b.path(u"c.jpg"_s) + u"\r\n"_s);
        QTimer::singleShot(0, this, [&] { b->mnPasteList_Click(); });
        b->Command2_Click();
        QCOMPARE(b.dialogs.texts(), (QStringList{"Ok!", "OK!"}));
        QCOMPARE(entries(b->List1), b.paths({"文件0.jpg", "文件1.jpg", "文件2.jpg", "c.jpg"}));
        QCOMPARE(filesIn(b.dir.path()), (QStringList{"c.jpg", "文件0.jpg", "文件1.jpg", "文件2.jpg"}));
        QCOMPARE(contentOf(b.path(u"文件2.jpg"_s)), "d.jpg");
        b.undoLast();
        QCOMPARE(b.dialogs.boxes.last(), kDone);
        b.verifyContents(names);
        QCOMPARE(entries(b->List1), b.paths({"a.jpg", "b.jpg", "d.jpg", "c.jpg"}));
    }

    // Each row changes one renamed file behind the program's back before the undo.
    void undoNeverReplacesAndSkipsWhatChanged_data()
    {
        QTest::addColumn<QString>("change");
        QTest::addColumn<int>("error");
        QTest::newRow("old name taken meanwhile") << "take" << EEXIST;
        QTest::newRow("renamed away since") << "rename" << ENOENT;
        QTest::newRow("replaced by another file since") << "replace" << ESTALE;
    }

    void undoNeverReplacesAndSkipsWhatChanged()
    {
        QFETCH(QString, change);
        QFETCH(int, error);
        Batch b({"a.jpg", "b.jpg", "c.jpg"});
        b->Command2_Click();
        const QString renamed = b.path(u"文件1.jpg"_s);
        if (change == u"take")
            makeFile(b.path(u"b.jpg"_s), "someone else's");
        else if (change == u"rename")
            QVERIFY(QFile::rename(renamed, b.path(u"elsewhere.jpg"_s)));
        else   // as editors save: a new file written beside it, then renamed over it
            QVERIFY(::rename(QFile::encodeName(makeFile(b.path(u".new"_s), "new")), QFile::encodeName(renamed)) == 0);

        b.undoLast();
        const FsResult why = error == ESTALE ? FsResult{ESTALE, replacedSinceDescription()}
                                             : FsResult::fromErrno(error);
        QCOMPARE(b.dialogs.boxes.last(), (Box{undoReport(1, renamed, why), "Quillmere",
                                                Dialogs::Buttons::Ok, Dialogs::Icon::Warning}));
        QCOMPARE(contentOf(b.path(u"a.jpg"_s)), "a.jpg");
        QCOMPARE(contentOf(b.path(u"c.jpg"_s)), "c.jpg");
        if (change == u"take")
            QCOMPARE(contentOf(b.path(u"b.jpg"_s)), "someone else's");
        // The entry of the file that stayed still names it.
        QCOMPARE(entries(b->List1)[1], renamed);
    }

    // The helper renames slowly until it is killed; the journal it leaves takes back every
    // file it renamed, those it had no time to record too.
    void crashInTheMiddleThenUndo()
    {
        TempFolder state, app;
        QStringList names;
        for (int i = 0; i < 300; ++i)
            names << u"p%1.jpg"_s.arg(i, 3, 10, QLatin1Char('0'));
        const TestFolder files(names);
        const QString dir = files.dir.path();
        QProcess run;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(u"XDG_STATE_HOME"_s, state.path());
        env.insert(u"QT_QPA_PLATFORM"_s, u"offscreen"_s);
        run.setProcessEnvironment(env);
        run.start(QStringLiteral(CRASHRUN), {dir, app.path()});
        QVERIFY(run.waitForStarted());
        const auto renamedCount = [&] { return QDir(dir).entryList({u"文件*"_s}, QDir::Files).size(); };
        QTRY_VERIFY_WITH_TIMEOUT(renamedCount() >= 20, 20000);
        run.kill();
        QVERIFY(run.waitForFinished());
        const int renamed = renamedCount();
        QVERIFY2(renamed < names.size(), "the run ended before it was killed");

        TestWindow after(QString(), state.path());
        after->mnUndo->trigger();
        QCOMPARE(after.dialogs.boxes.last(), kDone);
        QCOMPARE(filesIn(dir), names);
        for (const QString &n : names)
            QCOMPARE(contentOf(files.path(n)), n.toUtf8());
    }

    void closingTheWindowDuringTheUndo()
    {
        // The undo yields once a millisecond: enough files that it yields while under way.
        QStringList names;
        for (int i = 0; i < 3000; ++i)
            names << u"p%1.jpg"_s.arg(i);
        Batch b(names);
        b->Command2_Click();
        b.showActive();
        b->setAttribute(Qt::WA_DeleteOnClose);
        QPointer<Form1> form = b.form.release();
        QTimer probe;
        connect(&probe, &QTimer::timeout, this, [&] {
            if (form && QFile::exists(b.path(u"p2999.jpg"_s)))
                form->close();
        });
        probe.start(0);
        form->mnUndo->trigger();
        probe.stop();
        QVERIFY(form && !form->isVisible() && form->mnUndo->isEnabled());
        QTRY_VERIFY(!form);

        // The rest is taken back another time.
        TestWindow after(QString(), b.stateHome());
        after->mnUndo->trigger();
        QCOMPARE(after.dialogs.boxes.last(), kDone);
        b.verifyContents(names);
    }

    void historyListsBatchesAndUndoesAnyOne()
    {
        Batch b({"a.jpg", "b.jpg"});
        b->Command2_Click();   // a, b → 文件0, 文件1
        setEntries(b->List1, b.paths({"文件0.jpg"}), {0});
        b->Text4->setText(u"x"_s);
        b->Command2_Click();   // 文件0 → x0
        makeFile(b.journalFolder() + u"/99990101T000000000Z-1-000000.journal"_s, "quillmere-journal 9\n");

        b->mnHistory->trigger();
        QTreeWidget *list = b->findChild<HistoryWindow *>()->list();
        QCOMPARE(list->topLevelItemCount(), 3);
        QCOMPARE(list->topLevelItem(0)->text(3), u"无法读取：记录来自较新的版本（格式 9）"_s);
        QCOMPARE(list->topLevelItem(1)->text(2), u"1"_s);
        QCOMPARE(list->topLevelItem(2)->text(1), u"命名"_s);
        QCOMPARE(list->topLevelItem(2)->text(2), u"2"_s);

        // The older batch: b goes back; 文件0.jpg was renamed since by the newer one and stays.
        list->setCurrentItem(list->topLevelItem(2));
        b.dialogs.clear();
        b->findChild<HistoryWindow *>()->undoButton()->click();
        QTRY_COMPARE(b.dialogs.boxes.size(), 2);
        QCOMPARE(b.dialogs.boxes[1].text, undoReport(1, b.path(u"文件0.jpg"_s), FsResult::fromErrno(ENOENT)));
        QCOMPARE(filesIn(b.dir.path()), (QStringList{"b.jpg", "x0.jpg"}));
        QCOMPARE(list->topLevelItem(2)->text(3), u"已撤销"_s);
        QVERIFY(!b->findChild<HistoryWindow *>()->undoButton()->isEnabled());
    }

    // The run goes on exactly as ever; the status line says once that it cannot be taken back.
    void unwritableStateFolder()
    {
        Batch b({"a.jpg", "b.jpg"});
        const QString blocker = makeFile(b.stateHome() + u"/blocker"_s);
        qputenv("XDG_STATE_HOME", QFile::encodeName(blocker + u"/state"_s));
        b->Command2_Click();
        QCOMPARE(b.dialogs.texts(), QStringList{u"OK!"_s});
        QCOMPARE(filesIn(b.dir.path()), (QStringList{"文件0.jpg", "文件1.jpg"}));
        QCOMPARE(b->statusBar()->currentMessage(),
                 u"无法写入撤销记录（%1），这次命名不能撤销。"_s.arg(FsResult::fromErrno(ENOTDIR).description));
        b.undoLast();
        QCOMPARE(b.dialogs.texts(), QStringList{u"没有可以撤销的命名。"_s});
    }

    void namesKeepEveryByte_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QByteArray>("text");
        QTest::newRow("space, percent, line break") << QByteArray("a b%\n") << QByteArray("a%20b%25%0A");
        QTest::newRow("UTF-8 as it is") << QByteArray("文件0.jpg") << QByteArray("文件0.jpg");
        QTest::newRow("bytes that are not UTF-8")
            << QByteArray("\xff\x80\xc0\xaf\xed\xa0\x80") << QByteArray("%FF%80%C0%AF%ED%A0%80");
        QTest::newRow("a sequence cut short") << QByteArray("\xe6\x96") << QByteArray("%E6%96");
    }

    void namesKeepEveryByte()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QByteArray, text);
        QByteArray escaped, back;
        JournalFormat::appendEscaped(escaped, bytes);
        QCOMPARE(escaped, text);
        QVERIFY(JournalFormat::unescape(escaped, back));
        QCOMPARE(back, bytes);
    }

    // Each row damages a journal in one way: none may be used, or crash the reader.
    void unreadableJournalsAreSkippedWithANote_data()
    {
        QTest::addColumn<QString>("damage");
        QTest::addColumn<QString>("problem");
        QTest::newRow("empty (a crash as it was made)") << "empty" << "记录不完整";
        QTest::newRow("plan cut short") << "cut" << "记录不完整";
        QTest::newRow("a byte of the plan changed") << "flip" << "记录已损坏";
        QTest::newRow("newer format") << "newer" << "记录来自较新的版本（格式 2）";
        QTest::newRow("not a journal") << "other" << "不是撤销记录";
    }

    void unreadableJournalsAreSkippedWithANote()
    {
        QFETCH(QString, damage);
        QFETCH(QString, problem);
        TempFolder dir;
        const QString path = writeJournal(dir);
        QByteArray bytes = contentOf(path);
        const qsizetype entry = bytes.indexOf("entry 1 ");
        if (damage == u"empty")
            bytes.clear();
        else if (damage == u"cut")
            bytes.truncate(entry + 10);
        else if (damage == u"flip")
            bytes[entry + 10] = bytes[entry + 10] ^ 1;
        else if (damage == u"newer")
            bytes.replace("quillmere-journal 1", "quillmere-journal 2");
        else
            bytes = "<html>\n";
        makeFile(path, bytes);

        QCOMPARE(readJournalSummary(path).problem, problem);
        const JournalContent content = readJournal(path);
        QCOMPARE(content.summary.problem, problem);
        QVERIFY(content.entries.isEmpty());
    }

    // A record torn by a crash, and bytes a power loss left, are passed over; a note appended
    // later starts on a line of its own and counts.
    void tornRecordsArePassedOver()
    {
        TempFolder dir;
        const QString path = writeJournal(dir);
        makeFile(path, contentOf(path) + QByteArray("\0\0\0\0\n", 5) + "done 1 1 0000");
        JournalContent content = readJournal(path);
        QVERIFY(content.summary.usable() && content.summary.ended);
        QCOMPARE(content.summary.recordedDone, 1);
        QVERIFY(content.entries[0].recordedDone && !content.entries[1].recordedDone);
        QCOMPARE(content.entries[1].to, QFile::encodeName(dir.path() + u"/文件1.jpg"_s));

        QVERIFY(noteUndone(path, 1, 0).ok());
        QVERIFY(readJournalSummary(path).undone);
    }

    void onlyTheNewestHundredAreKept()
    {
        TempFolder dir;
        for (int i = 0; i < kJournalsKept + 2; ++i)
            makeFile(dir.path() + u"/20250101T000000%1Z-1-000000.journal"_s.arg(i, 3, 10, QLatin1Char('0')));
        makeFile(dir.path() + u"/notes.txt"_s);
        pruneJournals(dir.path(), kJournalsKept);
        const QStringList left = QDir(dir.path()).entryList(QDir::Files, QDir::Name);
        QCOMPARE(left.size(), kJournalsKept + 1);
        QCOMPARE(left.first(), u"20250101T000000002Z-1-000000.journal"_s);
        QVERIFY(left.contains(u"notes.txt"_s));
    }
};

QTEST_MAIN(TstUndo)
#include "tst_undo.moc"
