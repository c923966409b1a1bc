// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Ozvenka developers
#include "EffectIcon.h"

#include <QPainter>
#include <QPainterPath>

namespace ozv {

QPixmap drawEffectIcon(int size, const QColor& color)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 32.0, size / 32.0);
    QPen pen(color, 2.0);
    pen.setJoinStyle(Qt::RoundJoin);
    pen.setCapStyle(Qt::RoundCap);
    p.setPen(pen);
    // The back frame: only its edges that the front frame does not cover.
    QPainterPath back;
    back.moveTo(8, 8);
    back.lineTo(8, 3);
    back.lineTo(29, 3);
    back.lineTo(29, 20);
    back.lineTo(25, 20);
    p.drawPath(back);
    // The front frame with a sun over two hills.
    p.drawRoundedRect(QRectF(3, 9, 21, 19), 1.5, 1.5);
    p.setBrush(color);
    p.drawEllipse(QPointF(17.5, 14.5), 2.2, 2.2);
    p.setBrush(Qt::NoBrush);
    QPainterPath hills;
    hills.moveTo(4, 26);
    hills.lineTo(10, 18);
    hills.lineTo(14, 23);
    hills.lineTo(17, 20);
    hills.lineTo(23, 26);
    p.drawPath(hills);
    return pixmap;
}

} // namespace ozv
