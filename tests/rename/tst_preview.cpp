// The preview of the batch rename: the names it shows, its prediction held against the real
// run on real files, and how it follows the window and reaches a screen reader.
#include <QAccessible>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>
#include <QTimer>

#include <cerrno>

#include "rename/preview.h"
#include "rename/renamepreview.h"
#include "testwindow.h"

namespace {

// A folder of files and a window whose rename list holds `listed` (all files when empty), all
// selected, with the four fields set.
struct Setup {
    Setup(const QStringList &files, const QStringList &fields, QStringList listed = {})
    {
        for (const QString &n : files)
            makeFile(path(n), n.toUtf8());
        w->setDir1(dir.path());
        for (const QString &n : listed.isEmpty() ? files : listed)
            w->List1->addEntry(path(n));
        w->List1->selectAll();
        w->Text4->setText(fields[0]);
        w->Text2->setText(fields[1]);
        w->Text3->setText(fields[2]);
        w->Text6->setText(fields[3]);
    }
    QString path(const QString &name) const { return dir.path() + u'/' + name; }
    RenamePreview &preview() const { return *w->renamePreview(); }
    // What a screen reader reads for each entry.
    QStringList descriptions() const
    {
        QStringList d;
        for (int row = 0; row < w->List1->count(); ++row)
            d << w->List1->model()->index(row, 0).data(Qt::AccessibleDescriptionRole).toString();
        return d;
    }

    QTemporaryDir dir;
    TestWindow w;
};

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

#define WAIT_FOR_PREVIEW(s) QVERIFY(idleUntilShown((s).preview()))

QString tooLong()
{
    return QString(300, u'x');
}

} // namespace

