// The walk every command that yields goes through: entries that move or go while it
// yields, and the window closed in the middle of each such command.
#include <QDropEvent>

#include "app/profile.h"
#include "list/form2.h"
#include "walk/listedits.h"
#include "walk/walk.h"
#include "testwindow.h"

namespace {

enum class Command {
    RemoveSelected, Dedup, Toggle, Find, Delete, DeleteClosedAtItsQuestion, MoveTo, CopyTo,
    CopyList, PasteList, Rename, Drop
};

// What a command does to the files of its entries, in the order its walk takes them.
enum class Effect { None, Delete, Rename, Move, Copy };

} // namespace

Q_DECLARE_METATYPE(Command)
Q_DECLARE_METATYPE(Effect)

class TstWalk : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void closeDuringCommand_data()
    {
        QTest::addColumn<Command>("command");
        QTest::addColumn<Effect>("effect");
        QTest::newRow("remove selected") << Command::RemoveSelected << Effect::None;
        QTest::newRow("remove duplicates") << Command::Dedup << Effect::None;
        QTest::newRow("select all") << Command::Toggle << Effect::None;
        QTest::newRow("find") << Command::Find << Effect::None;
        QTest::newRow("delete") << Command::Delete << Effect::Delete;
        QTest::newRow("delete, closed at its question") << Command::DeleteClosedAtItsQuestion << Effect::None;
        QTest::newRow("move to") << Command::MoveTo << Effect::Move;
        QTest::newRow("copy to") << Command::CopyTo << Effect::Copy;
        QTest::newRow("copy list") << Command::CopyList << Effect::None;
        QTest::newRow("paste list") << Command::PasteList << Effect::None;
        QTest::newRow("rename") << Command::Rename << Effect::Rename;
        QTest::newRow("drop") << Command::Drop << Effect::None;
    }

    // The window is closed twice in the middle of each command that yields: the command stops
    // at its next yield with the entry in hand finished, the window goes once the command is
    // over and saves its folder, and every file is either untouched or wholly handled, the
    // handled ones being the first the walk took.
    void closeDuringCommand()
    {
        QFETCH(Command, command);
        QFETCH(Effect, effect);
        TempFolder dir;
        const QString src = dir.path() + QStringLiteral("/src"), dst = dir.path() + QStringLiteral("/dst");
        QVERIFY(QDir().mkpath(dst));
        QStringList paths, selected;
        QList<int> rows;
        for (int i = 0; i < 400; ++i) {
            paths << makeFile(src + QStringLiteral("/f%1.txt").arg(i, 3, 10, QLatin1Char('0')),
                              QByteArray::number(i));
            if (i % 2) {
                selected << paths.last();
                rows << i;
            }
        }
        TestWindow w(src);
        setEntries(w->List1, paths, rows);
        w->ActiveList = 1;
        w.dialogs.folderAnswers << dst << dst;
        w->setAttribute(Qt::WA_DeleteOnClose);
        QPointer<Form1> form = w.form.release();

        int ticks = 0;
        QTimer closer;
        connect(&closer, &QTimer::timeout, this, [&] {
            if (form && (++ticks == 5 || ticks == 6))
                form->close();
        });
        if (command == Command::DeleteClosedAtItsQuestion)
            w.dialogs.onMessage = [&](const FakeDialogs::Box &) { form->close(); };
        else
            closer.start(0);

        QMimeData drop;
        switch (command) {
        case Command::RemoveSelected: form->Command6_Click(); break;
        case Command::Dedup: form->Command13_Click(); break;
        case Command::Toggle: form->Command3_Click(); break;
        case Command::Find: {
            form->Command12_Click();
            auto *find = form->findChild<Form2 *>();
            find->Text1->setText(QStringLiteral("f"));
            find->Command1_Click();
            break;
        }
        case Command::Delete:
        case Command::DeleteClosedAtItsQuestion: form->Command1_Click(); break;
        case Command::MoveTo: form->mnMoveTo_Click(); break;
        case Command::CopyTo: form->mnCopyTo_Click(); break;
        case Command::CopyList: form->mnCopyList_Click(); break;
        case Command::PasteList:
            QGuiApplication::clipboard()->setText(paths.join(QStringLiteral("\r\n")));
            form->mnPasteList_Click();
            break;
        case Command::Rename: form->Command2_Click(); break;
        case Command::Drop: {
            QList<QUrl> urls;
            for (const QString &p : paths)
                urls << QUrl::fromLocalFile(p);
            drop.setUrls(urls);
            dropOn(form->List1->viewport(), &drop);
            break;
        }
        }
        closer.stop();
        QVERIFY(form);   // never deleted under the command
        QVERIFY(!form->isVisible());
        QTRY_VERIFY(!form);
        QCOMPARE(readProfileString(w.iniPath(), QStringLiteral("path"), QStringLiteral("value")),
                 std::optional<QString>(src));
        // The boxes a command shows at its end are not shown to a window that is going.
        for (const FakeDialogs::Box &box : std::as_const(w.dialogs.boxes))
            QVERIFY2(box.buttons == Dialogs::Buttons::YesNo, qPrintable(box.text));

        // The files: the ones handled are the first the walk took, each wholly handled.
        QStringList order = selected;
        if (effect == Effect::Delete)
            std::reverse(order.begin(), order.end());
        const auto handledAt = [&](int k) {
            const QString name = QFileInfo(order[k]).fileName();
            switch (effect) {
            case Effect::Delete: return src + u'/' + name;
            case Effect::Rename: return src + QStringLiteral("/文件%1.txt").arg(k);
            case Effect::Move:
            case Effect::Copy: return dst + u'/' + name;
            case Effect::None: break;
            }
            return QString();
        };
        int handled = 0;
        while (effect != Effect::None && handled < order.size()
               && (effect == Effect::Delete ? !QFile::exists(handledAt(handled)) : QFile::exists(handledAt(handled))))
            ++handled;
        QVERIFY2(effect == Effect::None || (handled >= 1 && handled < 10), qPrintable(QString::number(handled)));
        for (int i = 0; i < paths.size(); ++i) {
            const int k = int(order.indexOf(paths[i]));
            const bool done = k >= 0 && k < handled;
            const bool stays = !done || effect == Effect::Copy;
            QCOMPARE(contentOf(paths[i]), stays ? QByteArray::number(i) : QByteArray("<missing>"));
            if (done && effect != Effect::Delete)
                QCOMPARE(contentOf(handledAt(k)), QByteArray::number(i));
        }
        QCOMPARE(QDir(dst).entryList(QDir::Files | QDir::Hidden).size(),
                 effect == Effect::Move || effect == Effect::Copy ? handled : 0);
        QCOMPARE(QDir(src).entryList(QDir::Files | QDir::Hidden).size(),
                 effect == Effect::Delete || effect == Effect::Move ? paths.size() - handled : paths.size());
    }

    // Entries that moved (x, to the end) and a compaction while a walk from the end yields
    // (a and c go, the kept entries move up): the walk finds each of its entries where it is
    // now, visits and marks each one that is left, and skips the ones gone.
    void walkFromTheEndFindsItsEntriesThroughACompaction()
    {
        EntryList list;
        list.addEntries({"x", "a", "b", "c", "d", "e"});
        list.entries()->move(0, 5);
        CloseGuard guard([] {});
        const HeldOpen held(guard);
        Walk walk(held, &list, Walk::Order::FromEnd);
        QStringList seen;
        for (int row = walk.next(); row >= 0; row = walk.next()) {
            seen << list.text(row);
            walk.markCurrent();
            if (list.text(row) == QStringLiteral("d"))
                keepEntries(&list, {false, true, false, true, true, true});
        }
        QCOMPARE(seen, (QStringList{"x", "e", "d", "b"}));
        QStringList marked;
        for (EntryId id : walk.marked())
            marked << list.text(list.entries()->rowOf(id));
        marked.sort();
        QCOMPARE(marked, (QStringList{"b", "d", "e", "x"}));
    }

    // The selection as a walk sees it follows every change, added entries included, whether
    // the list's identities lie close together or are spread wide by entries kept from long ago.
    void selectedEntriesFollowTheSelection_data()
    {
        QTest::addColumn<int>("churned");
        QTest::newRow("identities close together") << 0;
        QTest::newRow("identities spread wide") << 6000;
    }

    void selectedEntriesFollowTheSelection()
    {
        QFETCH(int, churned);
        EntryList list;
        list.addEntries({"old"});
        list.addEntries(QStringList(churned, QStringLiteral("gone")));
        list.addEntries({"a", "b", "c", "d"});
        QList<bool> keep(list.count(), true);
        for (int row = 1; row <= churned; ++row)
            keep[row] = false;
        keepEntries(&list, keep);
        setSelectedFlags(&list, {true, false, true, true, false});
        const SelectedEntries selected(&list);
        list.addEntries({"added"});
        QItemSelectionModel *model = list.selectionModel();
        model->select(list.model()->index(3, 0), QItemSelectionModel::Deselect);
        model->select(list.model()->index(5, 0), QItemSelectionModel::Select);
        for (int row = 0; row < list.count(); ++row)
            QCOMPARE(selected.containsRow(row), model->isRowSelected(row));
        QVERIFY(selected.containsRow(5) && !selected.containsRow(3));
    }
};

QTEST_MAIN(TstWalk)
#include "tst_walk.moc"
