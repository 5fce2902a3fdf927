// The preview of the batch rename: the names it shows and the failures it foresees, held
// against the real run on real files, and how it follows the window and reaches a screen reader.
#include <QAccessible>
#include <QDeadlineTimer>
#include <QEventLoop>

#include <cerrno>

#include "rename/preview.h"
#include "rename/renamepreview.h"
#include "testwindow.h"

namespace {

// What a screen reader reads for each entry.
QStringList descriptions(const FolderWindow &w)
{
    QStringList d;
    for (int row = 0; row < w->List1->count(); ++row)
        d << w->List1->model()->index(row, 0).data(Qt::AccessibleDescriptionRole).toString();
    return d;
}

// The contents of the files in a folder, sorted: the same before and after when no file was
// lost or took another's place.
QList<QByteArray> contentsIn(const QString &folder)
{
    QList<QByteArray> all;
    for (const QString &name : filesIn(folder))
        all << contentOf(folder + u'/' + name);
    std::sort(all.begin(), all.end());
    return all;
}

// Lets the event loop fall idle, as it does between keystrokes, until the preview is shown.
bool idleUntilShown(RenamePreview &preview)
{
    QDeadlineTimer deadline(5000);
    while (!preview.isUpToDate() && !deadline.hasExpired()) {
        QEventLoop idle;
        QTimer::singleShot(5, &idle, &QEventLoop::quit);
        idle.exec();
    }
    return preview.isUpToDate();
}

#define WAIT_FOR_PREVIEW(w) QVERIFY(idleUntilShown(*(w)->renamePreview()))

} // namespace

