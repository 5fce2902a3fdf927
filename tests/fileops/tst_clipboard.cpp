// Copying lists of paths to the clipboard and pasting them into the rename list.
#include "fileops/pathlist.h"
#include "platform/filenames.h"
#include "testwindow.h"

class TstClipboard : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void copyTheSelectionOfEitherList()
    {
        FolderWindow w({"x.jpg"});
        setEntries(w->List1, {"/a.txt", "/skip", "/b c.txt", "/d\"'$x.txt"}, {0, 2, 3});
        w->ActiveList = 1;
        w->mnCopyList_Click();
        QCOMPARE(QGuiApplication::clipboard()->text(), "/a.txt\r\n/b c.txt\r\n/d\"'$x.txt\r\n");
        w->ActiveList = 2;
        selectRow(w->File1, 0);
        w->mnCopyList_Click();
        QCOMPARE(QGuiApplication::clipboard()->text(), w.path("x.jpg") + "\r\n");
        QVERIFY(w.dialogs.boxes.isEmpty());
    }

    // Names that the text cannot carry (bytes that are not UTF-8, a line break) are written
    // there visibly, and come back exactly from the program's own format, one entry each.
    void copyThenPasteKeepsEveryNameExact()
    {
        const QStringList paths{decodeFileName("/p/\xb2\xe2\xca\xd4.jpg"), "/p/a\r\nb.txt", "/p/ok 中.txt",
                                decodeFileName("/p/\xff.txt"), "/p/\U0001F600.txt"};
        TestWindow w;
        setEntries(w->List1, paths, {0, 1, 2, 3, 4});
        w->ActiveList = 1;
        w->mnCopyList_Click();
        QCOMPARE(QGuiApplication::clipboard()->text(),
                 "/p/\\xB2\\xE2\\xCA\\xD4.jpg\r\n/p/a\\x0D\\x0Ab.txt\r\n/p/ok 中.txt\r\n/p/\\xFF.txt\r\n/p/\U0001F600.txt\r\n");
        w->List1->clear();
        w->mnPasteList_Click();
        QCOMPARE(entries(w->List1), paths);
        // Text from elsewhere is taken as it reads.
        QGuiApplication::clipboard()->setText(clipboardListText(paths));
        w->List1->clear();
        w->mnPasteList_Click();
        QCOMPARE(w->List1->text(0), "/p/\\xB2\\xE2\\xCA\\xD4.jpg");
    }

    // Only CR LF ends a line; the pieces are appended and the duplicates then removed, the
    // last of equal entries kept. Nothing but line breaks is no list at all.
    void paste_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("list");
        QTest::addColumn<QString>("message");
        QTest::newRow("round trip") << clipboardListText({"/é 中.txt", " /s p ", "-x"})
                                    << QStringList{"/old", "/é 中.txt", " /s p ", "-x"} << "Ok!";
        QTest::newRow("blank lines") << "\r\n\r\n/n\r\n\r\n" << QStringList{"/old", "/n"} << "Ok!";
        QTest::newRow("LF only") << "/p\n/q\n" << QStringList{"/old", "/p\n/q\n"} << "Ok!";
        QTest::newRow("lone CR") << "a\rb\r\n" << QStringList{"/old", "a\rb"} << "Ok!";
        QTest::newRow("pasted duplicate stays at the end") << "/old\r\n/z\r\n" << QStringList{"/old", "/z"} << "Ok!";
        QTest::newRow("older duplicate goes") << "/z\r\n/old" << QStringList{"/z", "/old"} << "Ok!";
        // Into an empty list.
        QTest::newRow("only line breaks") << "\r\n\r\n" << QStringList() << "没有文件！";
        QTest::newRow("empty clipboard says nothing") << "" << QStringList() << "";
    }

    void paste()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, list);
        QFETCH(QString, message);
        TestWindow w;
        if (!list.isEmpty())
            w->List1->addEntry("/old");
        QGuiApplication::clipboard()->setText(text);
        w->mnPasteList_Click();
        QCOMPARE(entries(w->List1), list);
        QCOMPARE(w.dialogs.texts(), message.isEmpty() ? QStringList() : QStringList{message});
        QVERIFY(!w->ProgressBar1->isVisible());
    }
};

QTEST_MAIN(TstClipboard)
#include "tst_clipboard.moc"
