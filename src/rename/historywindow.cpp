#include "rename/historywindow.h"

#include <QAction>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "app/form1.h"
#include "platform/statefolder.h"
#include "rename/journal.h"

namespace {

enum Column { When, Kind, Files, State };
constexpr int kPathRole = Qt::UserRole;
constexpr int kUndoableRole = Qt::UserRole + 1;

QString stateText(const JournalSummary &s)
{
    if (!s.usable())
        return QStringLiteral("无法读取：") + s.problem;
    if (s.undone)
        return QStringLiteral("已撤销");
    if (s.undoStarted)
        return QStringLiteral("撤销未完成");
    if (!s.ended)
        return QStringLiteral("中断，可撤销");
    return QStringLiteral("可撤销");
}

} // namespace

HistoryWindow::HistoryWindow(Form1 *form) : QWidget(form, Qt::Window), form_(form)
{
    setWindowTitle(QStringLiteral("命名历史"));
    list_ = new QTreeWidget(this);
    list_->setRootIsDecorated(false);
    list_->setUniformRowHeights(true);
    list_->setHeaderLabels({QStringLiteral("时间"), QStringLiteral("类型"), QStringLiteral("文件数"),
                            QStringLiteral("状态")});
    list_->setAccessibleName(QStringLiteral("命名历史"));
    list_->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    undoButton_ = new QPushButton(QStringLiteral("撤销"), this);
    closeButton_ = new QPushButton(QStringLiteral("关闭"), this);
    undoButton_->setAutoDefault(false);
    closeButton_->setAutoDefault(false);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(undoButton_);
    buttons->addWidget(closeButton_);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(list_);
    layout->addLayout(buttons);
    resize(520, 320);

    connect(list_, &QTreeWidget::currentItemChanged, this, &HistoryWindow::updateUndoButton);
    // Nothing is taken back while the window's commands are locked by a run.
    connect(form_->mnUndo, &QAction::enabledChanged, this, &HistoryWindow::updateUndoButton);
    connect(undoButton_, &QPushButton::clicked, this, &HistoryWindow::undoCurrent);
    connect(closeButton_, &QPushButton::clicked, this, &QWidget::close);
}

QString HistoryWindow::timeText(const QDateTime &utc)
{
    return utc.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

void HistoryWindow::reload()
{
    const QString current = list_->currentItem() ? list_->currentItem()->data(When, kPathRole).toString()
                                                 : QString();
    list_->clear();
    QTreeWidgetItem *keep = nullptr;
    for (const JournalSummary &s : journalSummaries(appStateFolder())) {
        auto *item = new QTreeWidgetItem(list_);
        if (s.time.isValid())
            item->setText(When, timeText(s.time));
        if (s.usable()) {
            item->setText(Kind, s.kind == JournalKind::Rename ? QStringLiteral("命名")
                                                               : QStringLiteral("移动"));
            item->setText(Files, QString::number(s.recordedDone));
        }
        item->setText(State, stateText(s));
        item->setData(When, kPathRole, s.path);
        item->setData(When, kUndoableRole, s.usable() && !s.undone);
        if (s.path == current)
            keep = item;
    }
    list_->setCurrentItem(keep ? keep : list_->topLevelItem(0));
    updateUndoButton();
}

void HistoryWindow::updateUndoButton()
{
    const QTreeWidgetItem *item = list_->currentItem();
    undoButton_->setEnabled(item && item->data(When, kUndoableRole).toBool()
                            && form_->mnUndo->isEnabled());
}

void HistoryWindow::undoCurrent()
{
    const QTreeWidgetItem *item = list_->currentItem();
    if (!item)
        return;
    // The undo runs from the main window once this click is over: it yields for a long
    // time, and this window may be closed meanwhile.
    const QString path = item->data(When, kPathRole).toString();
    QTimer::singleShot(0, form_, [form = form_, path] { form->undoBatch(path); });
}
