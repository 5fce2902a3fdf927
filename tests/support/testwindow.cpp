#include "testwindow.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>

#include "list/listedits.h"

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

QString makeFile(const QString &path, const QByteArray &content)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    if (f.open(QIODevice::WriteOnly))
        f.write(content);
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
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

QStringList filesIn(const QString &folder)
{
    return QDir(folder).entryList(QDir::Files, QDir::Name);
}
