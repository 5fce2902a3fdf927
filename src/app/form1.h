#pragma once

#include <QMainWindow>
#include <QPointer>
#include <QString>

#include "platform/dialogs.h"
#include "walk/displayrate.h"
#include "walk/walk.h"

class QAction;
class QComboBox;
class QLabel;
class QLineEdit;
class EntryList;
class QMenu;
class QMimeData;
class QProgressBar;
class QPushButton;
class QTreeView;

class Desktop;
class RenamePreview;
class Form3;
class Form5;
class HistoryWindow;

// The main window. Controls, kept values and handlers are listed in the order of the window's
// control table; each handler is defined in the folder of its subsystem (rename/, browse/, list/,
// fileops/, tools/), the window itself and its shared procedures in app/.
class Form1 : public QMainWindow {
    Q_OBJECT

public:
    // appDir is the executable's folder in the program: FilePath.ini is kept there when it can
    // be written, and a first start shows it.
    Form1(Dialogs &dialogs, Desktop &desktop, const QString &appDir, QWidget *parent = nullptr);
    ~Form1() override;

    // ---- Controls, in the order of the control table ----
    QPushButton *Command3 = nullptr;   // 反选
    QPushButton *Command2 = nullptr;   // 开始命名
    QPushButton *Command1 = nullptr;   // 删除文件
    QPushButton *Command8 = nullptr;   // 刷新
    QProgressBar *ProgressBar1 = nullptr;
    QLabel *Label6 = nullptr;
    QLineEdit *Text4 = nullptr;        // new base name
    QLabel *Label7 = nullptr;
    QLineEdit *Text2 = nullptr;        // start value
    QComboBox *Drive1 = nullptr;       // mounted volumes
    QTreeView *Dir1 = nullptr;         // folder tree
    QLabel *Label8 = nullptr;
    QLineEdit *Text3 = nullptr;        // step
    QLabel *Label3 = nullptr;
    QLineEdit *Text6 = nullptr;        // new extension
    QLabel *Label1 = nullptr;
    QPushButton *Command6 = nullptr;   // 移除文件
    QPushButton *Command10 = nullptr;  // 清空
    QPushButton *Command9 = nullptr;   // 打开所在文件夹
    QPushButton *Command11 = nullptr;  // 移项
    QPushButton *Command12 = nullptr;  // 查找
    QPushButton *Command13 = nullptr;  // 去重
    QPushButton *Command14 = nullptr;  // 删除错误文件
    QPushButton *Command15 = nullptr;  // 获取文件夹
    EntryList *List1 = nullptr;        // the rename list
    QPushButton *Command7 = nullptr;   // 加入列表
    QLabel *Label9 = nullptr;
    QLineEdit *Text5 = nullptr;        // file-name pattern of the pane
    EntryList *File1 = nullptr;        // the file pane

    // ---- Menus ----
    QMenu *mnFile = nullptr;
    QAction *mnOpen = nullptr;
    QAction *mnMoveTo = nullptr;
    QAction *mnCopyTo = nullptr;
    QAction *mnCopyList = nullptr;
    QAction *mnPasteList = nullptr;
    QAction *mnUndo = nullptr;         // 撤销上次命名
    QAction *mnHistory = nullptr;      // 命名历史...
    QMenu *mnTools = nullptr;
    QAction *mnCloseScreen = nullptr;
    QAction *mnCloseScreenMin = nullptr;
    QAction *mnVarrowSoft = nullptr;
    QMenu *mnhelp = nullptr;
    QAction *mnvisithomepage = nullptr;
    QAction *mnTuijian = nullptr;
    QAction *mnabout = nullptr;

    // ---- Kept values ----
    QString IniPath;             // the settings file in use, beside appDir or in ~/.config
    qint16 ActiveList = 2;       // 1 = List1, 2 = File1
    bool List1AllSel = false;
    bool File1AllSel = false;
    QString CurrentFolder;       // the pane's folder, always ending in one separator

    // ---- Start-up and closing (app/) ----
    void Form_Load();
    void GetAddPath();
    void Form_QueryUnload();

    // ---- Handlers, in the order of the control table ----
    void Command3_Click();                     // list/selection.cpp
    void Command2_Click();                     // rename/batchrename.cpp
    void Command1_Click();                     // fileops/delete.cpp
    void Command8_Click();                     // browse/panes.cpp
    void Drive1_Change();                      // browse/panes.cpp
    void Dir1_Change();                        // browse/panes.cpp
    void Command6_Click();                     // list/prune.cpp
    void Command10_Click();                    // list/prune.cpp
    void Command9_Click();                     // browse/handoff.cpp
    void Command11_Click();                    // list/selection.cpp
    void Command12_Click();                    // list/find.cpp
    void Command13_Click();                    // list/prune.cpp
    void Command14_Click();                    // list/prune.cpp
    void Command15_Click();                    // browse/handoff.cpp
    void List1_OLEDragDrop(const QMimeData *data); // list/adding.cpp
    static bool List1_AcceptsDrop(const QMimeData *data); // list/adding.cpp
    void List1_Click();                        // list/adding.cpp
    void List1_GotFocus();                     // list/adding.cpp
    void Command7_Click();                     // list/adding.cpp
    void Text5_KeyPress(int keyAscii);         // browse/panes.cpp
    void File1_Click();                        // browse/panes.cpp
    void File1_GotFocus();                     // browse/panes.cpp