class TstPreview : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void newNames_data()
    {
        QTest::addColumn<QStringList>("fields");   // base, start, step, extension
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("base, number, ext") << QStringList{"文件", "0", "1", ".txt"} << QStringList{"文件0.txt", "文件1.txt", "文件2.txt"};
        QTest::newRow("base, ext") << QStringList{"文件", "", "1", ".txt"} << QStringList{"文件.txt", "文件.txt", ""};
        QTest::newRow("base, number, own ext") << QStringList{"文件", "0", "1", ""} << QStringList{"文件0.jpg", "文件1.png", "文件2."};
        QTest::newRow("base, own ext") << QStringList{"文件", "", "1", ""} << QStringList{"文件.jpg", "文件.png", "文件."};
        QTest::newRow("own name, ext") << QStringList{"", "5", "1", ".txt"} << QStringList{"a.txt", "b.c.txt", "d.txt"};
        QTest::newRow("own name, own ext") << QStringList{"", "5", "1", ""} << QStringList{"a.jpg", "b.c.png", "d."};
        QTest::newRow("start 007") << QStringList{"文件", "007", "1", ""} << QStringList{"文件7.jpg", "文件8.png", "文件9."};
        QTest::newRow("step 0.5") << QStringList{"文件", "1", "0.5", ""} << QStringList{"文件1.jpg", "文件1.5.png", "文件2."};
        QTest::newRow("negative step") << QStringList{"文件", "10", "-1", ""} << QStringList{"文件10.jpg", "文件9.png", "文件8."};
    }

    // The new names against a folder that takes them all; the prediction itself is held
    // against the run below.
    void newNames()
    {
        QFETCH(QStringList, fields);
        QFETCH(QStringList, expected);
        QTemporaryDir dir;
        QStringList entries;
        for (const char *name : {"a.jpg", "b.c.png", "d."})
            entries << makeFile(dir.path() + u'/' + QString::fromUtf8(name));
        PreviewFolders folders;
        const RunPrediction p = predictRun(entries, {true, true, true},
                                           {fields[0], fields[1], fields[2], fields[3]}, folders);
        QStringList names;
        for (const RowPreview &row : p.rows)
            names << row.newName();
        QCOMPARE(names, expected);
        QCOMPARE(previewShortText(p, 0), QStringLiteral("→ ") + expected[0]);
    }

    void predictionAgreesWithTheRun_data()
    {
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<QStringList>("listed");
        QTest::addColumn<QStringList>("fields");
        QTest::addColumn<int>("failedRow");
        QTest::addColumn<int>("error");
        QTest::addColumn<QString>("reason");
        QStringList numbered;
        for (int i = 0; i < 10; ++i)
            numbered << QStringLiteral("文件%1.jpg").arg(i);
        const QStringList abc{"a.jpg", "b.jpg", "c.jpg"};
        QTest::newRow("all renamed") << abc << QStringList() << QStringList{"文件", "0", "1", ""} << -1 << 0 << "";
        QTest::newRow("target outside the batch") << QStringList{"a.jpg", "文件0.jpg"} << QStringList{"a.jpg"}
            << QStringList{"文件", "0", "1", ""} << 0 << EEXIST << "不在本批中";
        QTest::newRow("target is a folder") << QStringList{"a.jpg", "文件0.jpg/x"} << QStringList{"a.jpg"}
            << QStringList{"文件", "0", "1", ""} << 0 << EEXIST << "不在本批中";
        QTest::newRow("one folder written two ways") << QStringList{"a.jpg", "b.jpg"} << QStringList{"a.jpg", "/b.jpg"}
            << QStringList{"文件", "", "1", ""} << 1 << EEXIST << "与索引 0 的新名相同";
        QTest::newRow("same target twice, no start") << abc << QStringList() << QStringList{"文件", "", "1", ""} << 1 << EEXIST << "与索引 0 的新名相同";
        QTest::newRow("renumbering a numbered series") << numbered << QStringList() << QStringList{"文件", "1", "1", ""} << 0 << EEXIST << "索引 1 还没改名";
        QTest::newRow("own bare name without full stop") << QStringList{"a.jpg", "readme"} << QStringList() << QStringList{"", "0", "1", ""} << 1 << EINVAL << "没有“.”";
        QTest::newRow("extension from a folder name") << QStringList{"a.jpg", "x.y/readme"} << QStringList() << QStringList{"文件", "0", "1", ""} << 1 << ENOENT << "文件夹不存在";
        QTest::newRow("missing source") << QStringList{"a.jpg"} << QStringList{"a.jpg", "gone.jpg"} << QStringList{"文件", "0", "1", ""} << 1 << ENOENT << "源文件不存在";
        QTest::newRow("name too long") << QStringList{"a.jpg"} << QStringList() << QStringList{tooLong(), "0", "1", ""} << 0 << ENAMETOOLONG << "太长";
        QTest::newRow("separator in the base name") << QStringList{"a.jpg", "子/x"} << QStringList{"a.jpg"} << QStringList{"子/文件", "0", "1", ""} << 0 << EINVAL << "“/”";
        QTest::newRow("start not finite") << abc << QStringList() << QStringList{"文件", "0." + QString(400, u'0') + "1", "1", ""} << 0 << ERANGE << "不是有限的数";
        QTest::newRow("step not finite") << abc << QStringList() << QStringList{"文件", "0", "1E400", ""} << 0 << ERANGE << "不是有限的数";
        QTest::newRow("number runs out of range") << abc << QStringList() << QStringList{"文件", "1E308", "1E308", ""} << 1 << ERANGE << "超出";
    }

    // What the preview foresees is what the run does: the entry it stops at, the error it
    // reports, and nothing renamed where it stops before the first entry.
    void predictionAgreesWithTheRun()
    {
        QFETCH(QStringList, files);
        QFETCH(QStringList, listed);
        QFETCH(QStringList, fields);
        QFETCH(int, failedRow);
        QFETCH(int, error);
        QFETCH(QString, reason);
        Setup s(files, fields, listed);
        WAIT_FOR_PREVIEW(s);
        const RunPrediction p = s.preview().prediction();
        QCOMPARE(p.failedRow, failedRow);
        if (failedRow >= 0) {
            QCOMPARE(p.error.number, error);
            QVERIFY2(p.reason.contains(reason), qPrintable(p.reason));
            QVERIFY(s.preview().summary()->text().contains(p.reason));
        }
        const QStringList before = filesIn(s.dir.path());

        s.w->Command2_Click();
        QCOMPARE(s.w.dialogs.texts(), QStringList{failedRow < 0 ? QStringLiteral("OK!")
                                                                : reportText(p.error)});
        QCOMPARE(int(s.w->progressPosition()), p.renamed);
        if (failedRow == 0)
            QCOMPARE(filesIn(s.dir.path()), before);
    }

    // Unselected entries show nothing; the preview follows the fields, the selection, a move
    // and the files on disk after "刷新".
    void previewFollowsTheWindow()
    {
        Setup s({"a.jpg", "b.jpg", "c.jpg"}, {"文件", "0", "1", ""});
        selectRow(s.w->List1, 1, false);
        WAIT_FOR_PREVIEW(s);
        QCOMPARE(s.descriptions(), (QStringList{"新名：文件0.jpg", "", "新名：文件1.jpg"}));
        QCOMPARE(s.preview().summary()->text(), QStringLiteral("将重命名 2 项"));

        QTest::keyClicks(s.w->Text4, "x");
        QTest::keyClick(s.w->Text6, 't');
        WAIT_FOR_PREVIEW(s);
        QCOMPARE(s.descriptions(), (QStringList{"新名：文件x0t", "", "新名：文件x1t"}));

        s.w->Text6->clear();
        selectRow(s.w->List1, 1);
        s.w->List1->setCurrentRow(2, QItemSelectionModel::NoUpdate);
        s.w.dialogs.inputAnswers << "0";
        s.w->Command11_Click();
        WAIT_FOR_PREVIEW(s);
        QCOMPARE(entries(s.w->List1).first(), s.path("c.jpg"));
        QCOMPARE(s.descriptions(), (QStringList{"新名：文件x0.jpg", "新名：文件x1.jpg", "新名：文件x2.jpg"}));

        // A file made since the folder was read, added to the list, is found.
        s.w->List1->addEntry(makeFile(s.path("d.jpg")));
        selectRow(s.w->List1, 3);
        WAIT_FOR_PREVIEW(s);
        QCOMPARE(s.descriptions().last(), QStringLiteral("新名：文件x3.jpg"));

        makeFile(s.path("文件x1.jpg"));
        s.w->Command8->click();
        WAIT_FOR_PREVIEW(s);
        QCOMPARE(s.descriptions(), (QStringList{"新名：文件x0.jpg",
                                                 "将失败：目标已存在（不在本批中）（错误 17），新名：文件x1.jpg",
                                                 "不会执行到：前面的项将失败", "不会执行到：前面的项将失败"}));
    }

    // The window may close while a prediction runs on the worker: its result finds nothing.
    void closingWhilePredicting()
    {
        Setup s({"a.jpg", "b.jpg"}, {"文件", "0", "1", ""});
        QStringList many;
        for (int i = 0; i < 20000; ++i)
            many << s.path(QString::number(i));
        s.w->List1->addEntries(many);
        s.w->List1->selectAll();
        QEventLoop idle;
        QTimer::singleShot(0, &idle, &QEventLoop::quit);
        idle.exec();   // the prediction starts
        QVERIFY(!s.preview().isUpToDate());
        s.w.form.reset();
        QTest::qWait(200);
    }

    // A screen reader finds each entry's preview as the entry's description and the summary
    // as the status bar label's name; the window grew by the status bar, the controls did not move.
    void screenReaderReadsThePreview()
    {
        Setup s({"a.jpg", "b"}, {"", "0", "1", ""});
        QVERIFY(s.w.showActive());
        WAIT_FOR_PREVIEW(s);
        QAccessibleInterface *list = QAccessible::queryAccessibleInterface(s.w->List1);
        QVERIFY(list && list->tableInterface());
        QCOMPARE(list->tableInterface()->cellAt(0, 0)->text(QAccessible::Description),
                 QStringLiteral("新名：a.jpg"));
        QVERIFY(list->tableInterface()->cellAt(1, 0)->text(QAccessible::Description).startsWith("将失败："));
        QAccessibleInterface *summary = QAccessible::queryAccessibleInterface(s.preview().summary());
        QCOMPARE(summary->text(QAccessible::Name), s.preview().summary()->text());
        QVERIFY(summary->text(QAccessible::Name).startsWith("索引 1 将失败（错误 22）"));
        QVERIFY(s.w->statusBar()->isVisible());
        QCOMPARE(s.w->centralWidget()->height(), 7875 / 15);
    }
};

QTEST_MAIN(TstPreview)
#include "tst_preview.moc"
