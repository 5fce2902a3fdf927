// The progress bar and the selection count.
#include "walk/listedits.h"
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

QTEST_MAIN(TstBusy)
#include "tst_busy.moc"
