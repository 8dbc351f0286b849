#include "view/rounded_corners.h"

#include <QBitmap>
#include <QPainter>
#include <QWidget>

void Arredondarcantos(QWidget* componente, int Y)
{
    const QSize size = componente->size();
    if (size.isEmpty())
        return;
    // A bitmap mask gives the hard edge of a window region, without blending.
    QBitmap mask(size);
    mask.fill(Qt::color0);
    QPainter painter(&mask);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::color1);
    painter.drawRoundedRect(QRectF(0, 0, size.width(), size.height()), Y / 2.0, Y / 2.0);
    painter.end();
    componente->setMask(mask);
    componente->update();
}
