// The folder picker and the hand-off of paths to the desktop, through the recording fake.
#include <QComboBox>
#include <QAction>
#include <QTest>

#include "testwindow.h"

class TstHandoff : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void pickerTrimsTrailingSeparatorButKeepsRoot_data()
    {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QString>("folder");
        QTest::newRow("cancel") << QString() << QString();
        QTest::newRow("root") << QStringLiteral("/") << QStringLiteral("/");
        QTest::newRow("folder") << QStringLiteral("/tmp/a/") << QStringLiteral("/tmp/a");
    }

    void pickerTrimsTrailingSeparatorButKeepsRoot()
    {
        QFETCH(QString, answer);
        QFETCH(QString, folder);
        TestWindow w;
        w.dialogs.folderAnswers = {answer};
        QCOMPARE(w->BrowseForFolder(QStringLiteral("请选择文件夹")), folder);
    }

    void command15MovesPanesToEntryFolder()
    {
        QTemporaryDir dir;
        const QString f = makeFile(dir.path() + QStringLiteral("/sub/a.txt"));
        TestWindow w(dir.path());
        w->Command15_Click();
        QCOMPARE(w.dialogs.texts(), QStringList{QStringLiteral("No list or not select!")});
        w->List1->addEntry(f);
        w->List1->setCurrentRow(0);
        w->Command15_Click();
        QCOMPARE(w->CurrentFolder, dir.path() + QStringLiteral("/sub/"));
        QCOMPARE(w->File1->count(), 1);
        QVERIFY(w->CurrentFolder.startsWith(w->Drive1->currentText()));
    }

    void command9ShowsTrimmedExistingItem()
    {
        QTemporaryDir dir;
        const QString f = makeFile(dir.path() + QStringLiteral("/-a b'\".txt"));
        TestWindow w(dir.path());
        w->List1->clear();
        w->Command9_Click();
        w->List1->addEntry(QStringLiteral("  ") + f + QStringLiteral(" "));
        w->List1->addEntry(dir.path() + QStringLiteral("/gone.txt"));
        w->List1->setCurrentRow(-1);
        w->Command9_Click();
        QCOMPARE(w.dialogs.texts(), (QStringList{QStringLiteral("列表里没有项目！"), QStringLiteral("没有选择文件！")}));
        w->List1->setCurrentRow(0);
        w->Command9_Click();
        w->List1->setCurrentRow(1);
        w->Command9_Click();
        QCOMPARE(w.desktop.calls, (QList<FakeDesktop::Call>{{QStringLiteral("show"), f}}));
    }

    void openUsesActiveListCurrentEntry()
    {
        QTemporaryDir dir;
        makeFile(dir.path() + QStringLiteral("/p.txt"));
        makeFile(dir.path() + QStringLiteral("/q.txt"));
        TestWindow w(dir.path());
        w->setDir1(dir.path());
        w->ActiveList = 2;
        w->mnOpen_Click();
        w->ActiveList = 1;
        w->mnOpen_Click();
        QCOMPARE(w.dialogs.texts(), (QStringList{QStringLiteral("No file or not select!"), QStringLiteral("No list or not select!")}));
        w->List1->addEntry(QStringLiteral("/x/y z.txt"));
        w->List1->setCurrentRow(0);
        selectRow(w->File1, 0, true);
        w->File1->setCurrentRow(1);
        w->mnOpen_Click();
        w->ActiveList = 2;
        w->mnOpen_Click();
        QCOMPARE(w.desktop.calls, (QList<FakeDesktop::Call>{{QStringLiteral("open"), QStringLiteral("/x/y z.txt")},
                                                             {QStringLiteral("open"), dir.path() + QStringLiteral("/q.txt")}}));
    }
};

QTEST_MAIN(TstHandoff)
#include "tst_handoff.moc"