class TstPreview : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void predictionAgreesWithTheRun_data()
    {
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<QStringList>("listed");
        QTest::addColumn<QStringList>("fields");
        QTest::addColumn<int>("failedRow");
        QTest::addColumn<int>("error");
        QTest::addColumn<QString>("reason");
        QTest::addColumn<QStringList>("names");   // the new names of a run that renames all
        const QStringList three{"a.jpg", "b.c.png", "d."};
        const auto names = [&](const char *row, const QStringList &fields, const QStringList &made) {
            QTest::newRow(row) << three << QStringList() << fields << -1 << 0 << "" << made;
        };
        names("base, number, ext", {"文件", "0", "1", ".txt"}, {"文件0.txt", "文件1.txt", "文件2.txt"});
        names("base, number, own ext", {"文件", "0", "1", ""}, {"文件0.jpg", "文件1.png", "文件2."});
        names("base, own ext", {"文件", "", "1", ""}, {"文件.jpg", "文件.png", "文件."});
        names("own name, ext; start ignored", {"", "5", "1", ".txt"}, {"a.txt", "b.c.txt", "d.txt"});
        names("own name and ext: each keeps its name", {"", "5", "1", ""}, three);
        names("start 007", {"文件", "007", "1", ""}, {"文件7.jpg", "文件8.png", "文件9."});
        names("half steps", {"文件", "1", "0.5", ""}, {"文件1.jpg", "文件1.5.png", "文件2."});
        names("tenths add up", {"文件", "0.1", "0.1", ""}, {"文件0.1.jpg", "文件0.2.png", "文件0.3."});
        names("negative step", {"文件", "10", "-1", ""}, {"文件10.jpg", "文件9.png", "文件8."});
        // The run stops at its first failure.
        const auto fails = [](const char *row, const QStringList &files, const QStringList &listed,
                              const QStringList &fields, int failedRow, int error, const char *reason) {
            QTest::newRow(row) << files << listed << fields << failedRow << error << QString::fromUtf8(reason)
                               << QStringList();
        };
        QStringList numbered;
        for (int i = 0; i < 10; ++i)
            numbered << QStringLiteral("文件%1.jpg").arg(i);
        const QStringList abc{"a.jpg", "b.jpg", "c.jpg"}, number{"文件", "0", "1", ""}, noStart{"文件", "", "1", ""};
        fails("target outside the batch", {"a.jpg", "文件0.jpg"}, {"a.jpg"}, number, 0, EEXIST, "不在本批中");
        fails("target is a folder", {"a.jpg", "文件0.jpg/x"}, {"a.jpg"}, number, 0, EEXIST, "不在本批中");
        fails("one folder written two ways", {"a.jpg", "b.jpg"}, {"a.jpg", "/b.jpg"}, noStart, 1, EEXIST, "与索引 0 的新名相同");
        fails("same target twice, no start", abc, {}, noStart, 1, EEXIST, "与索引 0 的新名相同");
        fails("renumbering a numbered series", numbered, {}, {"文件", "1", "1", ""}, 0, EEXIST, "索引 1 还没改名");
        fails("own bare name without full stop", {"a.jpg", "readme"}, {}, {"", "0", "1", ""}, 1, EINVAL, "没有“.”");
        fails("extension from a folder name", {"a.jpg", "x.y/readme"}, {}, number, 1, ENOENT, "文件夹不存在");
        fails("missing source", {"a.jpg"}, {"a.jpg", "gone.jpg"}, number, 1, ENOENT, "源文件不存在");
        fails("name too long", {"a.jpg"}, {}, {QString(300, u'x'), "0", "1", ""}, 0, ENAMETOOLONG, "太长");
        fails("separator in the base name", {"a.jpg", "子/x"}, {"a.jpg"}, {"子/文件", "0", "1", ""}, 0, EINVAL, "“/”");
        fails("start not finite", abc, {}, {"文件", "0." + QString(400, u'0') + "1", "1", ""}, 0, ERANGE, "不是有限的数");
        fails("step not finite", abc, {}, {"文件", "0", "1E400", ""}, 0, ERANGE, "不是有限的数");
        fails("number runs out of range", abc, {}, {"文件", "1E308", "1E308", ""}, 1, ERANGE, "超出");
    }

    // What the preview foresees is what the run does: the names it makes, the entry it stops
    // at, the error it reports (never OK! after a failure), and nothing renamed where it stops
    // before the first entry. Either way each entry names its own file, wherever that went,
    // and no file is lost or takes another's place.
    void predictionAgreesWithTheRun()
    {
        QFETCH(QStringList, files);
        QFETCH(QStringList, listed);
        QFETCH(QStringList, fields);
        QFETCH(int, failedRow);
        QFETCH(int, error);
        QFETCH(QString, reason);
        QFETCH(QStringList, names);
        FolderWindow w(files);
        w.list(listed.isEmpty() ? files : listed);
        w.fields(fields);
        WAIT_FOR_PREVIEW(w);
        const RunPrediction p = w->renamePreview()->prediction();
        QCOMPARE(p.failedRow, failedRow);
        if (failedRow >= 0) {
            QCOMPARE(p.error.number, error);
            QVERIFY2(p.reason.contains(reason), qPrintable(p.reason));
            QVERIFY(w->renamePreview()->summary()->text().contains(p.reason));
        }
        QStringList predicted;
        for (const RowPreview &row : p.rows)
            predicted << row.newName();
        if (!names.isEmpty()) {
            QCOMPARE(predicted, names);
            QCOMPARE(previewShortText(p, 0), QStringLiteral("→ ") + names[0]);
        }
        const QStringList before = filesIn(w.dir.path());
        const QList<QByteArray> contents = contentsIn(w.dir.path());
        QList<QByteArray> entryContents;
        for (const QString &entry : entries(w->List1))
            entryContents << contentOf(entry);

        w->Command2_Click();
        QCOMPARE(w.dialogs.texts(), QStringList{failedRow < 0 ? QStringLiteral("OK!") : reportText(p.error)});
        QCOMPARE(int(w->progressPosition()), p.renamed);
        if (!names.isEmpty())
            QCOMPARE(entries(w->List1), w.paths(names));
        if (failedRow == 0)
            QCOMPARE(filesIn(w.dir.path()), before);
        const QStringList after = entries(w->List1);
        for (int i = 0; i < after.size(); ++i)
            QCOMPARE(contentOf(after[i]), entryContents[i]);
        QCOMPARE(contentsIn(w.dir.path()), contents);
        QStringList pane = entries(w->File1);   // read again, in its own order
        pane.sort();
        QCOMPARE(pane, filesIn(w.dir.path()));
        QVERIFY(w->ProgressBar1->isHidden() && w->Command2->isEnabled());
    }

    // Unselected entries show nothing; the preview follows the fields, the selection, a move
    // and the files on disk after "刷新".
    void previewFollowsTheWindow()
    {
        FolderWindow w({"a.jpg", "b.jpg", "c.jpg"});
        w.list({"a.jpg", "b.jpg", "c.jpg"});
        w.fields({"文件", "0", "1", ""});
        selectRow(w->List1, 1, false);
        WAIT_FOR_PREVIEW(w);
        QCOMPARE(descriptions(w), (QStringList{"新名：文件0.jpg", "", "新名：文件1.jpg"}));
        QCOMPARE(w->renamePreview()->summary()->text(), QStringLiteral("将重命名 2 项"));

        QTest::keyClicks(w->Text4, "x");
        QTest::keyClick(w->Text6, 't');
        WAIT_FOR_PREVIEW(w);
        QCOMPARE(descriptions(w), (QStringList{"新名：文件x0t", "", "新名：文件x1t"}));

        w->Text6->clear();
        selectRow(w->List1, 1);
        w->List1->setCurrentRow(2, QItemSelectionModel::NoUpdate);
        w.dialogs.inputAnswers << "0";
        w->Command11_Click();
        WAIT_FOR_PREVIEW(w);
        QCOMPARE(entries(w->List1).first(), w.path("c.jpg"));
        QCOMPARE(descriptions(w), (QStringList{"新名：文件x0.jpg", "新名：文件x1.jpg", "新名：文件x2.jpg"}));

        // A file made since the folder was read, added to the list, is found.
        w->List1->addEntry(makeFile(w.path("d.jpg")));
        selectRow(w->List1, 3);
        WAIT_FOR_PREVIEW(w);
        QCOMPARE(descriptions(w).last(), QStringLiteral("新名：文件x3.jpg"));

        makeFile(w.path("文件x1.jpg"));
        w->Command8->click();
        WAIT_FOR_PREVIEW(w);
        QCOMPARE(descriptions(w), (QStringList{"新名：文件x0.jpg",
                                                 "将失败：目标已存在（不在本批中）（错误 17），新名：文件x1.jpg",
                                                 "不会执行到：前面的项将失败", "不会执行到：前面的项将失败"}));
    }

    // The window may close while a prediction runs on the worker: its result finds nothing.
    void closingWhilePredicting()
    {
        FolderWindow w({"a.jpg", "b.jpg"});
        QStringList many;
        for (int i = 0; i < 20000; ++i)
            many << w.path(QString::number(i));
        w->List1->addEntries(many);
        w->List1->selectAll();
        QEventLoop idle;
        QTimer::singleShot(0, &idle, &QEventLoop::quit);
        idle.exec();   // the prediction starts
        QVERIFY(!w->renamePreview()->isUpToDate());
        w.form.reset();
        QTest::qWait(200);
    }

    // A screen reader finds each entry's preview as the entry's description and the summary
    // as the status bar label's name; the window grew by the status bar, the controls did not move.
    void screenReaderReadsThePreview()
    {
        FolderWindow w({"a.jpg", "b"});
        w.list({"a.jpg", "b"});
        w.fields({"", "0", "1", ""});
        QVERIFY(w.showActive());
        WAIT_FOR_PREVIEW(w);
        QAccessibleInterface *list = QAccessible::queryAccessibleInterface(w->List1);
        QVERIFY(list && list->tableInterface());
        QCOMPARE(list->tableInterface()->cellAt(0, 0)->text(QAccessible::Description),
                 QStringLiteral("新名：a.jpg"));
        QVERIFY(list->tableInterface()->cellAt(1, 0)->text(QAccessible::Description).startsWith("将失败："));
        QAccessibleInterface *summary = QAccessible::queryAccessibleInterface(w->renamePreview()->summary());
        QCOMPARE(summary->text(QAccessible::Name), w->renamePreview()->summary()->text());
        QVERIFY(summary->text(QAccessible::Name).startsWith("索引 1 将失败（错误 22）"));
        QVERIFY(w->statusBar()->isVisible());
        QCOMPARE(w->centralWidget()->height(), 7875 / 15);
    }
};

QTEST_MAIN(TstPreview)
#include "tst_preview.moc"
