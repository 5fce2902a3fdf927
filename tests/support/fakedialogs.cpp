#include "fakedialogs.h"

#include <QTest>

Dialogs::Answer FakeDialogs::message(QWidget *, const QString &text, const QString &title,
                                     Buttons buttons, Icon icon)
{
    const Box box{text, title, buttons, icon};
    boxes << box;
    if (onMessage)
        onMessage(box);
    if (buttons == Buttons::Ok)
        return Answer::Ok;
    return answers.isEmpty() ? defaultYesNo : answers.takeFirst();
}

QString FakeDialogs::input(QWidget *, const QString &prompt, const QString &title)
{
    prompts << Box{prompt, title, Buttons::Ok, Icon::None};
    return inputAnswers.isEmpty() ? QString() : inputAnswers.takeFirst();
}

QString FakeDialogs::pickFolder(QWidget *, const QString &prompt, const QString &startFolder)
{
    pickerPrompts << prompt;
    pickerFolders << startFolder;
    return folderAnswers.isEmpty() ? QString() : folderAnswers.takeFirst();
}

QStringList FakeDialogs::texts() const
{
    QStringList t;
    for (const Box &b : boxes)
        t << b.text;
    return t;
}

void FakeDialogs::clear()
{
    boxes.clear();
    prompts.clear();
    pickerPrompts.clear();
    pickerFolders.clear();
}

char *toString(const FakeDialogs::Box &box)
{
    return QTest::toString(QStringLiteral("{%1 | %2 | buttons %3 | icon %4}")
                               .arg(box.text, box.title)
                               .arg(int(box.buttons))
                               .arg(int(box.icon)));
}
