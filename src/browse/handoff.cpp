// The folder picker and the hand-off of paths to the file manager.
#include "app/form1.h"

void Form1::Command15_Click() {}
void Form1::Command9_Click() {}
void Form1::mnOpen_Click() {}

bool Form1::OpenFolderAndSetFileFocus(const QString &)
{
    return false;
}

QString Form1::BrowseForFolder(const QString &)
{
    return QString();
}
