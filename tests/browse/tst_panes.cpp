// The drive list, folder tree and file pane kept in step, the filter, the refresh and the
// record of the list last focused; the folder picker and the hand-off of paths to the
// desktop, through the recording fake. Through the real widgets on real folders.
#include "testwindow.h"

#include <QScopeGuard>

#include <fcntl.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/filenames.h"

using namespace Qt::StringLiterals;
using Call = FakeDesktop::Call;

class TstPanes : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // The panes move to a nested folder given with a separator at its end, to one opened in
    // the tree, and to the current entry's folder; the pane lists its plain files in natural
    // order.
    void panesMoveToAFolder_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("given") << u"given"_s;
        QTest::newRow("opened in the tree") << u"tree"_s;
        QTest::newRow("the current entry's folder") << u"entry"_s;
    }

    void panesMoveToAFolder()
    {
        QFETCH(QString, how);
        FolderWindow w({"a/b/b10.txt", "a/b/b2.txt", "a/b/B1.txt", "a/b/.hidden", "a/b/noext", "a/b/folder.d/x"});
        if (how == u"given") {
            w->setDir1(w.path("a/b/"));
        } else if (how == u"tree") {
            w->setDir1(w.path("a"));
            QTRY_COMPARE(w->Dir1->model()->rowCount(w->Dir1->currentIndex()), 1);
            w->Dir1->setCurrentIndex(w->Dir1->model()->index(0, 0, w->Dir1->currentIndex()));
        } else {
            w->List1->addEntry(w.path("a/b/noext"));
            w->List1->setCurrentRow(0);
            w->Command15_Click();
        }
        QCOMPARE(w->CurrentFolder, w.path("a/b/"));
        QCOMPARE(entries(w->File1), (QStringList{"B1.txt", "b2.txt", "b10.txt", "noext"}));
    }

    // A volume that cannot be opened is reported with its error and leaves the folder as it was.
    void driveChange()
    {
        FolderWindow w;
        w->Drive1->addItem(u"/dev"_s);
        w->Drive1->setCurrentIndex(w->Drive1->count() - 1);
        QCOMPARE(w->CurrentFolder, u"/dev/"_s);
        w->Drive1->setCurrentIndex(w->Drive1->findText(u"/"_s));
        QCOMPARE(w->dir1Path(), u"/"_s);
        QCOMPARE(w->CurrentFolder, u"/"_s);
        QVERIFY(w.dialogs.boxes.isEmpty());

        w->Drive1->addItem(u"/no-such-volume-here"_s);
        w->Drive1->setCurrentIndex(w->Drive1->count() - 1);
        QCOMPARE(w.dialogs.boxes.size(), 1);
        const QString text = w.dialogs.boxes.first().text;
        QVERIFY2(text.startsWith(u"2 "_s) && text.size() > 2, qPrintable(text));
        QCOMPARE(w->CurrentFolder, u"/"_s);
    }

    // A volume whose mount point is not UTF-8 is offered and opened by its exact name.
    void volumeNamedInBytesOpensExactly()
    {
        TempFolder root;
        const QByteArray point = QFile::encodeName(root.path()) + "/\xb2\xe2 disk";
        QVERIFY(::mkdir(point.constData(), 0700) == 0);
        // Qt's own removal of the temporary folder cannot name a folder that is not UTF-8.
        const auto removePoint = qScopeGuard([&] { ::rmdir(point.constData()); });
        if (::mount("none", point.constData(), "tmpfs", 0, "size=1m") != 0)
            QSKIP("the tests may not mount a file system here");
        const auto unmount = qScopeGuard([&] { ::umount2(point.constData(), MNT_DETACH); });
        ::close(::open((point + "/inside.txt").constData(), O_CREAT | O_WRONLY, 0600));

        TestWindow w(root.path());
        const QString name = decodeFileName(point);
        const int index = w->Drive1->findText(name);
        QVERIFY(index >= 0);
        w->Drive1->setCurrentIndex(index);
        QCOMPARE(w->CurrentFolder, name + u'/');
        QCOMPARE(entries(w->File1), QStringList{u"inside.txt"_s});
    }

    // What is typed applies on Enter only, and stays in force across folder changes and
    // refreshes, which read the disk anew.
    void filterAppliesOnlyOnEnterAndRefreshReadsTheDisk()
    {
        FolderWindow w({"a.jpg", "b.PNG", "c.txt", "readme"});
        QVERIFY(w.showActive());
        w->Text5->setFocus();
        const auto type = [&](const QString &patterns) {
            w->Text5->selectAll();
            QTest::keyClicks(w->Text5, patterns);
        };
        type(u"*.jpg"_s);
        QCOMPARE(w->File1->count(), 4);
        QTest::keyClick(w->Text5, Qt::Key_Return);
        QCOMPARE(entries(w->File1), QStringList{u"a.jpg"_s});
        type(u"*.jpg;*.png"_s);
        QTest::keyClick(w->Text5, Qt::Key_Return);
        w->setDir1(w.dir.path());
        QCOMPARE(entries(w->File1), (QStringList{"a.jpg", "b.PNG"}));
        makeFile(w.path("d.png"));
        QFile::remove(w.path("a.jpg"));
        QTest::mouseClick(w->Command8, Qt::LeftButton);
        QCOMPARE(entries(w->File1), (QStringList{"b.PNG", "d.png"}));
        type(u"*.*"_s);
        QTest::keyClick(w->Text5, Qt::Key_Return);
        QCOMPARE(w->File1->count(), 4);
    }

    // The commands act on the list that last had the focus; buttons and text boxes do not
    // count. Focus alone makes no entry current, and a click where there is none leaves the
    // pane's tip empty; commands on the current entry then find none.
    void focusPicksTheListButNoEntry()
    {
        FolderWindow w({"a.txt"});
        QVERIFY(w.showActive());
        w->List1->addEntries({u"/p/a.txt"_s, u"/p/b.txt"_s});
        qint16 active = 2;
        for (auto reason : {Qt::TabFocusReason, Qt::ActiveWindowFocusReason}) {
            for (EntryList *list : {w->List1, w->File1}) {
                QTest::mouseClick(w->Command8, Qt::LeftButton);
                w->Text4->setFocus();
                QCOMPARE(w->ActiveList, active);
                list->setFocus(reason);
                active = list == w->List1 ? 1 : 2;
                QCOMPARE(w->ActiveList, active);
                QCOMPARE(list->currentRow(), -1);
            }
        }
        w->File1->setToolTip(u"0.a.txt"_s);
        QWidget *blank = w->File1->viewport();
        QTest::mouseClick(blank, Qt::LeftButton, {}, QPoint(5, blank->height() - 5));
        QCOMPARE(w->File1->toolTip(), QString());
        w->mnOpen_Click();
        QCOMPARE(w.dialogs.texts(), QStringList{u"No file or not select!"_s});
    }

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

QTEST_MAIN(TstPanes)
#include "tst_panes.moc"
