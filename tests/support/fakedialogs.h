#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

#include "platform/dialogs.h"

// Records every box, prompt and picker and answers from a script; what is not scripted is
// answered with the defaults below.
class FakeDialogs final : public Dialogs {
public:
    struct Box {
        QString text;
        QString title;
        Buttons buttons = Buttons::Ok;
        Icon icon = Icon::None;
        bool operator==(const Box &o) const
        {
            return text == o.text && title == o.title && buttons == o.buttons && icon == o.icon;
        }
    };

    Answer message(QWidget *parent, const QString &text, const QString &title, Buttons buttons,
                   Icon icon) override;
    QString input(QWidget *parent, const QString &prompt, const QString &title) override;
    QString pickFolder(QWidget *parent, const QString &prompt, const QString &startFolder) override;

    QList<Box> boxes;            // every message box, in order
    QList<Box> prompts;          // every input prompt (text = prompt)
    QStringList pickerPrompts;   // every folder picker
    QStringList pickerFolders;   // the folder each picker opened on

    QList<Answer> answers;       // answers for Yes/No boxes, first to last
    QStringList inputAnswers;    // answers for prompts
    QStringList folderAnswers;   // answers for pickers
    Answer defaultYesNo = Answer::Yes;

    // Runs while a box is "open", for tests that act while the program waits on the user.
    std::function<void(const Box &)> onMessage;

    QStringList texts() const;   // the texts of the boxes shown
    void clear();
};

// Lets QCOMPARE show a box that differs.
char *toString(const FakeDialogs::Box &box);
