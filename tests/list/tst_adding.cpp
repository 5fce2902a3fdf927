// Adding entries to the rename list: from the file pane with "←", by dropping files, up to
// the list's limit. Real window, real folders.
#include <QElapsedTimer>

#include "app/appinfo.h"
#include "platform/filenames.h"
#include "testwindow.h"

using namespace Qt::StringLiterals;

namespace {

const QString kListFull = u"文件列表最多容纳32767个项目，已达上限，其余%1个未加入！"_s;

bool dropOnList(Form1 &w, const QMimeData &data)
{
    return dropOn(w.List1->viewport(), &data).entered;
}

} // namespace

class TstAdding : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // The pane's selection is added in the pane's order, as often as asked, until the list is
    // full; the pane keeps its selection.
    void paneSelectionIsAddedInPaneOrderUpToTheLimit()
    {
        FolderWindow w({"a.txt", "b.txt", "c.txt", "d.txt"});
        selectRow(w->File1, 2);
        selectRow(w->File1, 0);
        w->Command7->click();
        w->Command7->click();
        QCOMPARE(entries(w->List1), w.paths({"a.txt", "c.txt", "a.txt", "c.txt"}));
        QCOMPARE(selectedRows(w->File1), (QList<int>{0, 2}));
        QVERIFY(w.dialogs.boxes.isEmpty());

        w->List1->addEntries(QStringList(AppInfo::MaxListEntries - 6, u"/p/x.txt"_s));
        w->File1->selectAll();
        w->Command7_Click();
        QCOMPARE(w->List1->count(), AppInfo::MaxListEntries);
        QCOMPARE(w->List1->text(w->List1->count() - 1), w.path("b.txt"));
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(w.path("a.txt"))});
        QVERIFY(dropOnList(*w, data));
        QCOMPARE(w->List1->count(), AppInfo::MaxListEntries);
        QCOMPARE(w.dialogs.texts(), (QStringList{kListFull.arg(2), kListFull.arg(1)}));
    }

    // Local paths, folders too, become entries in delivery order, even when already listed, with
    // the exact bytes of their names; web addresses, text that looks like a path and a path
    // holding an encoded separator are not files to rename.
    void dropsAddOnlyLocalPaths()
    {
        FolderWindow w({"a.txt", "b.txt", "sub/c.txt"});
        const QString a = w.path("a.txt"), b = w.path("b.txt"), sub = w.path("sub");
        const QString gbk = makeRawFile(w.dir.path(), "\xb2\xe2.txt");
        const auto exactUrl = [](const QString &path) {
            return QUrl::fromEncoded("file://" + encodeFileName(path).toPercentEncoding("/"));
        };
        w->List1->addEntry(a);
        QMimeData files, text, web;
        files.setUrls({QUrl::fromLocalFile(b), QUrl::fromLocalFile(sub), QUrl(u"https://example.org/x"_s),
                       exactUrl(gbk), QUrl::fromEncoded("file://" + QFile::encodeName(a) + "%2F..%2Fx"),
                       QUrl::fromLocalFile(a)});
        QVERIFY(dropOnList(*w, files));
        text.setText(u"/etc/hostname\r\n/etc/passwd\r\n"_s);
        web.setUrls({QUrl(u"https://example.org/a.txt"_s)});
        QVERIFY(!dropOnList(*w, text));
        QVERIFY(!dropOnList(*w, web));
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
        QVERIFY(dropOnList(*w, data));
        QCOMPARE(w->List1->count(), 30000);
        QVERIFY2(paints <= clock.elapsed() / 10 + 5, qPrintable(QString::number(paints)));
    }

    // A source told its files were moved may delete them: a drop is always taken as a copy,
    // and a source that offers nothing but a move is refused.
    void dropIsNeverAMove()
    {
        FolderWindow w({"a.txt"});
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(w.path("a.txt"))});
        for (const Qt::DropActions offered : {Qt::CopyAction | Qt::MoveAction, Qt::DropActions(Qt::MoveAction)}) {
            const DropResult r = dropOn(w->List1->viewport(), &data, offered, Qt::ShiftModifier);
            QCOMPARE(r.proposed, Qt::MoveAction);   // what Shift asks for
            const bool copyOffered = offered & Qt::CopyAction;
            QCOMPARE(r.dropped, copyOffered);
            if (copyOffered)
                QCOMPARE(r.action, Qt::CopyAction);
        }
        QCOMPARE(entries(w->List1), w.paths({"a.txt"}));
    }
};

QTEST_MAIN(TstAdding)
#include "tst_adding.moc"
