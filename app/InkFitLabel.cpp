#include "app/InkFitLabel.h"

#include <QFontMetrics>
#include <QPainter>
#include <QStyle>
#include <QTextLayout>

#include <algorithm>

namespace app {

int InkFitLabel::InkShift() const
{
    if (!alignment().testFlag(Qt::AlignBottom) || text().isEmpty() || text().contains(u'\n'))
        return 0;
    // The usual baseline: above the bottom edge by the line's descent, which
    // counts every font of the line.
    QTextLayout layout(text(), font());
    layout.beginLayout();
    const QTextLine line = layout.createLine();
    layout.endLayout();
    const QRect contents = contentsRect();
    const int baseline = qRound(contents.bottom() + 1 - line.descent());
    const QRect ink = QFontMetrics(font()).tightBoundingRect(text());
    const int cut = contents.top() - (baseline + ink.top());
    const int room = contents.bottom() - (baseline + ink.bottom());
    return std::max(0, std::min(cut, room));
}

void InkFitLabel::paintEvent(QPaintEvent* event)
{
    const int shift = InkShift();
    if (shift == 0) {
        QLabel::paintEvent(event);
        return;
    }
    QPainter painter(this);
    style()->drawItemText(&painter, contentsRect().translated(0, shift),
                          QStyle::visualAlignment(layoutDirection(), alignment()), palette(),
                          isEnabled(), text(), foregroundRole());
}

}  // namespace app
