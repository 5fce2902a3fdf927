// The progress bar, the selection count, and walks over a list that changes while they
// yield.
#include <QListWidget>
#include <QProgressBar>
#include <QTest>

#include "app/listwalk.h"
#include "list/listedits.h"
#include "testwindow.h"

class TstBusy : public QObject {
    Q_OBJECT

private Q_SLOTS:
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

    void selectionCountIsAlwaysTheRenameList()
    {
        TestWindow w;
        setEntries(w->List1, QStringList(10, QStringLiteral("/p/a.jpg")), {1, 4, 9, 4});
        setEntries(w->File1, QStringList(10, QStringLiteral("a.jpg")), {0, 1, 2, 3, 4, 5});
        w->ActiveList = 2;
        QCOMPARE(w->GetSelCounts(), qint16(3));
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
