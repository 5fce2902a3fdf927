// The drive list, the folder tree and the file pane, kept in step: drive → folder → files.
#include "app/form1.h"

#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QTreeView>

#include "browse/filelisting.h"
#include "browse/foldertree.h"
#include "browse/patterns.h"
#include "browse/volumes.h"
#include "walk/entrylist.h"
#include "platform/folderaccess.h"
#include "rename/renamepreview.h"

void Form1::Drive1_Change()
{
    const QString root = Drive1->currentText();
    const FsResult access = openFolderForListing(root);
    if (!access.ok()) {
        // The drive list keeps the user's choice; the panes keep the previous folder.
        MsgBox(QString::number(access.number) + QLatin1Char(' ') + access.description);
        return;
    }
    setDir1(root);
}

void Form1::Dir1_Change()
{
    CurrentFolder = dir1Path_;
    if (!CurrentFolder.endsWith(u'/'))
        CurrentFolder += u'/';
    refreshFile1();
}

void Form1::File1_Click()
{
    const int row = File1->currentRow();
    File1->setToolTip(row >= 0 ? QString::number(row) + u'.' + File1->text(row) : QString());
}

void Form1::File1_GotFocus()
{
    ActiveList = 2;
}

void Form1::Text5_KeyPress(int keyAscii)
{
    if (keyAscii != 13)
        return;
    file1Pattern_ = Text5->text();
    refreshFile1();
}

void Form1::Command8_Click()
{
    List1->viewport()->update();
    List1->setToolTip(QString());
    refreshFile1();
    File1->setToolTip(QString());
}

void Form1::setDrive1(const QString &volumeRoot)
{
    int index = Drive1->findText(volumeRoot);
    if (index < 0) {
        // Mounted since the list was made.
        volumes_ = mountedVolumes();
        if (!volumes_.contains(volumeRoot))
            volumes_ << volumeRoot;
        const QSignalBlocker quiet(Drive1);
        const QString shown = Drive1->currentText();
        Drive1->clear();
        Drive1->addItems(volumes_);
        Drive1->setCurrentIndex(Drive1->findText(shown));
        index = Drive1->findText(volumeRoot);
    }
    Drive1->setCurrentIndex(index);  // runs Drive1_Change when the drive changes
}

void Form1::setDir1(const QString &folder)
{
    const QString path = QDir::cleanPath(folder);
    {
        settingPanes_ = true;
        const QModelIndex index = dirModel_->index(path);
        Dir1->setCurrentIndex(index);
        showCurrentFolderInTree();
        settingPanes_ = false;
    }
    dir1Path_ = path;
    Dir1_Change();
}

void Form1::showCurrentFolderInTree()
{
    // The folder and the way to it are opened, so its subfolders are one click away.
    const QModelIndex current = Dir1->currentIndex();
    for (QModelIndex i = current; i.isValid(); i = i.parent())
        Dir1->expand(i);
    Dir1->scrollTo(current, QAbstractItemView::PositionAtCenter);
}

void Form1::refreshFile1()
{
    const QStringList names = listPaneFiles(CurrentFolder, NamePatterns(file1Pattern_));
    File1->replaceAll(names);
    // Every command that changes files ends here, and so does "刷新": the preview reads the
    // folders again.
    if (renamePreview())
        renamePreview()->foldersChanged();
}
