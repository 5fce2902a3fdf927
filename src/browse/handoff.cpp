// The folder picker and the hand-off of paths to the file manager.
#include "app/form1.h"

#include <QComboBox>

#include "app/pathpieces.h"
#include "browse/volumes.h"
#include "walk/entrylist.h"
#include "platform/desktop.h"
#include "platform/folderaccess.h"

#include <cerrno>

namespace {

// Only the space character is trimmed; tabs and other blanks belong to the name.
QString trimSpaces(const QString &s)
{
    qsizetype first = 0, last = s.size();
    while (first < last && s[first] == u' ')
        ++first;
    while (last > first && s[last - 1] == u' ')
        --last;
    return s.mid(first, last - first);
}

} // namespace

void Form1::Command15_Click()
{
    const int row = List1->currentRow();
    if (row < 0) {
        MsgBox(QStringLiteral("No list or not select!"));
        return;
    }
    const QString folder = GetDir(List1->text(row));
    // A vanished folder would leave the panes on a folder that is not there.
    const FsResult access = openFolderForListing(folder);
    if (folder.isEmpty() || !access.ok()) {
        const FsResult r = folder.isEmpty() ? FsResult::fromErrno(ENOENT) : access;
        MsgBox(QString::number(r.number) + u' ' + r.description);
        return;
    }
    setDir1(folder);
    // A drive change opens the volume's root; the folder just set must stay.
    const QSignalBlocker quiet(Drive1);
    setDrive1(volumeOf(dir1Path(), mountedVolumes()));
}

void Form1::Command9_Click()
{
    if (List1->count() == 0) {
        MsgBox(QStringLiteral("列表里没有项目！"));
        return;
    }
    const int row = List1->currentRow();
    if (row < 0) {
        MsgBox(QStringLiteral("没有选择文件！"));
        return;
    }
    OpenFolderAndSetFileFocus(List1->text(row));
}

void Form1::mnOpen_Click()
{
    if (ActiveList == 1) {
        const int row = List1->currentRow();
        if (row < 0) {
            MsgBox(QStringLiteral("No list or not select!"));
            return;
        }
        desktop_.openPath(List1->text(row));
    } else if (ActiveList == 2) {
        const int row = File1->currentRow();
        if (row < 0) {
            MsgBox(QStringLiteral("No file or not select!"));
            return;
        }
        desktop_.openPath(CurrentFolder + File1->text(row));
    }
}

bool Form1::OpenFolderAndSetFileFocus(const QString &path)
{
    const QString trimmed = trimSpaces(path);
    if (!FileExists(trimmed))
        return false;
    return desktop_.showItemInFileManager(trimmed);
}

QString Form1::BrowseForFolder(const QString &prompt)
{
    const HeldOpen held(closeGuard_);
    // The picker opens on the folder the user is looking at.
    QString folder = dialogs_.pickFolder(this, prompt, CurrentFolder);
    // Only the root keeps its separator at the end.
    while (folder.size() > 1 && folder.endsWith(u'/'))
        folder.chop(1);
    return folder;
}
