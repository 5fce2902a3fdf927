#include "app/form1.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMimeData>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>
#include <QStyle>
#include <QTreeView>

#include "app/appinfo.h"
#include "app/buttonicons.h"
#include "browse/foldertree.h"
#include "browse/volumes.h"
#include "walk/entrylist.h"
#include "platform/desktop.h"
#include "rename/renamepreview.h"

namespace {

// The window's arrangement is given in twips; at 96 dots per inch a pixel is 15 twips.
QRect twips(int left, int top, int width, int height)
{
    return QRect(left / 15, top / 15, width / 15, height / 15);
}

constexpr int kClientWidth = 11415 / 15;
constexpr int kClientHeight = 7875 / 15;

QPushButton *makeButton(QWidget *parent, const QString &caption, const QString &toolTip)
{
    auto *b = new QPushButton(caption, parent);
    b->setToolTip(toolTip);
    // Picture buttons are known to assistive technology by what their tool tip says.
    b->setAccessibleName(toolTip.isEmpty() ? caption : toolTip);
    b->setAutoDefault(false);
    return b;
}

QLineEdit *makeText(QWidget *parent, const QString &text, const QString &toolTip, const QString &label)
{
    auto *t = new QLineEdit(text, parent);
    t->setToolTip(toolTip);
    t->setAccessibleName(label);
    return t;
}

EntryList *makeList(QWidget *parent, const QString &label)
{
    auto *l = new EntryList(parent);
    l->setSelectionMode(QAbstractItemView::ExtendedSelection);
    l->setAccessibleName(label);
    return l;
}

} // namespace

Form1::Form1(Dialogs &dialogs, Desktop &desktop, const QString &appDir, QWidget *parent)
    : QMainWindow(parent), dialogs_(dialogs), desktop_(desktop), appDir_(appDir)
{
    setWindowTitle(AppInfo::WindowCaption);
    createControls();
    createMenus();
    connectControls();
    preview_ = new RenamePreview(*this);
    client_->setMinimumSize(kClientWidth, kClientHeight);
    // The status bar, with the rename preview's summary, adds to the window's height.
    resize(kClientWidth,
           kClientHeight + menuBar()->sizeHint().height() + statusBar()->sizeHint().height());
    layoutControls();
    Form_Load();
}

Form1::~Form1() = default;

