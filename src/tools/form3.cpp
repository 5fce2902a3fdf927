#include "tools/form3.h"

#include <QVBoxLayout>

#include "app/appinfo.h"
#include "browse/filelisting.h"
#include "browse/patterns.h"
#include "walk/entrylist.h"
#include "platform/desktop.h"
#include "platform/dialogs.h"
#include "platform/direntries.h"
#include "platform/filelookup.h"
#include "platform/filenames.h"

namespace {

const QString kCaption = QStringLiteral("Varrow软件-同一文件夹中");
const QString kPatterns = QStringLiteral("*.exe;*.ink");

QString pathIn(const QString &folder, const QString &name)
{
    return folder.endsWith(u'/') ? folder + name : folder + u'/' + name;
}

// What the launcher offers: the names the patterns match and, since programs here carry no
// extension, every plain file with an execute bit; no folders and no hidden names. The names
// are read as bytes, like the file pane's, so a program whose name is not UTF-8 is listed
// and started as it is, and they come in the file pane's order.
QStringList programsIn(const QString &folder)
{
    const NamePatterns patterns(kPatterns);
    QStringList names = readVisibleNames(folder, EntryKind::File);
    names.removeIf([&](const QString &name) {
        return !patterns.matches(name) && !isExecutableFile(pathIn(folder, name));
    });
    sortNaturally(names);
    return names;
}

} // namespace

Form3::Form3(Dialogs &dialogs, Desktop &desktop)
    : QWidget(nullptr), dialogs_(dialogs), desktop_(desktop), folder_(workingFolder())
{
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(kCaption);

    File1 = new EntryList(this);
    File1->setAccessibleName(kCaption);
    File1->addEntries(programsIn(folder_));
    connect(File1, &EntryList::doubleClicked, this, &Form3::File1_DblClick);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(File1);
    resize(4680 / 15, 2955 / 15);
}

void Form3::File1_DblClick()
{
    const int current = File1->currentRow();
    if (current < 0)
        return;
    const QString path = pathIn(folder_, File1->text(current));
    if (!desktop_.startProgram(path))
        dialogs_.message(this, QStringLiteral("无法启动：") + visibleFileName(path), AppInfo::Title,
                         Dialogs::Buttons::Ok, Dialogs::Icon::None);
}
