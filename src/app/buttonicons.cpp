#include "app/buttonicons.h"

#include <QApplication>
#include <QIcon>
#include <QPushButton>
#include <QStyle>

void setButtonIcon(QPushButton *button, ButtonPicture picture)
{
    const char *theme = nullptr;
    QStyle::StandardPixmap fallback = QStyle::SP_FileIcon;
    switch (picture) {
    case ButtonPicture::OpenFolder: theme = "folder-open"; fallback = QStyle::SP_DirOpenIcon; break;
    case ButtonPicture::Find: theme = "edit-find"; fallback = QStyle::SP_FileDialogContentsView; break;
    case ButtonPicture::Deduplicate: theme = "edit-select-all"; fallback = QStyle::SP_FileDialogDetailedView; break;
    case ButtonPicture::DropMissing: theme = "dialog-error"; fallback = QStyle::SP_MessageBoxCritical; break;
    case ButtonPicture::GetFolder: theme = "go-jump"; fallback = QStyle::SP_DirLinkIcon; break;
    }
    button->setIcon(QIcon::fromTheme(QLatin1String(theme), button->style()->standardIcon(fallback)));
}
