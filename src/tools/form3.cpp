#include "tools/form3.h"

#include <QDir>
#include <QFileInfo>
#include <QVBoxLayout>

#include "app/appinfo.h"
#include "walk/entrylist.h"
#include "platform/desktop.h"
#include "platform/dialogs.h"

namespace {

const QString kCaption = QStringLiteral("Varrow软件-同一文件夹中");
const QStringList kPatterns = {QStringLiteral("*.exe"), QStringLiteral("*.ink")};

// What the launcher offers: the names the patterns match and, since programs here carry no
// extension, every plain file with an execute bit. QDir leaves out folders and hidden names.
QStringList programsIn(const QString &folder)
{
    QStringList names;
    const QFileInfoList files = QDir(folder).entryInfoList(
        QDir::Files | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
    constexpr auto anyExec = QFileDevice::ExeOwner | QFileDevice::ExeGroup | QFileDevice::ExeOther;
    for (const QFileInfo &f : files) {
        if (QDir::match(kPatterns, f.fileName()) || (f.permissions() & anyExec))
            names << f.fileName();
    }
    return names;
}

} // namespace

Form3::Form3(Dialogs &dialogs, Desktop &desktop)
    : QWidget(nullptr), dialogs_(dialogs), desktop_(desktop), folder_(QDir::currentPath())
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
    const QString path = QDir(folder_).filePath(File1->text(current));
    if (!desktop_.startProgram(path))
        dialogs_.message(this, QStringLiteral("无法启动：") + path, AppInfo::Title,
                         Dialogs::Buttons::Ok, Dialogs::Icon::None);
}
