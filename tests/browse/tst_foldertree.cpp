// The folder tree and the file pane's listing on real folders: what each shows of files,
// folders, links and hidden names, and the tree brought to a folder at once; the natural
// order, and the pane's sort keys against a plain sort with the natural comparison.
#include <QRegularExpression>

#include <random>
#include <sys/stat.h>

#include "browse/filelisting.h"
#include "browse/foldertree.h"
#include "browse/patterns.h"
#include "platform/filenames.h"
#include "testwindow.h"

using namespace Qt::StringLiterals;

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

// Folders b10, b2, B1, .hidden, one named in GBK and a link to b2, a plain file, a link to it,
// a dangling link.
void makeMixedFolder(const QString &root)
{
    for (const char *sub : {"b10", "b2", "B1", ".hidden"})
        QDir(root).mkdir(QLatin1String(sub));
    makeFile(root + u'/' + decodeFileName("\xb9\xa4") + u"/inside.txt"_s);
    makeFile(root + u"/file.txt"_s);
    QFile::link(root + u"/b2"_s, root + u"/link-to-b2"_s);
    QFile::link(root + u"/file.txt"_s, root + u"/link-to-file"_s);
    QFile::link(root + u"/gone"_s, root + u"/dangling"_s);
}

bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

// Random names of the given pieces, some also written with their case flipped, with a digit
// changed too, doubled, and with extra leading zeros, so that names that are equal or nearly
// equal in natural order come up often.
QStringList randomNames(const QString &letters, int maxDigits, int count)
{
    std::mt19937 random(20261207);
    const auto pick = [&](int n) { return int(random() % unsigned(n)); };
    QStringList names;
    while (names.size() < count) {
        QString name;
        for (int piece = pick(8); piece >= 0; --piece) {
            if (pick(3) == 0) {
                name += QString(pick(3), u'0');
                for (int d = 1 + pick(maxDigits); d > 0; --d)
                    name += QChar(u'0' + pick(10));
            } else {
                name += letters.isEmpty() ? QChar(char16_t(random())) : letters[pick(int(letters.size()))];
            }
        }
        names << name;
        if (pick(3) == 0) {
            QString flipped = name;
            for (QChar &c : flipped)
                c = c.isUpper() ? c.toLower() : c.toUpper();
            QString bumped = flipped;   // each run's last digit changed as well
            for (qsizetype i = 0; i < bumped.size(); ++i) {
                if (isDigit(bumped[i]) && (i + 1 == bumped.size() || !isDigit(bumped[i + 1])))
                    bumped[i] = QChar(u'0' + (bumped[i].unicode() - u'0' + 1) % 10);
            }
            names << flipped << bumped << flipped + name
                  << QString(name).replace(QRegularExpression(QStringLiteral("(\\d+)")), QStringLiteral("0\\1"));
        }
    }
    return names;
}

} // namespace

