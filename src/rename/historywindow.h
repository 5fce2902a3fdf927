#pragma once

#include <QDateTime>
#include <QWidget>

class Form1;
class QPushButton;
class QTreeWidget;

// The journaled batches, newest first: when, what kind, how many files, and whether they
// have been taken back; a journal that cannot be read is listed with the reason. Any batch
// not yet taken back can be, as far as its files are still where it left them.
class HistoryWindow final : public QWidget {
    Q_OBJECT

public:
    explicit HistoryWindow(Form1 *form);

    // Reads the journals again.
    void reload();
    QTreeWidget *list() const { return list_; }
    QPushButton *undoButton() const { return undoButton_; }

    // A batch's time as the history and the questions show it, in local time.
    static QString timeText(const QDateTime &utc);

private:
    void updateUndoButton();
    void undoCurrent();

    Form1 *form_;
    QTreeWidget *list_ = nullptr;
    QPushButton *undoButton_ = nullptr;
    QPushButton *closeButton_ = nullptr;
};
