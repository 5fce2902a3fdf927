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

class TstBusy : public QObject {
    Q_OBJECT

private Q_SLOTS:
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
        const auto enabled = [](QObject *o) {
            if (auto *a = qobject_cast<QAction *>(o))
                return a->isEnabled();
            return qobject_cast<QWidget *>(o)->isEnabled();
        };
        QCOMPARE(busy.size(), 22);
        w->ForbidCmd();
        for (QObject *o : busy)
            QVERIFY2(!enabled(o), qPrintable(o->metaObject()->className()));
        for (QObject *o : live)
            QVERIFY(enabled(o));
        w->UnForbidCmd();
        for (QObject *o : busy + live)
            QVERIFY(enabled(o));
        w->UnForbidCmd();   // on an unlocked window: nothing changes
        for (QObject *o : busy)
            QVERIFY(enabled(o));
    }

    void progressFillsInStepsAndStartsEmptyAgain()
    {
        TestWindow w;
        w->ShowProgressBar(5);
        QVERIFY(!w->ProgressBar1->isHidden());
        QCOMPARE(w->progressMaximum(), 5.0f);
        QCOMPARE(w->ProgressBar1->value(), 0);
        for (int i = 1; i <= 5; ++i) {
            w->ShowProgress();
            QCOMPARE(w->progressPosition(), float(i));
        }
        QCOMPARE(w->ProgressBar1->value(), w->ProgressBar1->maximum());   // the bar is full
        w->UnShowProgressBar();
        QVERIFY(w->ProgressBar1->isHidden());
        QCOMPARE(w->progressPosition(), 5.0f);
        w->ShowProgressBar(3);
        QCOMPARE(w->progressPosition(), 0.0f);
        QCOMPARE(w->progressMaximum(), 3.0f);
        QCOMPARE(w->ProgressBar1->value(), 0);
    }

    void noCountShowsNothingAndKeepsTheMaximum_data()
    {
        QTest::addColumn<int>("count");
        QTest::newRow("zero") << 0;
        QTest::newRow("negative") << -4;
    }

    void noCountShowsNothingAndKeepsTheMaximum()
    {
        QFETCH(int, count);
        TestWindow w;
        w->ShowProgressBar(7);
        w->ShowProgress();
        w->UnShowProgressBar();
        w->ShowProgressBar(qint16(count));
        QVERIFY(w->ProgressBar1->isHidden());
        QCOMPARE(w->progressMaximum(), 7.0f);
        QCOMPARE(w->progressPosition(), 0.0f);
    }

    void positionBeyondOrWithoutMaximumIsShownSensibly()
    {
        TestWindow w;
        w->ShowProgressBar(2);
        for (int i = 0; i < 5; ++i)
            w->ShowProgress();
        QCOMPARE(w->progressPosition(), 5.0f);   // kept as advanced, shown full
        QCOMPARE(w->ProgressBar1->value(), w->ProgressBar1->maximum());
        w->setProgressMaximum(0.0f);
        w->ShowProgress();
        QCOMPARE(w->ProgressBar1->value(), 0);   // empty, not an error
        QVERIFY(w->ProgressBar1->maximum() > 0);
    }

    void selectionCountIsAlwaysTheRenameList()
    {
        TestWindow w;
        for (int i = 0; i < 10; ++i) {
            w->List1->addItem(QStringLiteral("/p/%1.jpg").arg(i));
            w->File1->addItem(QStringLiteral("%1.jpg").arg(i));
        }
        for (int row : {1, 4, 9})
            w->List1->item(row)->setSelected(true);
        w->List1->item(4)->setSelected(true);   // selecting twice counts once
        w->File1->selectAll();
        w->ActiveList = 2;
        QCOMPARE(w->GetSelCounts(), qint16(3));
        w->List1->clearSelection();
        QCOMPARE(w->GetSelCounts(), qint16(0));
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
        w->File1->clear();
        if (renameEntries)
            w->List1->addItem(QStringLiteral("/p/a.jpg"));
        if (paneEntries)
            w->File1->addItem(QStringLiteral("a.jpg"));
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
        QCOMPARE(list.count(), 2);
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
        for (QListWidgetItem *item : walk.marked())
            marked << item->text();
        marked.sort();
        QCOMPARE(marked, (QStringList{"b", "d", "e"}));
        QCOMPARE(list.row(*walk.marked().begin()) >= 0, true);
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
