// The folder tree and the file pane's listing on real folders: what each shows of files,
// folders, links and hidden names, and the tree brought to a folder at once.
#include <QDir>
#include <QFile>
#include <QTest>
#include <QTreeView>

#include <sys/stat.h>

#include "browse/filelisting.h"
#include "browse/foldertree.h"
#include "browse/patterns.h"
#include "testwindow.h"

namespace {

// A folder's subfolders, read first as a view reads them.
QStringList childNames(FolderTreeModel &model, const QModelIndex &parent)
{
    if (model.canFetchMore(parent))
        model.fetchMore(parent);
    QStringList names;
    for (int row = 0; row < model.rowCount(parent); ++row)
        names << model.index(row, 0, parent).data().toString();
    return names;
}

// Folders b10, b2, B1, .hidden and a link to b2, a plain file, a link to it, a dangling link.
void makeMixedFolder(const QString &root)
{
    QDir dir(root);
    for (const char *sub : {"b10", "b2", "B1", ".hidden"})
        dir.mkdir(QLatin1String(sub));
    makeFile(root + QStringLiteral("/file.txt"));
    QFile::link(root + QStringLiteral("/b2"), root + QStringLiteral("/link-to-b2"));
    QFile::link(root + QStringLiteral("/file.txt"), root + QStringLiteral("/link-to-file"));
    QFile::link(root + QStringLiteral("/gone"), root + QStringLiteral("/dangling"));
}

// Every folder from "/" down to the path's parent.
QModelIndexList ancestors(const QModelIndex &index)
{
    QModelIndexList out;
    for (QModelIndex i = index.parent(); i.isValid(); i = i.parent())
        out << i;
    return out;
}

} // namespace

