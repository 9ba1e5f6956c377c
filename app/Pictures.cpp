#include "app/Pictures.h"

#include <QColor>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QtMath>

namespace app {
namespace {

const QColor kButtonBlue(0x1F, 0x5F, 0xC8);

QPixmap TransparentPixmap(int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    return pixmap;
}

// A key cap seen from above: a darker skirt and a lighter, slightly raised
// top face. Returns the top face so the caller can draw on it.
QRectF DrawKeyCap(QPainter& painter, const QColor& skirt, const QColor& face)
{
    const QRectF outer(1.0, 1.0, 31.0, 31.0);
    QLinearGradient skirtShade(outer.topLeft(), outer.bottomLeft());
    skirtShade.setColorAt(0.0, skirt.lighter(115));
    skirtShade.setColorAt(1.0, skirt.darker(135));
    painter.setPen(QPen(skirt.darker(160), 1.0));
    painter.setBrush(skirtShade);
    painter.drawRoundedRect(outer, 6.0, 6.0);

    const QRectF top(5.0, 3.0, 23.0, 23.0);
    QLinearGradient faceShade(top.topLeft(), top.bottomRight());
    faceShade.setColorAt(0.0, face.lighter(130));
    faceShade.setColorAt(1.0, face);
    painter.setPen(QPen(skirt.darker(120), 0.8));
    painter.setBrush(faceShade);
    painter.drawRoundedRect(top, 4.5, 4.5);
    return top;
}

}  // namespace

QPixmap ConnectedPicture()
{
    QPixmap pixmap = TransparentPixmap(kStatusPictureSize);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF face = DrawKeyCap(painter, QColor(0x1C, 0x7C, 0x24), QColor(0x34, 0xB0, 0x3C));

    constexpr int kDots = 10;
    constexpr qreal kRingRadius = 7.0;
    constexpr qreal kDotRadius = 1.5;
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::white);
    const QPointF centre = face.center();
    for (int i = 0; i < kDots; ++i) {
        const qreal angle = 2.0 * M_PI * i / kDots;
        const QPointF dot(centre.x() + kRingRadius * qCos(angle),
                          centre.y() - kRingRadius * qSin(angle));
        painter.drawEllipse(dot, kDotRadius, kDotRadius);
    }
    return pixmap;
}

QPixmap NotFoundPicture()
{
    QPixmap pixmap = TransparentPixmap(kStatusPictureSize);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF face = DrawKeyCap(painter, QColor(0x9C, 0x14, 0x14), QColor(0xDC, 0x2C, 0x2C));

    const QRectF cross = face.adjusted(6.5, 6.5, -6.5, -6.5);
    painter.setPen(QPen(Qt::white, 3.2, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(cross.topLeft(), cross.bottomRight());
    painter.drawLine(cross.topRight(), cross.bottomLeft());
    return pixmap;
}

QIcon WriteInIcon()
{
    QPixmap pixmap = TransparentPixmap(kButtonPictureSize);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath tick;
    tick.moveTo(2.5, 8.5);
    tick.lineTo(6.3, 12.3);
    tick.lineTo(13.5, 3.8);
    painter.setPen(QPen(kButtonBlue, 2.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawPath(tick);
    return QIcon(pixmap);
}

QIcon ReadOutIcon()
{
    QPixmap pixmap = TransparentPixmap(kButtonPictureSize);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);

    // Arc running anticlockwise from 110 degrees through 265 degrees, open at
    // the upper right; the arrow head sits at its end and points along the
    // direction of travel.
    const QPointF centre(7.5, 8.5);
    constexpr qreal kRadius = 5.0;
    constexpr qreal kStart = 110.0;
    constexpr qreal kSpan = 265.0;
    const QRectF circle(centre.x() - kRadius, centre.y() - kRadius, 2 * kRadius, 2 * kRadius);
    painter.setPen(QPen(kButtonBlue, 2.0, Qt::SolidLine, Qt::FlatCap));
    painter.setBrush(Qt::NoBrush);
    painter.drawArc(circle, qRound(kStart * 16), qRound(kSpan * 16));

    const qreal end = qDegreesToRadians(kStart + kSpan);
    const QPointF tip(centre.x() + kRadius * qCos(end), centre.y() - kRadius * qSin(end));
    const QPointF along(-qSin(end), -qCos(end));   // tangent, anticlockwise on screen
    const QPointF across(along.y(), -along.x());
    QPolygonF head;
    head << tip + along * 3.6 << tip + across * 3.4 << tip - across * 3.4;
    painter.setPen(Qt::NoPen);
    painter.setBrush(kButtonBlue);
    painter.drawPolygon(head);
    return QIcon(pixmap);
}

}  // namespace app
