// The select-all toggle across the two lists, the find dialog that marks what it finds on
// them, moving the current entry, the selection count and the progress bar.
#include <QCheckBox>

#include "list/form2.h"
#include "platform/fsresult.h"
#include "testwindow.h"

using namespace Qt::StringLiterals;

namespace {

QString findResult(int n)
{
    return u"共找到 "_s + QString::number(n) + u" 个项目，已将它们标记。"_s;
}

// A window with entries in both lists, one selected in each, and the way to its find dialog.
struct FindWindow : TestWindow {
    FindWindow()
    {
        setEntries(form->List1, {"/p/jpg/a.txt", "/p/b.jpg", "/q/c.JPG", "/q/d.png"}, {3});
        setEntries(form->File1, {"x.jpg", "y.txt", "jpg"}, {1});
    }
    Form2 *openFind()
    {
        form->Command12_Click();
        for (Form2 *f : form->findChildren<Form2 *>())
            if (f->isVisible())
                return f;
        return nullptr;
    }
};

} // namespace

class TstSelection : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // A press in one list selects all or nothing there and decides the other list's next press.
    void toggleSelectsAllThenNone()
    {
        TestWindow w;
        setEntries(w->List1, {"a", "b", "c", "d"}, {1, 3});
        setEntries(w->File1, {"x", "y", "z"}, {0, 2});
        w->ActiveList = 1;
        w->Command3_Click();
        QCOMPARE(selectedRows(w->List1), (QList<int>{0, 1, 2, 3}));
        w->ActiveList = 2;
        w->Command3_Click();
        QVERIFY(selectedRows(w->File1).isEmpty());
        QCOMPARE(selectedRows(w->List1).size(), 4);
        w->ActiveList = 1;
        w->Command3_Click();   // the pane's press made this one select all again
        QCOMPARE(selectedRows(w->List1).size(), 4);
        w->Command3_Click();
        QVERIFY(selectedRows(w->List1).isEmpty());
    }

    // A paste (append, then remove duplicates) arrives while the toggle walks the list: the
    // earlier "5" gives way to the pasted one and the toggle still covers the whole list.
    void pasteDuringToggle()
    {
        TestWindow w;
        QStringList texts;
        for (int i = 0; i < 100; ++i)
            texts << QString::number(i);
        setEntries(w->List1, texts);
        w->ActiveList = 1;
        QTimer::singleShot(0, &*w, [&] {
            w->List1->addEntries({"5", "new"});
            w->Command13_Click();
        });
        w->Command3_Click();
        QCOMPARE(w->List1->count(), 101);
        QCOMPARE(entries(w->List1).mid(99), (QStringList{"5", "new"}));
        QCOMPARE(selectedRows(w->List1).size(), 101);
        QCOMPARE(w.dialogs.texts(), QStringList{"Ok!"});
        QVERIFY(!w->ProgressBar1->isVisible());
    }

    void search_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("list");
        QTest::addColumn<bool>("pane");
        QTest::addColumn<QList<int>>("listRows");
        QTest::addColumn<QList<int>>("paneRows");
        QTest::addColumn<int>("found");
        QTest::newRow("both lists") << "jpg" << true << true << QList<int>{0, 1} << QList<int>{0, 2} << 4;
        QTest::newRow("case counts") << "JPG" << true << true << QList<int>{2} << QList<int>{} << 1;
        QTest::newRow("folder name") << "/q/" << true << true << QList<int>{2, 3} << QList<int>{} << 2;
        QTest::newRow("empty text") << "" << true << true << QList<int>{3} << QList<int>{1} << 0;
        QTest::newRow("no box") << "jpg" << false << false << QList<int>{3} << QList<int>{1} << 0;
        QTest::newRow("only the pane") << "jpg" << false << true << QList<int>{3} << QList<int>{0, 2} << 2;
    }

    void search()
    {
        QFETCH(QString, text);
        QFETCH(bool, list);
        QFETCH(bool, pane);
        QFETCH(QList<int>, listRows);
        QFETCH(QList<int>, paneRows);
        QFETCH(int, found);
        FindWindow w;
        Form2 *f = w.openFind();
        QVERIFY(f);
        f->Text1->setText(text);
        f->Check1->setChecked(list);
        f->Check2->setChecked(pane);
        QTest::mouseClick(f->Command1, Qt::LeftButton);
        QCOMPARE(selectedRows(w->List1), listRows);
        QCOMPARE(selectedRows(w->File1), paneRows);
        QCOMPARE(f->Label1->text(), findResult(found));
    }

    // Enter searches like the button; the dialog is kept, as it is, until it is closed.
    void oneFindDialogKeptUntilClosed()
    {
        FindWindow w;
        Form2 *f = w.openFind();
        QTest::keyClicks(f->Text1, u"jpg"_s);
        QTest::keyClick(f->Text1, Qt::Key_Return);
        QCOMPARE(f->Label1->text(), findResult(4));
        f->Check1->setChecked(false);
        QCOMPARE(w.openFind(), f);
        QCOMPARE(w->findChildren<Form2 *>().size(), 1);
        QCOMPARE(f->Text1->text(), u"jpg"_s);
        f->close();
        Form2 *again = w.openFind();
        QVERIFY(again && again->Text1->text().isEmpty() && again->Check1->isChecked());
    }

    void clearOrCloseDuringSearch()
    {
        FindWindow w;
        Form2 *f = w.openFind();
        f->Text1->setText(u"jpg"_s);
        QTimer::singleShot(0, &*w, [&] { w->Command10_Click(); });
        f->Command1_Click();
        QCOMPARE(w->List1->count(), 0);
        QCOMPARE(f->Label1->text(), findResult(2));

        QPointer<Form2> gone(f);
        QTimer::singleShot(0, &*w, [&] {
            gone->close();
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        });
        f->Command1_Click();
        QVERIFY(!w->ProgressBar1->isVisible());
    }

    // C (current, selected with B) is moved to the typed position, a half rounded to even; a
    // refused position is reported and leaves every entry where it stood.
    void moveCurrentEntry_data()
    {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QStringList>("after");
        QTest::addColumn<int>("error");
        const QStringList unmoved{"A", "B", "C", "D", "E"}, first{"C", "A", "B", "D", "E"};
        QTest::newRow("0") << "0" << first << 0;
        QTest::newRow("4") << "4" << QStringList{"A", "B", "D", "E", "C"} << 0;
        QTest::newRow("blank between digits") << "0 3" << QStringList{"A", "B", "D", "C", "E"} << 0;
        QTest::newRow("half to even, down") << "2.5" << unmoved << 0;
        QTest::newRow("half to even, up") << "1.5" << unmoved << 0;
        QTest::newRow("minus half is zero") << "-0.5" << first << 0;
        QTest::newRow("one past the end") << "5" << unmoved << EINVAL;
        QTest::newRow("negative") << "-1" << unmoved << EINVAL;
        QTest::newRow("16-bit edge") << "32767" << unmoved << EINVAL;
        QTest::newRow("beyond 16 bits") << "32767.5" << unmoved << EOVERFLOW;
        QTest::newRow("far below") << "-40000" << unmoved << EOVERFLOW;
        QTest::newRow("cancel") << "" << unmoved << -1;
    }

    void moveCurrentEntry()
    {
        QFETCH(QString, answer);
        QFETCH(QStringList, after);
        QFETCH(int, error);
        TestWindow w;
        setEntries(w->List1, {"A", "B", "C", "D", "E"}, {1, 2});
        w->List1->setCurrentRow(2, QItemSelectionModel::NoUpdate);
        w.dialogs.inputAnswers << answer;
        w->Command11_Click();
        QCOMPARE(w.dialogs.prompts.size(), 1);
        QVERIFY(w.dialogs.prompts[0].text.endsWith("现有5项，现行选中项是：2"));
        QCOMPARE(entries(w->List1), after);
        const int current = after.indexOf("C");
        QCOMPARE(w->List1->currentRow(), current);
        QCOMPARE(selectedRows(w->List1).size(), 2);   // B and C stay selected wherever C went
        QVERIFY(w->List1->isSelected(current));
        QCOMPARE(w.dialogs.texts(), error > 0 ? QStringList{reportText(FsResult::fromErrno(error))} : QStringList());
    }

    // The bar shows the ratio of what the commands keep: full past the maximum, empty without
    // one, and a count of none leaves it hidden with the old maximum.
    void progressShowsTheRatioSensibly()
    {
        TestWindow w;
        w->ShowProgressBar(2);
        QVERIFY(!w->ProgressBar1->isHidden());
        for (int i = 0; i < 5; ++i)
            w->ShowProgress();
        QCOMPARE(w->progressPosition(), 5.0f);
        QCOMPARE(w->ProgressBar1->value(), w->ProgressBar1->maximum());
        w->UnShowProgressBar();
        for (qint16 count : {0, -4}) {
            w->ShowProgressBar(count);
            QVERIFY(w->ProgressBar1->isHidden());
            QCOMPARE(w->progressMaximum(), 2.0f);
            QCOMPARE(w->progressPosition(), 0.0f);
        }
        w->setProgressMaximum(0.0f);
        w->ShowProgress();
        QCOMPARE(w->ProgressBar1->value(), 0);
        QVERIFY(w->ProgressBar1->maximum() > 0);
    }

    // The pane is not held to the rename list's 32767 entries, and its commands still show
    // their progress.
    void progressOfAPaneBeyondTheListLimit()
    {
        TestWindow w;
        w->File1->replaceAll(QStringList(40000, QStringLiteral("a.txt")));
        w->ActiveList = 2;
        bool shown = false;
        QTimer probe;
        connect(&probe, &QTimer::timeout, this, [&] {
            shown = shown || (!w->ProgressBar1->isHidden() && w->progressMaximum() == 40000.0f);
        });
        probe.start(0);
        w->Command3_Click();
        QVERIFY(shown);
    }

    void selectionCountIsAlwaysTheRenameList()
    {
        TestWindow w;
        setEntries(w->List1, QStringList(10, QStringLiteral("/p/a.jpg")), {1, 4, 9, 4});
        setEntries(w->File1, QStringList(10, QStringLiteral("a.jpg")), {0, 1, 2, 3, 4, 5});
        w->ActiveList = 2;
        QCOMPARE(w->GetSelCounts(), qint16(3));
    }
};

QTEST_MAIN(TstSelection)
#include "tst_selection.moc"