class TstFolderTree : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void treeShowsSubfoldersAndLinksToThemInNaturalOrder()
    {
        QTemporaryDir root;
        makeMixedFolder(root.path());
        FolderTreeModel model;
        const QModelIndex folder = model.index(root.path());
        QVERIFY(folder.isValid());
        QCOMPARE(model.filePath(folder), root.path());
        QCOMPARE(childNames(model, folder),
                 (QStringList{QStringLiteral("B1"), QStringLiteral("b2"), QStringLiteral("b10"),
                              QStringLiteral("link-to-b2")}));
        QCOMPARE(model.filePath(model.index(3, 0, folder)), root.path() + QStringLiteral("/link-to-b2"));
    }

    void indexOfPath_data()
    {
        QTest::addColumn<QString>("sub");
        QTest::addColumn<bool>("shown");
        QTest::newRow("deep folder") << QStringLiteral("/a/b/c") << true;
        QTest::newRow("trailing separator") << QStringLiteral("/a/b/") << true;
        QTest::newRow("through a link") << QStringLiteral("/link-to-b2") << true;
        QTest::newRow("missing") << QStringLiteral("/a/none") << false;
        QTest::newRow("a file") << QStringLiteral("/file.txt") << false;
        QTest::newRow("hidden") << QStringLiteral("/.hidden") << false;
        QTest::newRow("made after its parent was read") << QStringLiteral("/a/new") << true;
    }

    void indexOfPath()
    {
        QFETCH(QString, sub);
        QFETCH(bool, shown);
        QTemporaryDir root;
        makeMixedFolder(root.path());
        QVERIFY(QDir(root.path()).mkpath(QStringLiteral("a/b/c")));
        FolderTreeModel model;
        QVERIFY(model.index(root.path() + QStringLiteral("/a")).isValid());
        QDir(root.path()).mkdir(QStringLiteral("a/new"));
        const QModelIndex index = model.index(root.path() + sub);
        QCOMPARE(index.isValid(), shown);
        if (shown)
            QCOMPARE(model.filePath(index), QDir::cleanPath(root.path() + sub));
    }

    void rootAndRelativePaths()
    {
        FolderTreeModel model;
        const QModelIndex top = model.index(QStringLiteral("/"));
        QVERIFY(top.isValid());
        QCOMPARE(model.filePath(top), QStringLiteral("/"));
        QCOMPARE(top, model.index(0, 0));
        QVERIFY(!model.index(QStringLiteral("tmp")).isValid());
    }

    void refreshShowsNewFoldersAndKeepsTheOnesStillThere()
    {
        QTemporaryDir root;
        QDir dir(root.path());
        for (const char *sub : {"a2/inner", "a5", "a9"})
            dir.mkpath(QLatin1String(sub));
        FolderTreeModel model;
        const QPersistentModelIndex inner = model.index(root.path() + QStringLiteral("/a2/inner"));
        const QModelIndex folder = model.index(root.path());
        for (const char *sub : {"a1", "a3", "a4", "a10"})
            dir.mkdir(QLatin1String(sub));
        dir.rmdir(QStringLiteral("a5"));
        QCOMPARE(childNames(model, folder).size(), 3);  // nothing watches the disk
        model.refresh(folder);
        QCOMPARE(childNames(model, folder),
                 (QStringList{QStringLiteral("a1"), QStringLiteral("a2"), QStringLiteral("a3"),
                              QStringLiteral("a4"), QStringLiteral("a9"), QStringLiteral("a10")}));
        QVERIFY(inner.isValid());
        QCOMPARE(model.filePath(inner), root.path() + QStringLiteral("/a2/inner"));
    }

    void expandingAFolderInTheViewReadsIt()
    {
        QTemporaryDir root;
        QVERIFY(QDir(root.path()).mkpath(QStringLiteral("a/b")));
        FolderTreeModel model;
        QTreeView view;
        view.setModel(&model);
        const QModelIndex parent = model.index(root.path());
        for (QModelIndex i = parent; i.isValid(); i = i.parent())
            view.expand(i);
        view.doItemsLayout();
        const QModelIndex a = model.index(0, 0, parent);
        QCOMPARE(model.filePath(a), root.path() + QStringLiteral("/a"));
        QVERIFY(model.hasChildren(a));
        QCOMPARE(model.rowCount(a), 0);  // not read before it is opened
        view.expand(a);
        view.doItemsLayout();
        QCOMPARE(model.rowCount(a), 1);
        QCOMPARE(model.index(0, 0, a).data().toString(), QStringLiteral("b"));
    }

    void windowBringsTheTreeToItsFolderAtOnce_data()
    {
        QTest::addColumn<bool>("atStartUp");
        QTest::newRow("restored at start-up") << true;
        QTest::newRow("set later") << false;
    }

    void windowBringsTheTreeToItsFolderAtOnce()
    {
        QFETCH(bool, atStartUp);
        QTemporaryDir root;
        const QString deep = root.path() + QStringLiteral("/one/two/three");
        QVERIFY(QDir().mkpath(deep));
        TestWindow w(atStartUp ? deep : root.path());
        if (!atStartUp)
            w->setDir1(deep);
        // No event loop has run: the tree is read as it is needed.
        const auto *model = static_cast<FolderTreeModel *>(w->Dir1->model());
        QCOMPARE(model->filePath(w->Dir1->currentIndex()), deep);
        for (const QModelIndex &i : ancestors(w->Dir1->currentIndex()))
            QVERIFY2(w->Dir1->isExpanded(i), qPrintable(model->filePath(i)));
        QVERIFY(w.showActive());
        const QRect shown = w->Dir1->visualRect(w->Dir1->currentIndex());
        QVERIFY(w->Dir1->viewport()->rect().contains(shown.center()));
    }

    void naturalOrder_data()
    {
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("second");
        QTest::newRow("numbers by value") << QStringLiteral("a2") << QStringLiteral("a10");
        QTest::newRow("case ignored") << QStringLiteral("B1") << QStringLiteral("b2");
        QTest::newRow("letters before case") << QStringLiteral("a") << QStringLiteral("B");
        QTest::newRow("non-ASCII case ignored") << QStringLiteral("Äb") << QStringLiteral("äc");
        QTest::newRow("same value, zeros break the tie") << QStringLiteral("x007") << QStringLiteral("x7");
        QTest::newRow("same digits, later text") << QStringLiteral("文件9.jpg") << QStringLiteral("文件9.png");
        QTest::newRow("after CJK prefix") << QStringLiteral("文件9.jpg") << QStringLiteral("文件10.jpg");
        QTest::newRow("prefix first") << QStringLiteral("abc") << QStringLiteral("abcd");
        QTest::newRow("equal but for case") << QStringLiteral("ABC") << QStringLiteral("abc");
    }

    void naturalOrder()
    {
        QFETCH(QString, first);
        QFETCH(QString, second);
        QVERIFY(naturalLess(first, second));
        QVERIFY(!naturalLess(second, first));
        QVERIFY(!naturalLess(first, first));
    }

    void paneListsFilesAndLinksToFiles_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<bool>("listed");
        QTest::newRow("plain file") << QStringLiteral("file") << true;
        QTest::newRow("link to a file") << QStringLiteral("link-to-file") << true;
        QTest::newRow("link to a folder") << QStringLiteral("link-to-folder") << false;
        QTest::newRow("dangling link") << QStringLiteral("dangling") << false;
        QTest::newRow("hidden file") << QStringLiteral("hidden") << false;
        QTest::newRow("folder") << QStringLiteral("folder") << false;
        QTest::newRow("named pipe") << QStringLiteral("fifo") << false;
    }

    void paneListsFilesAndLinksToFiles()
    {
        QFETCH(QString, kind);
        QFETCH(bool, listed);
        QTemporaryDir root;
        const QString target = makeFile(root.path() + QStringLiteral("/.target/file"));
        const QString path = root.path() + QStringLiteral("/entry");
        if (kind == u"file")
            makeFile(path);
        else if (kind == u"link-to-file")
            QVERIFY(QFile::link(target, path));
        else if (kind == u"link-to-folder")
            QVERIFY(QFile::link(root.path() + QStringLiteral("/.target"), path));
        else if (kind == u"dangling")
            QVERIFY(QFile::link(root.path() + QStringLiteral("/gone"), path));
        else if (kind == u"hidden")
            makeFile(root.path() + QStringLiteral("/.entry"));
        else if (kind == u"folder")
            QVERIFY(QDir().mkdir(path));
        else
            QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        const QStringList expected = listed ? QStringList{QStringLiteral("entry")} : QStringList();
        QCOMPARE(listPaneFiles(root.path(), NamePatterns(QStringLiteral("*.*"))), expected);
    }
};

QTEST_MAIN(TstFolderTree)
#include "tst_foldertree.moc"
