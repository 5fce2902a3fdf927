// The journal's text: names kept to the byte, and journals that are cut short, damaged or
// newer than the program read without harm; the history keeps the newest hundred.
#include "rename/journal.h"
#include "rename/journalformat.h"
#include "testwindow.h"

using namespace Qt::StringLiterals;

namespace {

// A journal of two files renamed in a real folder, the first one recorded as done.
QString writeJournal(const QTemporaryDir &dir)
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

class TstJournal : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void namesKeepEveryByte_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QByteArray>("text");
        QTest::newRow("plain") << QByteArray("/p/a.jpg") << QByteArray("/p/a.jpg");
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
        QTemporaryDir dir;
        const QString path = writeJournal(dir);
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QByteArray bytes = file.readAll();
        file.close();
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
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
        file.close();

        QCOMPARE(readJournalSummary(path).problem, problem);
        const JournalContent content = readJournal(path);
        QCOMPARE(content.summary.problem, problem);
        QVERIFY(content.entries.isEmpty());
    }

    // A record torn by a crash, and bytes a power loss left, are passed over; a note appended
    // later starts on a line of its own and counts.
    void tornRecordsArePassedOver()
    {
        QTemporaryDir dir;
        const QString path = writeJournal(dir);
        QFile file(path);
        QVERIFY(file.open(QIODevice::Append));
        file.write(QByteArray("\0\0\0\0\n", 5) + "done 1 1 0000");
        file.close();
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
        QTemporaryDir dir;
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

QTEST_MAIN(TstJournal)
#include "tst_journal.moc"