    // ---- Menu handlers ----
    void mnOpen_Click();                       // browse/handoff.cpp
    void mnMoveTo_Click();                     // fileops/moveto.cpp
    void mnCopyTo_Click();                     // fileops/moveto.cpp
    void mnCopyList_Click();                   // fileops/clipboard.cpp
    void mnPasteList_Click();                  // fileops/clipboard.cpp
    void mnUndo_Click();                       // rename/undocommand.cpp
    void mnHistory_Click();                    // rename/undocommand.cpp
    void mnCloseScreen_Click();                // tools/display.cpp
    void mnCloseScreenMin_Click();             // tools/display.cpp
    void mnVarrowSoft_Click();                 // tools/launcher.cpp
    void mnvisithomepage_Click();              // tools/help.cpp
    void mnTuijian_Click();                    // tools/help.cpp
    void mnabout_Click();                      // tools/help.cpp

    // ---- Shared procedures (app/busy.cpp, browse/) ----
    void ForbidCmd();
    void UnForbidCmd();
    // Takes any count: the file pane is not limited to the rename list's 32767 entries.
    void ShowProgressBar(int count);
    void ShowProgress();
    void UnShowProgressBar();
    qint16 GetSelCounts() const;
    void PanDuanList();
    bool OpenFolderAndSetFileFocus(const QString &path);  // browse/handoff.cpp
    QString BrowseForFolder(const QString &prompt);        // browse/handoff.cpp

    // ---- Progress display: maximum and position as the commands keep them ----
    float progressMaximum() const { return progressMax_; }
    float progressPosition() const { return progressPos_; }
    void setProgressMaximum(float max);
    void setProgressPosition(float pos);

    // ---- The folder panes (browse/panes.cpp) ----
    // Sets the drive list or the folder tree from code; the change handler has run on return.
    void setDrive1(const QString &volumeRoot);
    void setDir1(const QString &folder);
    QString dir1Path() const { return dir1Path_; }
    QString file1Pattern() const { return file1Pattern_; }
    void refreshFile1();                     // re-read the pane from the disk
    void showCurrentFolderInTree();

    // Message box with the program's conventions (the application's title unless given).
    // While a box waits for the user the window is held open: a close asked for meanwhile
    // answers the box as its Escape key would and closes the window once the command is over.
    Dialogs::Answer MsgBox(const QString &text, const QString &title = QString(),
                           Dialogs::Buttons buttons = Dialogs::Buttons::Ok,
                           Dialogs::Icon icon = Dialogs::Icon::None);
    // The one-line prompt, held open the same way; the empty text on Cancel.
    QString InputBox(const QString &prompt, const QString &title);

    // Every command that yields or waits on a box holds the window open while it runs
    // (HeldOpen), and walks its list through a Walk made with it.
    CloseGuard &closeGuard() { return closeGuard_; }
    // The progress bar's step, for walks that advance it once per entry.
    std::function<void()> progressStep() { return [this] { ShowProgress(); }; }

    // The new names beside the selected entries and the run's outcome foreseen (rename/).
    RenamePreview *renamePreview() const { return preview_; }

    // ---- Taking batches back (rename/undocommand.cpp) ----
    // Takes back the batch of the journal at the path, after asking.
    void undoBatch(const QString &journalPath);
    // A journal was written or changed: an open history shows it.
    void journalsChanged();

    Dialogs &dialogs() { return dialogs_; }
    Desktop &desktop() { return desktop_; }

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void createControls();
    void createMenus();
    void connectControls();
    void layoutControls();
    void updateProgressDisplay();

    Dialogs &dialogs_;
    Desktop &desktop_;
    QString appDir_;
    QWidget *client_ = nullptr;
    QList<QObject *> busySet_;

    float progressMax_ = 100.0f;
    float progressPos_ = 0.0f;

    // ---- Folder panes state (browse/) ----
    class FolderTreeModel *dirModel_ = nullptr;
    QStringList volumes_;
    QString dir1Path_;
    QString file1Pattern_ = QStringLiteral("*.*");
    bool settingPanes_ = false;

    // Held by commands while they run; see closeGuard().
    CloseGuard closeGuard_{[this] { close(); }};
    // The control that had the keyboard focus when the commands were locked, to have it back
    // when they are unlocked.
    QPointer<QWidget> focusBeforeLock_;

    // ---- Rename state (rename/) ----
    RenamePreview *preview_ = nullptr;
    // Whether the drag over the rename list carries local paths (list/adding.cpp).
    bool dropAcceptable_ = false;
    // The list holds at most AppInfo::MaxListEntries entries; says how many were not added.
    void listFullMessage(qsizetype leftOut);
    // When the progress bar last moved (busy.cpp). A bar that only grows reads as smooth at
    // 20 steps a second; each step repaints it whole, which at the screen's own rate cost a
    // long walk half as much as its yields.
    DisplayRate progressRate_{50};
    QPointer<HistoryWindow> history_;

    // ---- List state (list/) ----
    QPointer<QWidget> Form2_;   // the find dialog (list/form2.h)

    // ---- File operations state (fileops/) ----

    // ---- Tools state (tools/) ----
    QPointer<Form3> Form3_;
    QPointer<Form5> Form5_;
};
