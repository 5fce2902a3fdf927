// The progress bar, the selection count, and walks over a list that changes while they
// yield.
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

    // A de-duplication while a walk from the end yields: the kept entries move up, c and a
    // are gone, and the walk still visits and marks each entry it started with that is left.
    // Entries that moved (x, to the end) and a compaction meanwhile (a and c go): the walk
    // finds each of its entries where it is now and skips the ones gone.
    void walkFromTheEndFindsItsEntriesThroughACompaction()
    {
        EntryList list;
        list.addEntries({"x", "a", "b", "c", "d", "e"});
        list.entries()->move(0, 5);
        ListWalk walk(&list, ListWalk::Order::FromEnd);
        QStringList seen;
        for (int row = walk.next(); row >= 0; row = walk.next()) {
            seen << list.text(row);
            walk.markCurrent();
            if (list.text(row) == QStringLiteral("d"))
                keepEntries(&list, {false, true, false, true, true, true});
        }
        QCOMPARE(seen, (QStringList{"x", "e", "d", "b"}));
        QStringList marked;
        for (EntryId id : walk.marked())
            marked << list.text(list.entries()->rowOf(id));
        marked.sort();
        QCOMPARE(marked, (QStringList{"b", "d", "e", "x"}));
    }
};

QTEST_MAIN(TstBusy)
#include "tst_busy.moc"
