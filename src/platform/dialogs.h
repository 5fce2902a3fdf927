#pragma once

#include <QString>

class QWidget;

// Every modal box, prompt and picker of the program goes through this seam, so that
// tests can record the exact texts and answer from a script.
class Dialogs {
public:
    enum class Buttons { Ok, YesNo };
    enum class Icon { None, Information, Question, Warning, Critical };
    enum class Answer { Ok, Yes, No };

    virtual ~Dialogs() = default;

    virtual Answer message(QWidget *parent, const QString &text, const QString &title,
                           Buttons buttons, Icon icon) = 0;
    // One-line prompt; the empty text when the user cancels.
    virtual QString input(QWidget *parent, const QString &prompt, const QString &title) = 0;
    // Folder picker opened on startFolder; the empty text when the user cancels.
    virtual QString pickFolder(QWidget *parent, const QString &prompt, const QString &startFolder) = 0;
};

// The real boxes: QMessageBox, QInputDialog, QFileDialog.
class QtDialogs final : public Dialogs {
public:
    Answer message(QWidget *parent, const QString &text, const QString &title,
                   Buttons buttons, Icon icon) override;
    QString input(QWidget *parent, const QString &prompt, const QString &title) override;
    QString pickFolder(QWidget *parent, const QString &prompt, const QString &startFolder) override;
};
