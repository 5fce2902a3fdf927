// Adding entries to the rename list: from the file pane with "←", by dropping files, up to
// the list's limit; and the list's tool tip and focus record. Real window, real folders.
#include <QDir>
#include <QDropEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QPushButton>
#include <QTemporaryDir>
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

QMimeData *filesData(const QStringList &paths)
{
    auto *data = new QMimeData;
    QList<QUrl> urls;
    for (const QString &p : paths)
        urls << QUrl::fromLocalFile(p);
    data->setUrls(urls);
    return data;
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
        TestWindow w;
        w->setDir1(dir.path());
        QCOMPARE(w->File1->count(), 3);
        w->File1->item(2)->setSelected(true);
        w->File1->item(0)->setSelected(true);
        w->Command7->click();
        w->Command7->click();
        const QString a = dir.path() + QStringLiteral("/a.txt"), c = dir.path() + QStringLiteral("/c.txt");
        QCOMPARE(entries(w->List1), (QStringList{a, c, a, c}));   // one separator, pane order, twice
        QVERIFY(w->File1->item(0)->isSelected() && w->File1->item(2)->isSelected());
        QVERIFY(w.dialogs.boxes.isEmpty());
    }

    void emptyPaneSaysSoAndNoSelectionSaysNothing()
    {
        QTemporaryDir dir;
        TestWindow w;
        w->setDir1(dir.path());
        w->Command7_Click();
        QCOMPARE(w.dialogs.boxes.size(), 1);
        QCOMPARE(w.dialogs.boxes[0].text, QStringLiteral("没有文件！"));
        QCOMPARE(w.dialogs.boxes[0].title, QStringLiteral("Quillmere"));
        QCOMPARE(w.dialogs.boxes[0].icon, Dialogs::Icon::None);

        makeFile(dir.path() + QStringLiteral("/a.txt"));
        w->refreshFile1();
        w.dialogs.clear();
        w->Command7_Click();
        QVERIFY(w.dialogs.boxes.isEmpty());
        QCOMPARE(w->List1->count(), 0);
    }

    void addingStopsAtTheLimitAndSaysSo()
    {
        QTemporaryDir dir;
        for (const char *n : {"a.txt", "b.txt", "c.txt", "d.txt"})
            makeFile(dir.path() + u'/' + QLatin1String(n));
        TestWindow w;
        w->setDir1(dir.path());
        QStringList filler(AppInfo::MaxListEntries - 2, QStringLiteral("/p/x.txt"));
        w->List1->addItems(filler);
        w->File1->selectAll();
        w->Command7_Click();
        QCOMPARE(w->List1->count(), AppInfo::MaxListEntries);
        QCOMPARE(w->List1->item(w->List1->count() - 1)->text(), dir.path() + QStringLiteral("/b.txt"));
        QCOMPARE(w.dialogs.texts(), QStringList{kListFull.arg(2)});

        w.dialogs.clear();
        QVERIFY(dropOnList(*w, filesData({dir.path() + QStringLiteral("/a.txt")})));
        QCOMPARE(w->List1->count(), AppInfo::MaxListEntries);
        QCOMPARE(w.dialogs.texts(), QStringList{kListFull.arg(1)});
    }

    void droppedPathsBecomeEntriesInDeliveryOrder()
    {
        QTemporaryDir dir;
        const QString b = makeFile(dir.path() + QStringLiteral("/b.txt"));
        const QString a = makeFile(dir.path() + QStringLiteral("/a.txt"));
        const QString folder = dir.path() + QStringLiteral("/sub");
        QVERIFY(QDir().mkpath(folder));
        TestWindow w;
        w->List1->addItem(a);
        std::unique_ptr<QMimeData> data(filesData({b, folder, a}));
        QVERIFY(dropOnList(*w, data.get()));
        QCOMPARE(entries(w->List1), (QStringList{a, b, folder, a}));
    }

    void dropsWithoutLocalFilesAreIgnored_data()
    {
        QTest::addColumn<QString>("format");
        QTest::newRow("plain text that looks like a path") << QStringLiteral("text");
        QTest::newRow("web address") << QStringLiteral("url");
        QTest::newRow("nothing at all") << QString();
    }

    void dropsWithoutLocalFilesAreIgnored()
    {
        QFETCH(QString, format);
        TestWindow w;
        QMimeData data;
        if (format == QStringLiteral("text"))
            data.setText(QStringLiteral("/etc/hostname\r\n/etc/passwd\r\n"));
        else if (format == QStringLiteral("url"))
            data.setUrls({QUrl(QStringLiteral("https://example.org/a.txt"))});
        QVERIFY(!dropOnList(*w, &data));
        QCOMPARE(w->List1->count(), 0);
        QVERIFY(w.dialogs.boxes.isEmpty());
    }

    void mixedDropKeepsOnlyTheLocalFiles()
    {
        QTemporaryDir dir;
        const QString a = makeFile(dir.path() + QStringLiteral("/a.txt"));
        TestWindow w;
        QMimeData data;
        data.setUrls({QUrl(QStringLiteral("https://example.org/x")), QUrl::fromLocalFile(a)});
        QVERIFY(dropOnList(*w, &data));
        QCOMPARE(entries(w->List1), QStringList{a});
    }

    void toolTipFollowsTheCurrentEntry()
    {
        TestWindow w;
        QCOMPARE(w->List1->toolTip(), QStringLiteral("可直接拖放文件到列表。"));
        w->List1->addItems({"/p/a.jpg", "/p/b.jpg", "/p/c.jpg", "/p/d.jpg"});
        w->List1->setCurrentRow(0);
        QCOMPARE(w->List1->toolTip(), QStringLiteral("0./p/a.jpg"));
        w->List1->setCurrentRow(3);
        QCOMPARE(w->List1->toolTip(), QStringLiteral("3./p/d.jpg"));
        w->List1->clear();
        w->List1_Click();
        QCOMPARE(w->List1->toolTip(), QString());
    }

    void focusMarksTheRenameListActive()
    {
        TestWindow w;
        QVERIFY(w.showActive());
        QCOMPARE(w->ActiveList, qint16(2));
        w->List1->setFocus();
        QCOMPARE(w->ActiveList, qint16(1));
        w->Text4->setFocus();
        QCOMPARE(w->ActiveList, qint16(1));   // until the file pane has the focus
        w->File1->setFocus();
        QCOMPARE(w->ActiveList, qint16(2));
    }
};

QTEST_MAIN(TstAdding)
#include "tst_adding.moc"
