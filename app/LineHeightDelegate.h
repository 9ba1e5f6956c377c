// Item delegate that gives every line of a list box the same height.
#pragma once

#include <QStyledItemDelegate>

namespace app {

class LineHeightDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    LineHeightDelegate(int lineHeight, QObject* parent);

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    int lineHeight_;
};

}  // namespace app