void Form1::createControls()
{
    client_ = new QWidget(this);
    setCentralWidget(client_);
    client_->installEventFilter(this);
    // Keeps the keyboard focus while the commands are locked (see ForbidCmd); never reached
    // by Tab or a click.
    client_->setFocusPolicy(Qt::NoFocus);

    Command3 = makeButton(client_, QStringLiteral("反选"), QString());
    Command2 = makeButton(client_, QStringLiteral("开始命名"), QString());
    Command1 = makeButton(client_, QStringLiteral("×"), QStringLiteral("删除文件"));
    Command8 = makeButton(client_, QStringLiteral("*"), QStringLiteral("刷新"));
    ProgressBar1 = new QProgressBar(client_);
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setValue(0);
    // A bar without a figure beside it, which also spares each step the figure's layout.
    ProgressBar1->setTextVisible(false);
    ProgressBar1->setVisible(false);

    Label6 = new QLabel(QStringLiteral("新文件名"), client_);
    Text4 = makeText(client_, QStringLiteral("文件"), QStringLiteral("如果为空则使用源文件名(不含后缀)"),
                     Label6->text());
    Label7 = new QLabel(QStringLiteral("起始值"), client_);
    Text2 = makeText(client_, QStringLiteral("0"), QString(), Label7->text());
    Drive1 = new QComboBox(client_);
    volumes_ = mountedVolumes();
    Drive1->addItems(volumes_);
    Dir1 = new QTreeView(client_);
    Label8 = new QLabel(QStringLiteral("差值"), client_);
    Text3 = makeText(client_, QStringLiteral("1"), QString(), Label8->text());
    Label3 = new QLabel(QStringLiteral("新后缀"), client_);
    Text6 = makeText(client_, QString(), QStringLiteral("可选，为空则使用源文件后缀"), Label3->text());

    Label1 = new QLabel(QStringLiteral("文件列表"), client_);
    Command6 = makeButton(client_, QString(), QStringLiteral("移除文件"));
    Command10 = makeButton(client_, QString(), QStringLiteral("清空"));
    Command9 = makeButton(client_, QString(), QStringLiteral("打开所在文件夹"));
    Command11 = makeButton(client_, QStringLiteral("↑↓"), QStringLiteral("移项"));
    Command12 = makeButton(client_, QString(), QStringLiteral("查找"));
    Command13 = makeButton(client_, QString(), QStringLiteral("去重"));
    Command14 = makeButton(client_, QString(), QStringLiteral("删除错误文件"));
    Command15 = makeButton(client_, QString(), QStringLiteral("获取文件夹"));
    List1 = makeList(client_, Label1->text());
    List1->setToolTip(QStringLiteral("可直接拖放文件到列表。"));
    List1->setAcceptDrops(true);
    List1->viewport()->setAcceptDrops(true);
    List1->setDragDropMode(QAbstractItemView::DropOnly);
    List1->viewport()->installEventFilter(this);
    List1->installEventFilter(this);
    Command7 = makeButton(client_, QStringLiteral("←"), QStringLiteral("加入列表"));
    Label9 = new QLabel(QStringLiteral("过滤"), client_);
    Text5 = makeText(client_, QStringLiteral("*.*"), QStringLiteral("输入完成后按Enter键"), Label9->text());
    File1 = makeList(client_, QStringLiteral("预览列表"));
    File1->installEventFilter(this);
    File1->viewport()->installEventFilter(this);

    // The captions "⌒" and "◎" stand as the program gives them; the symbol-font captions
    // become pictures, whose meaning the tool tips carry.
    Command6->setText(QStringLiteral("⌒"));
    Command10->setText(QStringLiteral("◎"));
    setButtonIcon(Command9, ButtonPicture::OpenFolder);
    setButtonIcon(Command12, ButtonPicture::Find);
    setButtonIcon(Command13, ButtonPicture::Deduplicate);
    setButtonIcon(Command14, ButtonPicture::DropMissing);
    setButtonIcon(Command15, ButtonPicture::GetFolder);

    // The tree reads a folder when it is first opened and never watches it, so that the
    // files a batch command changes cost the tree nothing.
    dirModel_ = new FolderTreeModel(this);
    Dir1->setModel(dirModel_);
    Dir1->setHeaderHidden(true);
    Dir1->setUniformRowHeights(true);

    // The commands that a long file operation locks, in the order they are locked.
    busySet_ = {Text4, Text2, Text3, List1, Command6, Command7, File1, Command1, Command2,
                Command3, Command8, Command9, Command10, Text6, nullptr /* mnMoveTo */,
                nullptr /* mnCopyTo */, Command11, Command12, Command13, Command14, Command15,
                nullptr /* mnOpen */};
}

void Form1::createMenus()
{
    mnFile = menuBar()->addMenu(QStringLiteral("文件"));
    mnOpen = mnFile->addAction(QStringLiteral("打开"));
    mnMoveTo = mnFile->addAction(QStringLiteral("移动到..."));
    mnCopyTo = mnFile->addAction(QStringLiteral("复制到..."));
    mnCopyList = mnFile->addAction(QStringLiteral("复制列表"));
    mnPasteList = mnFile->addAction(QStringLiteral("粘贴列表"));
    mnUndo = mnFile->addAction(QStringLiteral("撤销上次命名"));
    mnUndo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    mnHistory = mnFile->addAction(QStringLiteral("命名历史..."));
    mnTools = menuBar()->addMenu(QStringLiteral("工具"));
    mnCloseScreen = mnTools->addAction(QStringLiteral("关闭显示屏"));
    mnCloseScreenMin = mnTools->addAction(QStringLiteral("关闭显示屏并最小化"));
    mnVarrowSoft = mnTools->addAction(QStringLiteral("Varrow软件"));
    mnhelp = menuBar()->addMenu(QStringLiteral("帮助"));
    mnvisithomepage = mnhelp->addAction(QStringLiteral("访问主页"));
    mnTuijian = mnhelp->addAction(QStringLiteral("作者推荐"));
    mnabout = mnhelp->addAction(QStringLiteral("关于"));

    busySet_[14] = mnMoveTo;
    busySet_[15] = mnCopyTo;
    busySet_[21] = mnOpen;
    // Taking a batch back while another runs would work on files the run is moving.
    busySet_.append(mnUndo);
}