class TstFolderTree : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void treeShowsSubfoldersAndLinksToThemInNaturalOrder()
    {
        TempFolder root;
        makeMixedFolder(root.path());
        FolderTreeModel model;
        const QModelIndex folder = model.index(root.path());
        QCOMPARE(model.filePath(folder), root.path());
        // A name that is not UTF-8 shows its bytes escaped, and its path keeps them exactly.
        QCOMPARE(childNames(model, folder), (QStringList{"B1", "b2", "b10", "link-to-b2", "\\xB9\\xA4"}));
        QCOMPARE(model.filePath(model.index(3, 0, folder)), root.path() + u"/link-to-b2"_s);
        QCOMPARE(model.filePath(model.index(4, 0, folder)), root.path() + u'/' + decodeFileName("\xb9\xa4"));
        QCOMPARE(model.index(u"/"_s), model.index(0, 0));
        QCOMPARE(model.filePath(model.index(0, 0)), u"/"_s);
        QVERIFY(!model.index(u"tmp"_s).isValid());   // relative paths name nothing
    }

    void indexOfPath_data()
    {
        QTest::addColumn<QString>("sub");
        QTest::addColumn<bool>("shown");
        QTest::newRow("deep folder") << u"/a/b/c"_s << true;
        QTest::newRow("trailing separator") << u"/a/b/"_s << true;
        QTest::newRow("through a link") << u"/link-to-b2"_s << true;
        QTest::newRow("named in GBK") << u"/"_s + decodeFileName("\xb9\xa4") << true;
        QTest::newRow("missing") << u"/a/none"_s << false;
        QTest::newRow("a file") << u"/file.txt"_s << false;
        QTest::newRow("hidden") << u"/.hidden"_s << false;
        QTest::newRow("made after its parent was read") << u"/a/new"_s << true;
    }

    void indexOfPath()
    {
        QFETCH(QString, sub);
        QFETCH(bool, shown);
        TempFolder root;
        makeMixedFolder(root.path());
        QVERIFY(QDir(root.path()).mkpath(u"a/b/c"_s));
        FolderTreeModel model;
        QVERIFY(model.index(root.path() + u"/a"_s).isValid());
        QDir(root.path()).mkdir(u"a/new"_s);
        const QModelIndex index = model.index(root.path() + sub);
        QCOMPARE(index.isValid(), shown);
        if (shown)
            QCOMPARE(model.filePath(index), QDir::cleanPath(root.path() + sub));
    }

    void refreshShowsNewFoldersAndKeepsTheOnesStillThere()
    {
        TempFolder root;
        QDir dir(root.path());
        for (const char *sub : {"a2/inner", "a5", "a9"})
            dir.mkpath(QLatin1String(sub));
        FolderTreeModel model;
        const QPersistentModelIndex inner = model.index(root.path() + u"/a2/inner"_s);
        const QModelIndex folder = model.index(root.path());
        for (const char *sub : {"a1", "a3", "a4", "a10"})
            dir.mkdir(QLatin1String(sub));
        dir.rmdir(u"a5"_s);
        QCOMPARE(childNames(model, folder).size(), 3);   // nothing watches the disk
        model.refresh(folder);
        QCOMPARE(childNames(model, folder), (QStringList{"a1", "a2", "a3", "a4", "a9", "a10"}));
        QCOMPARE(model.filePath(inner), root.path() + u"/a2/inner"_s);
    }

    void expandingAFolderInTheViewReadsIt()
    {
        TempFolder root;
        QVERIFY(QDir(root.path()).mkpath(u"a/b"_s));
        FolderTreeModel model;
        QTreeView view;
        view.setModel(&model);
        const QModelIndex parent = model.index(root.path());
        for (QModelIndex i = parent; i.isValid(); i = i.parent())
            view.expand(i);
        view.doItemsLayout();
        const QModelIndex a = model.index(0, 0, parent);
        QVERIFY(model.hasChildren(a));
        QCOMPARE(model.rowCount(a), 0);   // not read before it is opened
        view.expand(a);
        view.doItemsLayout();
        QCOMPARE(childNames(model, a), QStringList{u"b"_s});
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
        TempFolder root;
        const QString deep = root.path() + u"/one/two/three"_s;
        QVERIFY(QDir().mkpath(deep));
        TestWindow w(atStartUp ? deep : root.path());
        if (!atStartUp)
            w->setDir1(deep);
        const auto *model = static_cast<FolderTreeModel *>(w->Dir1->model());
        QCOMPARE(model->filePath(w->Dir1->currentIndex()), deep);
        for (QModelIndex i = w->Dir1->currentIndex().parent(); i.isValid(); i = i.parent())
            QVERIFY2(w->Dir1->isExpanded(i), qPrintable(model->filePath(i)));
        QVERIFY(w.showActive());
        QVERIFY(w->Dir1->viewport()->rect().contains(w->Dir1->visualRect(w->Dir1->currentIndex()).center()));
    }

    // Numbers by value and case ignored show in the tree's listing above.
    void naturalOrder_data()
    {
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("second");
        QTest::newRow("letters before case") << u"a"_s << u"B"_s;
        QTest::newRow("non-ASCII case ignored") << u"Äb"_s << u"äc"_s;
        QTest::newRow("same value, zeros break the tie") << u"x007"_s << u"x7"_s;
        QTest::newRow("same digits, later text") << u"文件9.jpg"_s << u"文件9.png"_s;
        QTest::newRow("after CJK prefix") << u"文件9.jpg"_s << u"文件10.jpg"_s;
        QTest::newRow("prefix first") << u"abc"_s << u"abcd"_s;
        QTest::newRow("equal but for case") << u"ABC"_s << u"abc"_s;
    }

    void naturalOrder()
    {
        QFETCH(QString, first);
        QFETCH(QString, second);
        QVERIFY(naturalLess(first, second));
        QVERIFY(!naturalLess(second, first));
        QVERIFY(!naturalLess(first, first));
    }

    void keyOrderIsTheNaturalOrder_data()
    {
        QTest::addColumn<QString>("letters");
        QTest::addColumn<int>("maxDigits");
        QTest::newRow("ASCII of both cases") << QStringLiteral("aAbBzZ._ -~") << 4;
        QTest::newRow("numbers beyond 64 bits") << QStringLiteral("xX.") << 40;
        QTest::newRow("runs about the one-byte length") << QStringLiteral("a") << 300;
        QTest::newRow("CJK, accents, folding letters") << QStringLiteral("文件图片ÄäÖößẞÉéſKkΣσς😀.a1") << 6;
        QTest::newRow("any code unit") << QString() << 3;
    }

    void keyOrderIsTheNaturalOrder()
    {
        QFETCH(QString, letters);
        QFETCH(int, maxDigits);
        // Enough names that they are sorted in two halves and merged.
        QStringList names = randomNames(letters, maxDigits, 5000);
        names << QString() << QStringLiteral("0") << QStringLiteral("00");
        QStringList expected = names;
        std::sort(expected.begin(), expected.end(), naturalLess);
        sortNaturally(names);
        QCOMPARE(names, expected);
    }

    // A digit run's key sorts where its first digit would, which holds only while no other
    // character folds to a digit.
    void onlyDigitsFoldToDigits()
    {
        for (char32_t u = 0; u <= 0xFFFF; ++u) {
            const QChar folded = QChar(char16_t(u)).toCaseFolded();
            QVERIFY((folded >= u'0' && folded <= u'9') == (u >= U'0' && u <= U'9'));
        }
    }

    // Plain files and links to them, not hidden, that match; in natural order.
    void paneListsVisibleFilesThatMatch()
    {
        TempFolder root;
        for (const char *name : {"a10.txt", "a2.TXT", "photo.jpg", ".hidden.txt", ".git/config.txt"})
            makeFile(root.filePath(QLatin1String(name)));
        QVERIFY(QDir(root.path()).mkdir(QStringLiteral("folder.txt")));
        QVERIFY(QFile::link(root.filePath(QStringLiteral("a10.txt")), root.filePath(QStringLiteral("link.txt"))));
        QVERIFY(QFile::link(root.filePath(QStringLiteral("gone")), root.filePath(QStringLiteral("dangling.txt"))));
        QVERIFY(QFile::link(root.filePath(QStringLiteral("folder.txt")), root.filePath(QStringLiteral("dirlink.txt"))));
        QCOMPARE(::mkfifo(QFile::encodeName(root.filePath(QStringLiteral("pipe.txt"))).constData(), 0600), 0);
        QCOMPARE(listPaneFiles(root.path(), NamePatterns(QStringLiteral("*.*"))),
                 (QStringList{"a2.TXT", "a10.txt", "link.txt", "photo.jpg"}));
        QCOMPARE(listPaneFiles(root.path(), NamePatterns(QStringLiteral("*.jpg;l*"))),
                 (QStringList{"link.txt", "photo.jpg"}));
    }

    // Names that are not UTF-8 are listed each as itself, beside a name that really holds
    // U+FFFD, and the pane's delete removes the very file its entry names.
    void paneKeepsEveryNameExact()
    {
        TempFolder root;
        QList<QByteArray> raw{"\xb2\xe2\xca\xd4.jpg", "\xef\xbf\xbd.txt", "\xfe.txt", "\xff.txt"};
        QSet<QString> names;
        for (const QByteArray &name : raw)
            names << makeRawFile(root.path(), name).mid(root.path().size() + 1);
        TestWindow w(root.path());
        const QStringList listed = entries(w->File1);
        QCOMPARE(QSet<QString>(listed.cbegin(), listed.cend()), names);
        w->ActiveList = 2;
        selectRow(w->File1, int(listed.indexOf(decodeFileName(raw.last()))));
        w->Command1_Click();
        raw.removeLast();
        QCOMPARE(rawNamesIn(root.path()), raw);
    }
};

QTEST_MAIN(TstFolderTree)
#include "tst_foldertree.moc"
