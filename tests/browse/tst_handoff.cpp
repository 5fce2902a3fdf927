// The folder picker and the hand-off of paths to the desktop, through the recording fake.
#include "testwindow.h"

using namespace Qt::StringLiterals;
using Call = FakeDesktop::Call;

class TstHandoff : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void pickerTrimsTrailingSeparatorButKeepsRoot_data()
    {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QString>("folder");
        QTest::newRow("cancel") << QString() << QString();
        QTest::newRow("root") << u"/"_s << u"/"_s;
        QTest::newRow("folder") << u"/tmp/a/"_s << u"/tmp/a"_s;
    }

    // The picker opens on the folder the panes show.
    void pickerTrimsTrailingSeparatorButKeepsRoot()
    {
        QFETCH(QString, answer);
        QFETCH(QString, folder);
        FolderWindow w;
        w.dialogs.folderAnswers = {answer};
        QCOMPARE(w->BrowseForFolder(u"请选择文件夹"_s), folder);
        QCOMPARE(w.dialogs.pickerFolders, QStringList{w.dir.path() + u'/'});
    }

    void command15MovesPanesToEntryFolder()
    {
        FolderWindow w({"sub/a.txt"});
        w->List1->addEntry(w.path("sub/a.txt"));
        w->List1->setCurrentRow(0);
        w->Command15_Click();
        QCOMPARE(w->CurrentFolder, w.path("sub/"));
        QCOMPARE(entries(w->File1), QStringList{u"a.txt"_s});
    }

    // The entry is trimmed of blanks, and only a file that is there is shown.
    void command9ShowsTrimmedExistingItem()
    {
        FolderWindow w({"-a b'\".txt"});
        const QString f = w.path("-a b'\".txt");
        w->List1->addEntry(u"  "_s + f + u' ');
        w->List1->addEntry(w.path("gone.txt"));
        for (int row : {0, 1}) {
            w->List1->setCurrentRow(row);
            w->Command9_Click();
        }
        QCOMPARE(w.desktop.calls, (QList<Call>{{"show", f}}));
    }

    // Open takes the current entry of the active list, whatever is selected.
    void openUsesActiveListCurrentEntry()
    {
        FolderWindow w({"p.txt", "q.txt"});
        w->ActiveList = 1;
        w->List1->addEntry(u"/x/y z.txt"_s);
        w->List1->setCurrentRow(0);
        selectRow(w->File1, 0);
        w->File1->setCurrentRow(1);
        w->mnOpen_Click();
        w->ActiveList = 2;
        w->mnOpen_Click();
        QCOMPARE(w.desktop.calls, (QList<Call>{{"open", "/x/y z.txt"}, {"open", w.path("q.txt")}}));
    }
};

QTEST_MAIN(TstHandoff)
#include "tst_handoff.moc"
