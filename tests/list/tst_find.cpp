// The find dialog on the two real lists.
#include <QCheckBox>

#include "list/form2.h"
#include "testwindow.h"

using namespace Qt::StringLiterals;

namespace {

QString resultLine(int n)
{
    return u"共找到 "_s + QString::number(n) + u" 个项目，已将它们标记。"_s;
}

Form2 *openFind(TestWindow &w)
{
    w->Command12_Click();
    for (Form2 *f : w->findChildren<Form2 *>())
        if (f->isVisible())
            return f;
    return nullptr;
}

} // namespace

class TstFind : public QObject {
    Q_OBJECT

    std::unique_ptr<TestWindow> w;

private Q_SLOTS:
    void init()
    {
        w = std::make_unique<TestWindow>();
        setEntries((*w)->List1, {"/p/jpg/a.txt", "/p/b.jpg", "/q/c.JPG", "/q/d.png"}, {3});
        setEntries((*w)->File1, {"x.jpg", "y.txt", "jpg"}, {1});
    }
    void cleanup() { w.reset(); }

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
        Form2 *f = openFind(*w);
        QVERIFY(f);
        f->Text1->setText(text);
        f->Check1->setChecked(list);
        f->Check2->setChecked(pane);
        QTest::mouseClick(f->Command1, Qt::LeftButton);
        QCOMPARE(selectedRows((*w)->List1), listRows);
        QCOMPARE(selectedRows((*w)->File1), paneRows);
        QCOMPARE(f->Label1->text(), resultLine(found));
    }

    // Enter searches like the button; the dialog is kept, as it is, until it is closed.
    void oneDialogKeptUntilClosed()
    {
        Form2 *f = openFind(*w);
        QTest::keyClicks(f->Text1, u"jpg"_s);
        QTest::keyClick(f->Text1, Qt::Key_Return);
        QCOMPARE(f->Label1->text(), resultLine(4));
        f->Check1->setChecked(false);
        QCOMPARE(openFind(*w), f);
        QCOMPARE((*w)->findChildren<Form2 *>().size(), 1);
        QCOMPARE(f->Text1->text(), u"jpg"_s);
        f->close();
        Form2 *again = openFind(*w);
        QVERIFY(again && again->Text1->text().isEmpty() && again->Check1->isChecked());
    }

    void clearOrCloseDuringSearch()
    {
        Form2 *f = openFind(*w);
        f->Text1->setText(u"jpg"_s);
        QTimer::singleShot(0, &**w, [&] { (*w)->Command10_Click(); });
        f->Command1_Click();
        QCOMPARE((*w)->List1->count(), 0);
        QCOMPARE(f->Label1->text(), resultLine(2));

        QPointer<Form2> gone(f);
        QTimer::singleShot(0, &**w, [&] {
            gone->close();
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        });
        f->Command1_Click();
        QVERIFY(!(*w)->ProgressBar1->isVisible());
    }
};

QTEST_MAIN(TstFind)
#include "tst_find.moc"
