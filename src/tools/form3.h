#pragma once

#include <QString>
#include <QWidget>

class Desktop;
class Dialogs;
class EntryList;

// The launcher of the programs kept in the folder the program was started from. A window of
// its own, without an owner; it reads the folder once, when made, and deletes itself when
// closed.
class Form3 : public QWidget {
    Q_OBJECT

public:
    Form3(Dialogs &dialogs, Desktop &desktop);

    EntryList *File1 = nullptr;
    QString folder() const { return folder_; }

    // Starts the current entry; without one nothing happens.
    void File1_DblClick();

private:
    Dialogs &dialogs_;
    Desktop &desktop_;
    QString folder_;
};
