#include "platform/dialogs.h"

#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>

#include "platform/filenames.h"

Dialogs::Answer QtDialogs::message(QWidget *parent, const QString &text, const QString &title,
                                   Buttons buttons, Icon icon)
{
    QMessageBox box(parent);
    box.setText(text);
    box.setWindowTitle(title);
    switch (icon) {
    case Icon::None: box.setIcon(QMessageBox::NoIcon); break;
    case Icon::Information: box.setIcon(QMessageBox::Information); break;
    case Icon::Question: box.setIcon(QMessageBox::Question); break;
    case Icon::Warning: box.setIcon(QMessageBox::Warning); break;
    case Icon::Critical: box.setIcon(QMessageBox::Critical); break;
    }
    if (buttons == Buttons::YesNo) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::No);
        return box.exec() == QMessageBox::Yes ? Answer::Yes : Answer::No;
    }
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
    return Answer::Ok;
}

QString QtDialogs::input(QWidget *parent, const QString &prompt, const QString &title)
{
    bool ok = false;
    const QString answer = QInputDialog::getText(parent, title, prompt, QLineEdit::Normal, QString(), &ok);
    return ok ? answer : QString();
}

QString QtDialogs::pickFolder(QWidget *parent, const QString &prompt, const QString &startFolder)
{
    // The desktop's own picker (a portal or the platform theme's) is used where there is one;
    // it shows the prompt as its title. Qt's own picker also shows it above the folder tree,
    // where the user reads it, in place of "look in". The answer is taken as a URL, not as
    // text: a desktop's own picker hands over the folder's exact bytes that way. Qt's built-in
    // picker reads names as Qt decodes them, so a folder whose name is not UTF-8 comes back
    // with U+FFFD in place of its stray bytes: a path that is not there (unless a folder
    // really has that name), which the move or copy then reports for each file.
    QFileDialog picker(parent, prompt);
    picker.setDirectoryUrl(fileUrlOf(startFolder));
    picker.setFileMode(QFileDialog::Directory);
    picker.setOption(QFileDialog::ShowDirsOnly);
    picker.setSupportedSchemes({QStringLiteral("file")});
    picker.setLabelText(QFileDialog::LookIn, prompt);
    if (picker.exec() != QDialog::Accepted || picker.selectedUrls().isEmpty())
        return QString();
    return pathFromFileUrl(picker.selectedUrls().constFirst());
}
