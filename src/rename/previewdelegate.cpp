#include "rename/previewdelegate.h"

#include <QApplication>
#include <QPainter>

#include "rename/preview.h"
#include "rename/renamepreview.h"

void PreviewDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option,
                            const QModelIndex &index) const
{
    const QString preview = index.data(RenamePreview::ShortTextRole).toString();
    if (preview.isEmpty()) {
        QStyledItemDelegate::paint(painter, option, index);
        return;
    }
    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, index);
    const QFontMetrics &fm = opt.fontMetrics;
    const int pad = fm.horizontalAdvance(u' ');
    // The preview takes what it needs, up to three fifths of the row; eliding measures a little
    // wider than the advance, hence a third space.
    const int badgeWidth = qMin(fm.horizontalAdvance(preview) + 3 * pad, opt.rect.width() * 3 / 5);
    const QRect badge(opt.rect.right() + 1 - badgeWidth, opt.rect.top() + 1, badgeWidth,
                      opt.rect.height() - 2);

    const QStyle *style = opt.widget ? opt.widget->style() : QApplication::style();
    const int textMargin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, opt.widget) + 1;
    opt.text = fm.elidedText(opt.text, Qt::ElideMiddle,
                             opt.rect.width() - badgeWidth - 2 * textMargin - pad);
    style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, opt.widget);

    // On a background of its own the preview reads the same on selected rows, which all
    // previewed rows are.
    const auto state = RowPreview::State(index.data(RenamePreview::StateRole).toInt());
    QColor colour = opt.palette.color(QPalette::Active, QPalette::Text);
    if (state == RowPreview::State::Failed)
        colour = QColor(0xc6, 0x28, 0x28);
    else if (state == RowPreview::State::NotReached)
        colour = opt.palette.color(QPalette::Disabled, QPalette::Text);
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    painter->setPen(Qt::NoPen);
    painter->setBrush(opt.palette.color(QPalette::Active, QPalette::Base));
    painter->drawRoundedRect(badge, 3, 3);
    painter->setPen(colour);
    painter->setFont(opt.font);
    const QRect text = badge.adjusted(pad, 0, -pad, 0);
    painter->drawText(text, Qt::AlignVCenter | Qt::AlignLeft,
                      fm.elidedText(preview, Qt::ElideRight, text.width()));
    painter->restore();
}