void Form1::connectControls()
{
    connect(Command3, &QPushButton::clicked, this, &Form1::Command3_Click);
    connect(Command2, &QPushButton::clicked, this, &Form1::Command2_Click);
    connect(Command1, &QPushButton::clicked, this, &Form1::Command1_Click);
    connect(Command8, &QPushButton::clicked, this, &Form1::Command8_Click);
    connect(Drive1, &QComboBox::currentIndexChanged, this, &Form1::Drive1_Change);
    connect(Dir1->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex &current) {
                if (settingPanes_ || !current.isValid())
                    return;
                dir1Path_ = dirModel_->filePath(current);
                Dir1_Change();
            });
    connect(Command6, &QPushButton::clicked, this, &Form1::Command6_Click);
    connect(Command10, &QPushButton::clicked, this, &Form1::Command10_Click);
    connect(Command9, &QPushButton::clicked, this, &Form1::Command9_Click);
    connect(Command11, &QPushButton::clicked, this, &Form1::Command11_Click);
    connect(Command12, &QPushButton::clicked, this, &Form1::Command12_Click);
    connect(Command13, &QPushButton::clicked, this, &Form1::Command13_Click);
    connect(Command14, &QPushButton::clicked, this, &Form1::Command14_Click);
    connect(Command15, &QPushButton::clicked, this, &Form1::Command15_Click);
    // List1_OLEDragDrop, the focus handlers and the clicks (on an entry or on the blank area
    // below the entries) are reached through eventFilter().
    connect(List1, &EntryList::currentRowChanged, this, &Form1::List1_Click);
    connect(Command7, &QPushButton::clicked, this, &Form1::Command7_Click);
    connect(Text5, &QLineEdit::returnPressed, this, [this] { Text5_KeyPress(13); });
    connect(File1, &EntryList::currentRowChanged, this, &Form1::File1_Click);

    connect(mnOpen, &QAction::triggered, this, &Form1::mnOpen_Click);
    connect(mnMoveTo, &QAction::triggered, this, &Form1::mnMoveTo_Click);
    connect(mnCopyTo, &QAction::triggered, this, &Form1::mnCopyTo_Click);
    connect(mnCopyList, &QAction::triggered, this, &Form1::mnCopyList_Click);
    connect(mnPasteList, &QAction::triggered, this, &Form1::mnPasteList_Click);
    connect(mnUndo, &QAction::triggered, this, &Form1::mnUndo_Click);
    connect(mnHistory, &QAction::triggered, this, &Form1::mnHistory_Click);
    connect(mnCloseScreen, &QAction::triggered, this, &Form1::mnCloseScreen_Click);
    connect(mnCloseScreenMin, &QAction::triggered, this, &Form1::mnCloseScreenMin_Click);
    connect(mnVarrowSoft, &QAction::triggered, this, &Form1::mnVarrowSoft_Click);
    connect(mnvisithomepage, &QAction::triggered, this, &Form1::mnvisithomepage_Click);
    connect(mnTuijian, &QAction::triggered, this, &Form1::mnTuijian_Click);
    connect(mnabout, &QAction::triggered, this, &Form1::mnabout_Click);
}

