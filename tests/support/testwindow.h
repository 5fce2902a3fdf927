#pragma once

// The window's controls, Qt Test and the clipboard: what a test or a benchmark reaches.
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>
#include "tempfolder.h"
#include <QTest>
#include <QTimer>
#include <QTreeView>
#include <QUrl>

#include <memory>

#include "app/form1.h"
#include "walk/entrylist.h"
#include "fakedesktop.h"
#include "fakedialogs.h"

// A main window as the program makes it, with the recording fakes at the desktop seam and
// its own application folder (where FilePath.ini lives) and state folder (where the undo
// journals go) in temporary directories.
struct TestWindow {
    // savedFolder, when given, is written to FilePath.ini before the window is made; the
    // window shares the state folder of stateHome when given (a window after a restart).
    explicit TestWindow(const QString &savedFolder = QString(), const QString &stateHome = QString());

    Form1 *operator->() const { return form.get(); }
    Form1 &operator*() const { return *form; }
    QString appDir() const { return app.path(); }
    QString iniPath() const { return app.path() + QStringLiteral("/FilePath.ini"); }
    // $XDG_STATE_HOME for this window, and the folder of its journals in it.
    QString stateHome() const { return stateHome_; }
    QString journalFolder() const { return stateHome_ + QStringLiteral("/quillmere"); }
    // Shows the window and waits until it is active, so focus changes are delivered.
    bool showActive();

    FakeDialogs dialogs;
    FakeDesktop desktop;
    TempFolder app;
    TempFolder state;
    QString stateHome_;
    std::unique_ptr<Form1> form;
};

// A folder of files, each holding its own name (the subfolders a name asks for made too).
struct TestFolder {
    explicit TestFolder(const QStringList &files = {});
    QString path(const QString &name) const { return dir.path() + u'/' + name; }
    QStringList paths(QStringList names) const;
    TempFolder dir;
};

// A window whose panes show a test folder.
struct FolderWindow : TestFolder, TestWindow {
    explicit FolderWindow(const QStringList &files = {}) : TestFolder(files), TestWindow(dir.path()) {}
    // Puts these files of the folder in the rename list, all selected.
    void list(const QStringList &names);
    // The rename's base name, start, step and extension.
    void fields(const QStringList &baseStartStepExtension);
};

// Delivers a drag over a widget and then the drop, as the window system does.
struct DropResult {
    bool entered;                 // the drag was accepted
    bool dropped;                 // the drop was accepted
    Qt::DropAction proposed;      // what the keys held asked for
    Qt::DropAction action;        // what the target took it as
};
DropResult dropOn(QWidget *target, const QMimeData *data, Qt::DropActions offered = Qt::CopyAction,
                  Qt::KeyboardModifiers keys = Qt::NoModifier);

// The texts of a list's entries, top to bottom.
QStringList entries(const EntryList *list);
// Replaces a list's entries; the rows in `selected` are selected.
void setEntries(EntryList *list, const QStringList &texts, const QList<int> &selected = {});
// Selects or deselects one entry, leaving the others as they are.
void selectRow(EntryList *list, int row, bool selected = true);
// The selected rows of a list, top to bottom.
QList<int> selectedRows(const EntryList *list);

// Makes a folder the process's working folder (entered by its exact bytes) while it lives.
struct InFolder {
    explicit InFolder(const QString &folder);
    ~InFolder();
    QString old;
};

// Writes a file (parent folders made as needed) and returns its path; any name is taken
// exactly, also one that is not UTF-8.
QString makeFile(const QString &path, const QByteArray &content = QByteArray("x"));
// A file's bytes, or "<missing>".
QByteArray contentOf(const QString &path);
// The names of the files (not folders) in a folder, by name.
QStringList filesIn(const QString &folder);

// Writes a file whose name is the given bytes, as a camera or an archive from another system
// leaves it, and returns its path as the program carries it.
QString makeRawFile(const QString &folder, const QByteArray &name, const QByteArray &content = QByteArray("x"));
// The names of everything in a folder as the bytes they are, sorted; "." and ".." left out.
QList<QByteArray> rawNamesIn(const QString &folder);
