#include "testwindow.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QListWidget>
#include <QTest>

#include "list/listedits.h"

TestWindow::TestWindow(const QString &savedFolder)
{
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

QStringList entries(const QListWidget *list)
{
    return entryTexts(list);
}

void setEntries(QListWidget *list, const QStringList &texts, const QList<int> &selected)
{
    list->clear();
    list->addItems(texts);
    for (int row : selected)
        list->item(row)->setSelected(true);
}

QList<int> selectedRows(const QListWidget *list)
{
    QList<int> rows;
    for (int i = 0; i < list->count(); ++i)
        if (list->item(i)->isSelected())
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
