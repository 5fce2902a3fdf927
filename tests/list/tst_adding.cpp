// Adding entries to the rename list: from the file pane with "←", by dropping files, up to
// the list's limit. Real window, real folders.
#include <QDir>
#include <QElapsedTimer>
#include <QDropEvent>
#include <QMimeData>
#include <QPushButton>
#include <QTest>
#include <QUrl>

#include "app/appinfo.h"
#include "platform/filenames.h"
#include "testwindow.h"

using namespace Qt::StringLiterals;

namespace {

const QString kListFull = u"文件列表最多容纳32767个项目，已达上限，其余%1个未加入！"_s;

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
        selectRow(w->File1, 2);
        selectRow(w->File1, 0);
        w->Command7->click();
        w->Command7->click();
        const QString a = dir.path() + u"/a.txt"_s, c = dir.path() + u"/c.txt"_s;
        QCOMPARE(entries(w->List1), (QStringList{a, c, a, c}));
        QCOMPARE(selectedRows(w->File1), (QList<int>{0, 2}));
        QVERIFY(w.dialogs.boxes.isEmpty());
    }

    void addingStopsAtTheLimitAndSaysSo()
    {
        QTemporaryDir dir;
        for (const char *n : {"a.txt", "b.txt", "c.txt", "d.txt"})
            makeFile(dir.path() + u'/' + QLatin1String(n));
        TestWindow w(dir.path());
        w->List1->addEntries(QStringList(AppInfo::MaxListEntries - 2, u"/p/x.txt"_s));
        w->File1->selectAll();
        w->Command7_Click();
        QCOMPARE(w->List1->count(), AppInfo::MaxListEntries);
        QCOMPARE(w->List1->text(w->List1->count() - 1), dir.path() + u"/b.txt"_s);
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(dir.path() + u"/a.txt"_s)});
        QVERIFY(dropOnList(*w, &data));
        QCOMPARE(w->List1->count(), AppInfo::MaxListEntries);
        QCOMPARE(w.dialogs.texts(), (QStringList{kListFull.arg(2), kListFull.arg(1)}));
    }

    // Local paths, folders too, become entries in delivery order, even when already listed, with
    // the exact bytes of their names; web addresses, text that looks like a path and a path
    // holding an encoded separator are not files to rename.
    void dropsAddOnlyLocalPaths()
    {
        QTemporaryDir dir;
        const QString b = makeFile(dir.path() + u"/b.txt"_s);
        const QString a = makeFile(dir.path() + u"/a.txt"_s);
        const QString sub = dir.path() + u"/sub"_s;
        QVERIFY(QDir().mkpath(sub));
        const QString gbk = makeRawFile(dir.path(), "\xb2\xe2.txt");
        const auto exactUrl = [](const QString &path) {
            return QUrl::fromEncoded("file://" + encodeFileName(path).toPercentEncoding("/"));
        };
        TestWindow w;
        w->List1->addEntry(a);
        QMimeData files, text, web;
        files.setUrls({QUrl::fromLocalFile(b), QUrl::fromLocalFile(sub), QUrl(u"https://example.org/x"_s),
                       exactUrl(gbk), QUrl::fromEncoded("file://" + QFile::encodeName(a) + "%2F..%2Fx"),
                       QUrl::fromLocalFile(a)});
        QVERIFY(dropOnList(*w, &files));
        text.setText(u"/etc/hostname\r\n/etc/passwd\r\n"_s);
        web.setUrls({QUrl(u"https://example.org/a.txt"_s)});
        QVERIFY(!dropOnList(*w, &text));
        QVERIFY(!dropOnList(*w, &web));
        QCOMPARE(entries(w->List1), (QStringList{a, b, sub, gbk, a}));
        QVERIFY(w.dialogs.boxes.isEmpty());
    }

    // A long drop shows its entries while it runs, at display rate: the list is not laid out
    // and painted again at every yield, whatever reads it meanwhile (the rows' previews do).
    void longDropRepaintsAtDisplayRate()
    {
        TestWindow w;
        QVERIFY(w.showActive());
        QByteArray uris;
        for (int i = 0; i < 30000; ++i)
            uris += "file:///p/" + QByteArray::number(i) + ".jpg\r\n";
        QMimeData data;
        data.setData(u"text/uri-list"_s, uris);
        int paints = 0;
        struct Counter : QObject {
            int &paints;
            explicit Counter(int &p) : paints(p) {}
            bool eventFilter(QObject *, QEvent *e) override { paints += e->type() == QEvent::Paint; return false; }
        } counter(paints);
        w->List1->viewport()->installEventFilter(&counter);
        QElapsedTimer clock;
        clock.start();
        QVERIFY(dropOnList(*w, &data));
        QCOMPARE(w->List1->count(), 30000);
        QVERIFY2(paints <= clock.elapsed() / 10 + 5, qPrintable(QString::number(paints)));
    }

    // A source told its files were moved may delete them: a drop is always taken as a copy,
    // and a source that offers nothing but a move is refused.
    void dropIsNeverAMove()
    {
        QTemporaryDir dir;
        const QString a = makeFile(dir.path() + u"/a.txt"_s);
        TestWindow w;
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(a)});
        QWidget *target = w->List1->viewport();
        for (const Qt::DropActions offered : {Qt::CopyAction | Qt::MoveAction, Qt::DropActions(Qt::MoveAction)}) {
            QDragEnterEvent enter(QPoint(1, 1), offered, &data, Qt::LeftButton, Qt::ShiftModifier);
            QCoreApplication::sendEvent(target, &enter);
            QDropEvent drop(QPointF(1, 1), offered, &data, Qt::LeftButton, Qt::ShiftModifier);
            QCOMPARE(drop.proposedAction(), Qt::MoveAction);   // what Shift asks for
            QCoreApplication::sendEvent(target, &drop);
            const bool copyOffered = offered & Qt::CopyAction;
            QCOMPARE(drop.isAccepted(), copyOffered);
            if (copyOffered)
                QCOMPARE(drop.dropAction(), Qt::CopyAction);
        }
        QCOMPARE(entries(w->List1), QStringList{a});
    }
};

QTEST_MAIN(TstAdding)
#include "tst_adding.moc"
