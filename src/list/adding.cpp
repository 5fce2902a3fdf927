// Adding entries to the rename list: from the file pane, by a drop, and the list's own
// click and focus handlers.
#include "app/form1.h"

#include <QListWidget>
#include <QMimeData>

void Form1::List1_OLEDragDrop(const QMimeData *) {}

bool Form1::List1_AcceptsDrop(const QMimeData *)
{
    return false;
}

void Form1::List1_Click()
{
    const int row = List1->currentRow();
    List1->setToolTip(row >= 0 ? QString::number(row) + u'.' + List1->item(row)->text() : QString());
}

void Form1::List1_GotFocus()
{
    ActiveList = 1;
}

void Form1::Command7_Click() {}
