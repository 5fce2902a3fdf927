// Adding entries to the rename list: from the file pane with "←", by dropping files, up to
// the list's limit; and which list has the focus. Real window, real folders.
#include <QDir>
#include <QDropEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QTest>
#include <QUrl>

#include "app/appinfo.h"
#include "testwindow.h"

namespace {

const QString kListFull = QStringLiteral("文件列表最多容纳32767个项目，已达上限，其余%1个未加入！");

// Delivers a drag over the rename list and the drop, as the window system does; returns
// whether the list accepted the drag.
bool dropOnList(Form1 &w, QMimeData *data)
{
    QWidget *target = w.List1->viewport();
    const QPoint at = target->rect().center();
    QDragEnterEvent enter(at, Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &enter);
    QDropEvent drop(QPointF(at), Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &drop);
    return enter.isAccepted();
}

} // namespace

class TstAdding : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void paneSelectionIsAddedInPaneOrder()
    {
        QTemporaryDir dir;
        for (const char *n : {"a.txt", "b.txt", "c.txt"})
            makeFile(dir.path() + u'/' + QLatin1String(n));
        TestWindow w(dir.path());
        selectRow(w->File1, 2, true);
        selectRow(w->File1, 0, true);
        w->Command7->click();
        w->Command7->click();
        const QString a = dir.path() + QStringLiteral("/a.txt"), c = dir.path() + QStringLiteral("/c.txt");
        QCOMPARE(entries(w->List1), (QStringList{a, c, a, c}));   // one separator, pane order, twice
        QCOMPARE(selectedRows(w->File1), (QList<int>{0, 2}));
        QVERIFY(w.dialogs.boxes.isEmpty());
    }

    void emptyPaneSaysSoAndNoSelectionSaysNothing()
    {
        QTemporaryDir dir;
        TestWindow w(dir.path());
        w->Command7_Click();
        QCOMPARE(w.dialogs.boxes, (QList<FakeDialogs::Box>{{"没有文件！", "Quillmere"}}));
        makeFile(dir.path() + QStringLiteral("/a.txt"));
        w->refreshFile1();
        w->Command7_Click();
        QCOMPARE(w.dialogs.boxes.size(), 1);
        QCOMPARE(w->List1->count(), 0);
    }

    void addingStopsAtTheLimitAndSaysSo()
    {
        QTemporaryDir dir;
        for (const char *n : {"a.txt", "b.txt", "c.txt", "d.txt"})
            makeFile(dir.path() + u'/' + QLatin1String(n));
        TestWindow w(dir.path());
        w->List1->addEntries(QStringList(AppInfo::MaxListEntries - 2, QStringLiteral("/p/x.txt")));
        w->File1->selectAll();
        w->Command7_Click();
        QCOMPARE(w->List1->count(), AppInfo::MaxListEntries);
        QCOMPARE(w->List1->text(w->List1->count() - 1), dir.path() + QStringLiteral("/b.txt"));
        QCOMPARE(w.dialogs.texts(), QStringList{kListFull.arg(2)});

        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(dir.path() + QStringLiteral("/a.txt"))});
        QVERIFY(dropOnList(*w, &data));
        QCOMPARE(w->List1->count(), AppInfo::MaxListEntries);
        QCOMPARE(w.dialogs.texts().last(), kListFull.arg(1));
    }

    // Local paths, folders too, become entries in delivery order, even when already listed;
    // web addresses and text that looks like a path are not files to rename.
    void dropsAddOnlyLocalPaths()
    {
        QTemporaryDir dir;
        const QString b = makeFile(dir.path() + QStringLiteral("/b.txt"));
        const QString a = makeFile(dir.path() + QStringLiteral("/a.txt"));
        const QString sub = dir.path() + QStringLiteral("/sub");
        QVERIFY(QDir().mkpath(sub));
        TestWindow w;
        w->List1->addEntry(a);
        QMimeData files;
        files.setUrls({QUrl::fromLocalFile(b), QUrl::fromLocalFile(sub), QUrl(QStringLiteral("https://example.org/x")),
                       QUrl::fromLocalFile(a)});
        QVERIFY(dropOnList(*w, &files));
        QCOMPARE(entries(w->List1), (QStringList{a, b, sub, a}));

        QMimeData text;
        text.setText(QStringLiteral("/etc/hostname\r\n/etc/passwd\r\n"));
        QMimeData web;
        web.setUrls({QUrl(QStringLiteral("https://example.org/a.txt"))});
        QVERIFY(!dropOnList(*w, &text));
        QVERIFY(!dropOnList(*w, &web));
        QCOMPARE(w->List1->count(), 4);
        QVERIFY(w.dialogs.boxes.isEmpty());
    }

    // The commands act on the list that last had the focus; the text boxes do not count.
    void focusMarksTheActiveList()
    {
        TestWindow w;
        QVERIFY(w.showActive());
        QCOMPARE(w->ActiveList, qint16(2));
        w->List1->setFocus();
        QCOMPARE(w->ActiveList, qint16(1));
        w->Text4->setFocus();
        QCOMPARE(w->ActiveList, qint16(1));
        w->File1->setFocus();
        QCOMPARE(w->ActiveList, qint16(2));
    }
};

QTEST_MAIN(TstAdding)
#include "tst_adding.moc"
