// The busy lock, the progress bar and the list checks that the commands share.
#include "app/form1.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QItemSelectionModel>
#include <QProgressBar>
#include <QWidget>

#include <cmath>

#include "app/appinfo.h"
#include "walk/entrylist.h"

namespace {

void setItemEnabled(QObject *item, bool enabled)
{
    if (auto *w = qobject_cast<QWidget *>(item))
        w->setEnabled(enabled);
    else if (auto *a = qobject_cast<QAction *>(item))
        a->setEnabled(enabled);
}

} // namespace

void Form1::ForbidCmd()
{
    // A control that loses the focus by being disabled passes it along the tab chain, which
    // from the busy set leads to the drive list: one arrow key there would switch volumes. The
    // window keeps the focus itself meanwhile and gives it back when the commands unlock.
    QWidget *focus = QApplication::focusWidget();
    if (focus && focus != client_ && isAncestorOf(focus)) {
        focusBeforeLock_ = focus;
        client_->setFocus(Qt::OtherFocusReason);
    }
    for (QObject *item : std::as_const(busySet_))
        setItemEnabled(item, false);
}

void Form1::UnForbidCmd()
{
    for (QObject *item : std::as_const(busySet_))
        setItemEnabled(item, true);
    // Only a focus still parked on the window goes back: the user may have moved it meanwhile
    // to a control that stays live. Never to the drive list; failing the control it came from,
    // to the list the user was last in, so that which list is active does not change.
    QWidget *back = std::exchange(focusBeforeLock_, nullptr);
    if (QApplication::focusWidget() != client_)
        return;
    if (!back || back == Drive1 || !back->isEnabled() || !back->isVisibleTo(this))
        back = ActiveList == 2 ? static_cast<QWidget *>(File1) : List1;
    back->setFocus(Qt::OtherFocusReason);
}

void Form1::ShowProgressBar(int count)
{
    setProgressPosition(0.0f);
    if (count > 0) {
        setProgressMaximum(float(count));
        ProgressBar1->setVisible(true);
    }
}

void Form1::ShowProgress()
{
    setProgressPosition(progressPos_ + 1.0f);
}

void Form1::UnShowProgressBar()
{
    ProgressBar1->setVisible(false);
}

qint16 Form1::GetSelCounts() const
{
    // Summing the selection's ranges counts the selected entries without visiting each one.
    qsizetype count = 0;
    for (const QItemSelectionRange &range : List1->selectionModel()->selection())
        count += range.height();
    return qint16(qMin<qsizetype>(count, AppInfo::MaxListEntries));
}

void Form1::PanDuanList()
{
    if (List1->count() == 0) {
        List1AllSel = false;
        List1->setToolTip(QString());
        return;
    }
    if (File1->count() == 0) {
        File1AllSel = false;
        File1->setToolTip(QString());
    }
}

void Form1::setProgressMaximum(float max)
{
    progressMax_ = max;
    updateProgressDisplay();
}

void Form1::setProgressPosition(float pos)
{
    progressPos_ = pos;
    updateProgressDisplay();
}

void Form1::updateProgressDisplay()
{
    // The commands keep maximum and position as they please; the bar shows their ratio and
    // stays full when the position runs past the maximum. A maximum of 0 shows an empty bar.
    const int max = progressMax_ > 0.0f ? int(std::lround(progressMax_)) : 0;
    const int shownMax = qMax(1, max);
    const int pos = max == 0 ? 0 : int(qBound(0.0f, progressPos_, float(max)));
    if (ProgressBar1->maximum() != shownMax) {
        ProgressBar1->setRange(0, shownMax);
    } else if (pos == ProgressBar1->value()) {
        return;
    } else if (pos != 0 && pos != shownMax && !progressRate_.due()) {
        // The bar paints itself at once on every visible change, and the walks advance it once
        // per entry, tens of thousands of times a second: it follows at its own pace instead.
        return;
    }
    ProgressBar1->setValue(pos);
    progressRate_.shown();
}
