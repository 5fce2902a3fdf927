#include "rename/renamepreview.h"

#include <QAbstractEventDispatcher>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QStatusBar>
#include <QtConcurrent/QtConcurrentRun>

#include "app/form1.h"
#include "walk/listedits.h"
#include "rename/previewdelegate.h"

RenamePreview::RenamePreview(Form1 &window)
    : QObject(&window), window_(window), list_(window.List1), summary_(new QLabel(&window))
{
    summary_->setObjectName(QStringLiteral("renamePreviewSummary"));
    // A long failure never widens the window; the whole text stays in the tool tip.
    summary_->setMinimumWidth(1);
    summary_->setAccessibleDescription(QStringLiteral("重命名预览"));
    window.statusBar()->addPermanentWidget(summary_);

    EntryModel *model = list_->entries();
    model->setExtraRoles([this](int row, EntryId id, int role) { return rowData(row, id, role); });
    list_->setItemDelegate(new PreviewDelegate(list_));

    for (QLineEdit *field : {window.Text4, window.Text2, window.Text3, window.Text6})
        connect(field, &QLineEdit::textChanged, this, &RenamePreview::changed);
    connect(list_->selectionModel(), &QItemSelectionModel::selectionChanged, this, &RenamePreview::changed);
    // Entries added may name files made since their folder was read: the folders are read anew.
    connect(model, &QAbstractItemModel::rowsInserted, this, &RenamePreview::foldersChanged);
    connect(model, &QAbstractItemModel::rowsRemoved, this, &RenamePreview::changed);
    connect(model, &QAbstractItemModel::rowsMoved, this, &RenamePreview::changed);
    connect(model, &QAbstractItemModel::modelReset, this, &RenamePreview::changed);
    connect(model, &QAbstractItemModel::layoutChanged, this, &RenamePreview::changed);
    connect(model, &QAbstractItemModel::dataChanged, this,
            [this](const QModelIndex &, const QModelIndex &, const QList<int> &roles) {
                // The preview's own announcements change no entry.
                if (roles.isEmpty() || roles.contains(Qt::DisplayRole))
                    changed();
            });
    connect(&watcher_, &QFutureWatcher<Job>::finished, this, &RenamePreview::finished);
    // Only when the event loop has nothing left to do and is about to wait: commands that
    // yield once per entry never wait meanwhile, so they never share the processor with a
    // prediction, and all changes of one turn make one prediction.
    connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::aboutToBlock, this,
            &RenamePreview::startWhenIdle);
    list_->installEventFilter(this);
    changed();
}

bool RenamePreview::eventFilter(QObject *watched, QEvent *event)
{
    // What changed while a command held the list locked is predicted once it is unlocked.
    if (watched == list_ && event->type() == QEvent::EnabledChange && list_->isEnabled())
        changed();
    return QObject::eventFilter(watched, event);
}

RenamePreview::~RenamePreview()
{
    // A prediction still running works on its own copies and is left to finish unheard.
    if (list_)
        list_->entries()->setExtraRoles({});
}

void RenamePreview::foldersChanged()
{
    folders_.known.clear();
    ++foldersVersion_;
    changed();
}

void RenamePreview::changed()
{
    ++version_;
    pending_ = true;
}

void RenamePreview::startWhenIdle()
{
    // The list is locked while a command renames, moves or copies files; unlocking it is a
    // change of its own.
    if (!pending_ || running_ || !list_ || !list_->isEnabled())
        return;
    pending_ = false;
    running_ = true;
    Job job{list_->texts(),
            list_->entries()->ids(),
            selectedFlags(list_),
            {window_.Text4->text(), window_.Text2->text(), window_.Text3->text(), window_.Text6->text()},
            folders_,
            version_,
            foldersVersion_,
            {}};
    watcher_.setFuture(QtConcurrent::run([job = std::move(job)]() mutable {
        job.prediction = predictRun(job.entries, job.selected, job.fields, job.folders);
        return job;
    }));
}

void RenamePreview::finished()
{
    running_ = false;
    Job job = watcher_.result();
    // Folders read for a prediction are kept unless the files changed meanwhile; so is the
    // prediction itself, even one overtaken by typing, which shows the latest names there are.
    if (job.foldersVersion == foldersVersion_) {
        folders_ = std::move(job.folders);
        shown_ = std::move(job.prediction);
        shownIds_ = std::move(job.ids);
        shownRowOfValid_ = false;
        shownVersion_ = job.version;
        list_->entries()->extraRolesChanged({Qt::AccessibleDescriptionRole, StateRole, ShortTextRole});
        const QString summary = predictionSummary(shown_);
        summary_->setText(summary);
        summary_->setToolTip(summary);
    }
}

// Painting asks for rows while commands may still be adding entries: the list itself is not
// read here, only the entry's identity as the view gave it.
int RenamePreview::shownRow(int row, EntryId id) const
{
    if (row >= 0 && row < shownIds_.size() && shownIds_[row] == id)
        return row;
    if (!shownRowOfValid_) {
        shownRowOf_.clear();
        for (int i = 0; i < shownIds_.size(); ++i)
            shownRowOf_.insert(shownIds_[i], i);
        shownRowOfValid_ = true;
    }
    return shownRowOf_.value(id, -1);
}

QVariant RenamePreview::rowData(int row, EntryId id, int role) const
{
    if (role != Qt::AccessibleDescriptionRole && role != StateRole && role != ShortTextRole)
        return QVariant();
    const int at = shownRow(row, id);
    if (at < 0 || shown_.rows[at].state == RowPreview::State::None)
        return QVariant();
    switch (role) {
    case StateRole:
        return int(shown_.rows[at].state);
    case ShortTextRole:
        return previewShortText(shown_, at);
    default:
        return previewDescription(shown_, at);
    }
}
