// Copying lists of paths to the clipboard and pasting them into the rename list.
#include <QClipboard>
#include <QGuiApplication>
#include <QProgressBar>
#include <QTest>

#include "fileops/pathlist.h"
#include "testwindow.h"

class TstClipboard : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void copyTheSelectionOfEitherList()
    {
        QTemporaryDir dir;
        makeFile(dir.path() + QStringLiteral("/x.jpg"));
        TestWindow w(dir.path());
        setEntries(w->List1, {"/a.txt", "/skip", "/b c.txt", "/d\"'$x.txt"}, {0, 2, 3});
        w->ActiveList = 1;
        w->mnCopyList_Click();
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("/a.txt\r\n/b c.txt\r\n/d\"'$x.txt\r\n"));
        w->ActiveList = 2;
        selectRow(w->File1, 0, true);
        w->mnCopyList_Click();
        QCOMPARE(QGuiApplication::clipboard()->text(), dir.path() + QStringLiteral("/x.jpg\r\n"));
        QVERIFY(w.dialogs.boxes.isEmpty());
    }

    void copyWithNothingSelectedLeavesTheClipboard()
    {
        TestWindow w;
        QGuiApplication::clipboard()->setText(QStringLiteral("untouched"));
        w->List1->addEntry(QStringLiteral("/a"));
        w->ActiveList = 1;
        w->mnCopyList_Click();
        w->ActiveList = 2;
        w->File1->clearSelection();
        w->mnCopyList_Click();
        QCOMPARE(w.dialogs.boxes, (QList<FakeDialogs::Box>{
                                      {"没有选中文件！", "提示", Dialogs::Buttons::Ok, Dialogs::Icon::Information},
                                      {"没有或没选中文件！", "Quillmere"}}));
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("untouched"));
    }

    void split_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("pieces");
        QTest::newRow("terminated") << QStringLiteral("a\r\nb\r\n") << QStringList{"a", "b", ""};
        QTest::newRow("blank lines") << QStringLiteral("a\r\n\r\nb") << QStringList{"a", "", "b"};
        QTest::newRow("LF only") << QStringLiteral("a\nb\n") << QStringList{"a\nb\n"};
        QTest::newRow("lone CR") << QStringLiteral("a\rb\r\n") << QStringList{"a\rb", ""};
    }

    void split()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, pieces);
        QCOMPARE(splitClipboardList(text), pieces);
    }

    void pasteAppendsNonEmptyPieces_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("list");
        QTest::newRow("round trip") << clipboardListText({"/é 中.txt", " /s p ", "-x"})
                                    << QStringList{"/old", "/é 中.txt", " /s p ", "-x"};
        QTest::newRow("blank lines") << QStringLiteral("\r\n\r\n/n\r\n\r\n") << QStringList{"/old", "/n"};
        QTest::newRow("LF only") << QStringLiteral("/p\n/q\n") << QStringList{"/old", "/p\n/q\n"};
        QTest::newRow("pasted duplicate stays at the end")
            << QStringLiteral("/old\r\n/z\r\n") << QStringList{"/old", "/z"};
        QTest::newRow("older duplicate goes") << QStringLiteral("/z\r\n/old") << QStringList{"/z", "/old"};
    }

    void pasteAppendsNonEmptyPieces()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, list);
        TestWindow w;
        w->List1->addEntry(QStringLiteral("/old"));
        QGuiApplication::clipboard()->setText(text);
        w->mnPasteList_Click();
        QCOMPARE(entries(w->List1), list);
        QCOMPARE(w.dialogs.texts(), QStringList{QStringLiteral("Ok!")});
        QVERIFY(!w->ProgressBar1->isVisible());
    }

    void pasteOnlyLineBreaksIntoEmptyList()
    {
        TestWindow w;
        QGuiApplication::clipboard()->setText(QStringLiteral("\r\n\r\n"));
        w->mnPasteList_Click();
        QCOMPARE(w->List1->count(), 0);
        QCOMPARE(w.dialogs.texts(), QStringList{QStringLiteral("没有文件！")});
        QGuiApplication::clipboard()->clear();
        w->mnPasteList_Click();   // an empty clipboard says nothing
        QCOMPARE(w.dialogs.boxes.size(), 1);
    }
};

QTEST_MAIN(TstClipboard)
#include "tst_clipboard.moc"