void Form1::layoutControls()
{
    // The arrangement as designed for 761 × 525 pixels; a larger window gives the extra room
    // to the two lists (two thirds to the rename list, one third to the file pane).
    const int dx = qMax(0, client_->width() - kClientWidth);
    const int dy = qMax(0, client_->height() - kClientHeight);
    const int grow = dx * 2 / 3;
    const auto place = [](QWidget *w, QRect r, int shift = 0, int wider = 0, int taller = 0) {
        w->setGeometry(r.x() + shift, r.y(), r.width() + wider, r.height() + taller);
    };
    // Text boxes are given the height their font needs; the rows leave room for it.
    const auto text = [&](QLineEdit *t, QRect r, int shift = 0) {
        r.setHeight(qMax(r.height(), 22));
        place(t, r, shift);
    };

    place(Command3, twips(0, 0, 1215, 375));
    place(Command2, twips(1200, 0, 1215, 375));
    place(Command1, twips(2400, 0, 495, 375));
    place(Command8, twips(2880, 0, 495, 375));
    place(ProgressBar1, twips(3480, 0, 7815, 375), 0, dx);
    place(Label6, twips(120, 480, 855, 255));
    text(Text4, twips(1080, 480, 1335, 270));
    place(Label7, twips(2640, 480, 615, 255));
    text(Text2, twips(3360, 480, 1335, 270));
    place(Drive1, twips(6240, 480, 1335, 300), grow);
    place(Dir1, twips(7680, 480, 3615, 1140), grow, dx - grow);
    place(Label8, twips(120, 840, 375, 255));
    text(Text3, twips(1080, 840, 1335, 270));
    place(Label3, twips(2640, 840, 735, 255));
    text(Text6, twips(3360, 840, 1335, 270));
    place(Label1, twips(0, 1320, 735, 255));
    place(Command6, twips(960, 1320, 495, 375));
    place(Command10, twips(1440, 1320, 495, 375));
    place(Command9, twips(1920, 1320, 495, 375));
    place(Command11, twips(2400, 1320, 495, 375));
    place(Command12, twips(2880, 1320, 495, 375));
    place(Command13, twips(3360, 1320, 495, 375));
    place(Command14, twips(3840, 1320, 495, 375));
    place(Command15, twips(4320, 1320, 495, 375));
    place(List1, twips(0, 1680, 7695, 6150), 0, grow, dy);
    place(Command7, twips(7680, 1680, 495, 375), grow);
    place(Label9, twips(9360, 1680, 495, 255), grow);
    text(Text5, twips(9960, 1680, 1335, 270), grow);
    place(File1, twips(7680, 2040, 3735, 5850), grow, dx - grow, dy);
}

bool Form1::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == client_ && event->type() == QEvent::Resize) {
        layoutControls();
    } else if (event->type() == QEvent::FocusIn) {
        if (watched == List1)
            List1_GotFocus();
        else if (watched == File1)
            File1_GotFocus();
    } else if (event->type() == QEvent::MouseButtonRelease) {
        // The view has made the entry under the pointer current on the press; a release over
        // the blank area leaves the current entry as it is, or none.
        if (List1 && watched == List1->viewport())
            List1_Click();
        else if (File1 && watched == File1->viewport())
            File1_Click();
    } else if (List1 && watched == List1->viewport()) {
        switch (event->type()) {
        case QEvent::DragEnter:
        case QEvent::DragMove:
        case QEvent::Drop: {
            auto *drop = static_cast<QDropEvent *>(event);
            // Looked into once per drag: the moves and the drop that follow carry the same data.
            if (event->type() == QEvent::DragEnter)
                dropAcceptable_ = List1_AcceptsDrop(drop->mimeData());
            // Always a copy: a source told of a move would delete its files once they are
            // dropped, and the list only names them.
            if (!dropAcceptable_ || !(drop->possibleActions() & Qt::CopyAction)) {
                drop->ignore();
                return true;
            }
            drop->setDropAction(Qt::CopyAction);
            drop->accept();
            if (event->type() == QEvent::Drop)
                List1_OLEDragDrop(drop->mimeData());
            return true;
        }
        default:
            break;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void Form1::closeEvent(QCloseEvent *event)
{
    if (closeGuard_.held()) {
        // The commands under way stop at their next yield; the last to end closes the window.
        closeGuard_.requestClose();
        event->ignore();
        // A box that a command waits on is answered as its Escape key would answer it (No,
        // Cancel, OK), which is never the answer that starts something.
        if (QWidget *box = QApplication::activeModalWidget())
            box->close();
        return;
    }
    // Nothing starts on a window that is going.
    closeGuard_.closed();
    Form_QueryUnload();
    if (Form2_) Form2_->close();
    event->accept();
}

Dialogs::Answer Form1::MsgBox(const QString &text, const QString &title, Dialogs::Buttons buttons,
                              Dialogs::Icon icon)
{
    const HeldOpen held(closeGuard_);
    return dialogs_.message(this, text, title.isEmpty() ? AppInfo::Title : title, buttons, icon);
}

QString Form1::InputBox(const QString &prompt, const QString &title)
{
    const HeldOpen held(closeGuard_);
    return dialogs_.input(this, prompt, title);
}
