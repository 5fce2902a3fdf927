#pragma once

#include <QWidget>

class QCheckBox;
class QLabel;
class QLineEdit;
class EntryList;
class QPushButton;
class Form1;

// The find dialog: marks (selects) the entries of the rename list and of the file pane that
// contain a text. Modeless and owned by the main window; closing it discards it.
class Form2 final : public QWidget {
    Q_OBJECT

public:
    explicit Form2(Form1 *owner);

    QLineEdit *Text1 = nullptr;     // the search text
    QPushButton *Command1 = nullptr;
    QCheckBox *Check1 = nullptr;    // 文件列表: the rename list
    QCheckBox *Check2 = nullptr;    // 预览列表: the file pane
    QLabel *Label1 = nullptr;       // the result line

    void Command1_Click();
    void Text1_KeyPress(int keyAscii);

private:
    Form1 *owner_;
};

class HeldOpen;

// Selects exactly the entries of list whose text contains text (code unit for code unit,
// case counting), after one yield and one progress step per entry; returns how many. Nothing
// is marked when the window is closing.
int markMatches(Form1 &window, const HeldOpen &held, EntryList *list, const QString &text);
