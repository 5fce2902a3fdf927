// The busy lock, the progress bar, the selection count, the list tidy-up, and walks over a
// list that changes while they yield; through the real window.
#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTreeView>

#include "app/listwalk.h"
#include "list/listedits.h"
#include "testwindow.h"

namespace {

bool enabled(QObject *o)
{
    if (auto *a = qobject_cast<QAction *>(o))
        return a->isEnabled();
    return qobject_cast<QWidget *>(o)->isEnabled();
}

} // namespace

class TstBusy : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // A run locks every command that starts another run; the folder panes, copy and paste of
    // the list, and the tools stay live.
    void lockCoversExactlyTheBusySet()
    {
        TestWindow w;
        const QList<QObject *> busy = {w->Text4, w->Text2, w->Text3, w->List1, w->Command6, w->Command7,
                                       w->File1, w->Command1, w->Command2, w->Command3, w->Command8,
                                       w->Command9, w->Command10, w->Text6, w->mnMoveTo, w->mnCopyTo,
                                       w->Command11, w->Command12, w->Command13, w->Command14,
                                       w->Command15, w->mnOpen};
        const QList<QObject *> live = {w->Drive1, w->Dir1, w->Text5, w->ProgressBar1, w->mnCopyList,
                                       w->mnPasteList, w->mnCloseScreen, w->mnCloseScreenMin,
                                       w->mnVarrowSoft, w->mnvisithomepage, w->mnTuijian, w->mnabout};
        w->ForbidCmd();
        for (QObject *o : busy)
            QVERIFY2(!enabled(o), qPrintable(o->metaObject()->className()));
        for (QObject *o : live)
            QVERIFY(enabled(o));
        w->UnForbidCmd();
        for (QObject *o : busy)
            QVERIFY(enabled(o));
    }

    void progressFillsInStepsAndStartsEmptyAgain()
    {
        TestWindow w;
        w->ShowProgressBar(2);
        QVERIFY(!w->ProgressBar1->isHidden());
        w->ShowProgress();
        QCOMPARE(w->progressPosition(), 1.0f);
        for (int i = 0; i < 4; ++i)   // past the maximum: kept as advanced, shown full
            w->ShowProgress();
        QCOMPARE(w->progressPosition(), 5.0f);
        QCOMPARE(w->ProgressBar1->value(), w->ProgressBar1->maximum());
        w->UnShowProgressBar();
        QVERIFY(w->ProgressBar1->isHidden());
        w->ShowProgressBar(3);
        QCOMPARE(w->progressPosition(), 0.0f);
        QCOMPARE(w->ProgressBar1->value(), 0);
    }

    void noCountShowsNothingAndNoMaximumAnEmptyBar()
    {
        TestWindow w;
        w->ShowProgressBar(7);
        w->ShowProgress();
        w->UnShowProgressBar();
        for (qint16 count : {0, -4}) {
            w->ShowProgressBar(count);
            QVERIFY(w->ProgressBar1->isHidden());
            QCOMPARE(w->progressMaximum(), 7.0f);
            QCOMPARE(w->progressPosition(), 0.0f);
        }
        w->setProgressMaximum(0.0f);
        w->ShowProgress();
        QCOMPARE(w->ProgressBar1->value(), 0);
        QVERIFY(w->ProgressBar1->maximum() > 0);
    }

    void selectionCountIsAlwaysTheRenameList()
    {
        TestWindow w;
        setEntries(w->List1, QStringList(10, QStringLiteral("/p/a.jpg")), {1, 4, 9, 4});
        setEntries(w->File1, QStringList(10, QStringLiteral("a.jpg")), {0, 1, 2, 3, 4, 5});
        w->ActiveList = 2;
        QCOMPARE(w->GetSelCounts(), qint16(3));
    }

    void tidyUpAfterAListWasEmptied_data()
    {
        QTest::addColumn<bool>("renameEntries");
        QTest::addColumn<bool>("paneEntries");
        QTest::addColumn<bool>("renameReset");
        QTest::addColumn<bool>("paneReset");
        QTest::newRow("both empty: only the rename list") << false << false << true << false;
        QTest::newRow("pane empty") << true << false << false << true;
        QTest::newRow("both filled: nothing") << true << true << false << false;
    }

    void tidyUpAfterAListWasEmptied()
    {
        QFETCH(bool, renameEntries);
        QFETCH(bool, paneEntries);
        QFETCH(bool, renameReset);
        QFETCH(bool, paneReset);
        TestWindow w;
        setEntries(w->List1, renameEntries ? QStringList{"/p/a.jpg"} : QStringList());
        setEntries(w->File1, paneEntries ? QStringList{"a.jpg"} : QStringList());
        w->List1AllSel = w->File1AllSel = true;
        w->List1->setToolTip(QStringLiteral("0./p/a.jpg"));
        w->File1->setToolTip(QStringLiteral("0.a.jpg"));
        w->PanDuanList();
        QCOMPARE(w->List1AllSel, !renameReset);
        QCOMPARE(w->List1->toolTip().isEmpty(), renameReset);
        QCOMPARE(w->File1AllSel, !paneReset);
        QCOMPARE(w->File1->toolTip().isEmpty(), paneReset);
    }

    void walkFollowsTheEntriesItStartedWith()
    {
        QListWidget list;
        list.addItems({"a", "b", "c", "d"});
        ListWalk walk(&list, ListWalk::Order::FromTop);
        QStringList seen;
        while (QListWidgetItem *item = walk.next()) {
            seen << item->text();
            if (item->text() == QStringLiteral("a")) {
                delete list.takeItem(2);          // c, not yet visited
                list.insertItem(0, QStringLiteral("new first"));
                list.addItem(QStringLiteral("new last"));
            }
        }
        QCOMPARE(seen, (QStringList{"a", "b", "d"}));
        QVERIFY(walk.changedByOthers());
    }

    void walkFromTheEndRemovesItsOwnEntries()
    {
        QListWidget list;
        list.addItems({"a", "b", "a", "c"});
        ListWalk walk(&list, ListWalk::Order::FromEnd);
        QStringList seen;
        while (QListWidgetItem *item = walk.next()) {
            seen << item->text();
            if (item->text() == QStringLiteral("a"))
                walk.removeCurrent();
        }
        QCOMPARE(seen, (QStringList{"c", "a", "b", "a"}));
        QCOMPARE(entries(&list), (QStringList{"b", "c"}));
        QVERIFY(!walk.changedByOthers());
    }

    void walkFollowsItsEntriesThroughARebuild()
    {
        QListWidget list;
        list.addItems({"a", "b", "c", "d", "e"});
        ListWalk walk(&list, ListWalk::Order::FromTop);
        QStringList seen;
        while (QListWidgetItem *item = walk.next()) {
            seen << item->text();
            walk.markCurrent();
            // A de-duplication meanwhile: new items for the kept entries, c and a gone.
            if (item->text() == QStringLiteral("b"))
                keepEntries(&list, {false, true, false, true, true});
        }
        QCOMPARE(seen, (QStringList{"a", "b", "d", "e"}));
        QStringList marked;
        for (QListWidgetItem *item : walk.marked()) {
            QVERIFY(list.row(item) >= 0);   // the items of the rebuilt list
            marked << item->text();
        }
        marked.sort();
        QCOMPARE(marked, (QStringList{"b", "d", "e"}));
    }

    void clearedListEndsTheWalk()
    {
        QListWidget list;
        list.addItems({"a", "b"});
        ListWalk walk(&list, ListWalk::Order::FromTop);
        QVERIFY(walk.next());
        list.clear();
        list.addItem(QStringLiteral("after"));
        QVERIFY(!walk.next());
    }
};

QTEST_MAIN(TstBusy)
#include "tst_busy.moc"
