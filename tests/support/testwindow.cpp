#include "testwindow.h"

#include <QDropEvent>

#include <algorithm>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/filenames.h"
#include "walk/listedits.h"

TestWindow::TestWindow(const QString &savedFolder, const QString &stateHome)
    : stateHome_(stateHome.isEmpty() ? state.path() : stateHome)
{
    // No test writes the user's own state folder.
    qputenv("XDG_STATE_HOME", QFile::encodeName(stateHome_));
    if (!savedFolder.isNull()) {
        QFile ini(iniPath());
        if (ini.open(QIODevice::WriteOnly))
            ini.write("[path]\nvalue=" + savedFolder.toUtf8() + "\n");
    }
    form = std::make_unique<Form1>(dialogs, desktop, app.path());
}

bool TestWindow::showActive()
{
    form->show();
    form->activateWindow();
    return QTest::qWaitForWindowActive(form.get());
}

TestFolder::TestFolder(const QStringList &files)
{
    for (const QString &name : files)
        makeFile(path(name), name.toUtf8());
}

QStringList TestFolder::paths(QStringList names) const
{
    for (QString &name : names)
        name = path(name);
    return names;
}

void FolderWindow::list(const QStringList &names)
{
    setEntries(form->List1, paths(names));
    form->List1->selectAll();
}

void FolderWindow::fields(const QStringList &f)
{
    form->Text4->setText(f.value(0));
    form->Text2->setText(f.value(1));
    form->Text3->setText(f.value(2));
    form->Text6->setText(f.value(3));
}

DropResult dropOn(QWidget *target, const QMimeData *data, Qt::DropActions offered, Qt::KeyboardModifiers keys)
{
    const QPoint at = target->rect().center();
    QDragEnterEvent enter(at, offered, data, Qt::LeftButton, keys);
    QCoreApplication::sendEvent(target, &enter);
    QDropEvent drop(QPointF(at), offered, data, Qt::LeftButton, keys);
    QCoreApplication::sendEvent(target, &drop);
    return {enter.isAccepted(), drop.isAccepted(), drop.proposedAction(), drop.dropAction()};
}

QString makeFile(const QString &path, const QByteArray &content)
{
    // By the path's exact bytes, so that folders and files may have names that are not UTF-8.
    const QByteArray bytes = encodeFileName(path);
    for (qsizetype slash = bytes.indexOf('/', 1); slash > 0; slash = bytes.indexOf('/', slash + 1))
        ::mkdir(bytes.left(slash).constData(), 0755);
    const int fd = ::open(bytes.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd >= 0) {
        [[maybe_unused]] const ssize_t written = ::write(fd, content.constData(), size_t(content.size()));
        ::close(fd);
    }
    return path;
}

QStringList entries(const EntryList *list)
{
    return entryTexts(list);
}

void setEntries(EntryList *list, const QStringList &texts, const QList<int> &selected)
{
    list->clear();
    list->addEntries(texts);
    QList<bool> flags(texts.size(), false);
    for (int row : selected)
        flags[row] = true;
    setSelectedFlags(list, flags);
}

void selectRow(EntryList *list, int row, bool selected)
{
    list->selectionModel()->select(list->model()->index(row, 0), selected ? QItemSelectionModel::Select
                                                                           : QItemSelectionModel::Deselect);
}

QList<int> selectedRows(const EntryList *list)
{
    QList<int> rows;
    for (int i = 0; i < list->count(); ++i)
        if (list->isSelected(i))
            rows << i;
    return rows;
}

QByteArray contentOf(const QString &path)
{
    // By the path's exact bytes: QFile would read another file for a name that is not UTF-8.
    const int fd = ::open(encodeFileName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return QByteArray("<missing>");
    QFile f;
    if (!f.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return QByteArray("<missing>");
    }
    return f.readAll();
}

QStringList filesIn(const QString &folder)
{
    return QDir(folder).entryList(QDir::Files, QDir::Name);
}

QString makeRawFile(const QString &folder, const QByteArray &name, const QByteArray &content)
{
    return makeFile(folder + u'/' + decodeFileName(name), content);
}

QList<QByteArray> rawNamesIn(const QString &folder)
{
    QList<QByteArray> names;
    if (DIR *dir = ::opendir(encodeFileName(folder).constData())) {
        while (const dirent *e = ::readdir(dir)) {
            const QByteArray name(e->d_name);
            if (name != "." && name != "..")
                names << name;
        }
        ::closedir(dir);
    }
    std::sort(names.begin(), names.end());
    return names;
}

InFolder::InFolder(const QString &folder) : old(QDir::currentPath())
{
    [[maybe_unused]] const int entered = ::chdir(encodeFileName(folder).constData());
}

InFolder::~InFolder()
{
    QDir::setCurrent(old);
}
