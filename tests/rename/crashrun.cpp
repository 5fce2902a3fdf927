// Renames every file of a folder with the real window, slowly, for a test to kill it in the
// middle: crashrun <folder> <application folder>. The journal goes to $XDG_STATE_HOME.
#include <QApplication>
#include <QThread>
#include <QTimer>

#include "app/form1.h"
#include "fakedesktop.h"
#include "fakedialogs.h"
#include "walk/entrylist.h"
#include "platform/direntries.h"

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    if (argc < 3)
        return 2;
    FakeDialogs dialogs;
    FakeDesktop desktop;
    Form1 w(dialogs, desktop, QString::fromLocal8Bit(argv[2]));
    const QString folder = QString::fromLocal8Bit(argv[1]);
    QStringList names = readVisibleNames(folder, EntryKind::File);
    names.sort();
    for (const QString &n : std::as_const(names))
        w.List1->addEntry(folder + u'/' + n);
    w.List1->selectAll();
    // Every yield of the run takes a while, so that the test catches it halfway.
    QTimer slow;
    QObject::connect(&slow, &QTimer::timeout, [] { QThread::msleep(5); });
    slow.start(0);
    w.Command2_Click();
    return 0;
}
