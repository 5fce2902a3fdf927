#pragma once

#include <QStyledItemDelegate>

// Paints an entry of the rename list with what the rename would make of it at the right of
// its row: the new name, a predicted failure in red with its reason, or an entry the run would
// not reach in grey. The entry's own path gives way, shortened in the middle, so that both
// its folder and its name stay in view.
class PreviewDelegate final : public QStyledItemDelegate {
    Q_OBJECT

public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override;
};
