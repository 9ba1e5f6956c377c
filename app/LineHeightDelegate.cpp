#include "app/LineHeightDelegate.h"

namespace app {

LineHeightDelegate::LineHeightDelegate(int lineHeight, QObject* parent)
    : QStyledItemDelegate(parent), lineHeight_(lineHeight)
{
}

QSize LineHeightDelegate::sizeHint(const QStyleOptionViewItem& option,
                                   const QModelIndex& index) const
{
    QSize size = QStyledItemDelegate::sizeHint(option, index);
    size.setHeight(lineHeight_);
    return size;
}

}  // namespace app
