#pragma once
// One frame of the picture cross-fade: the start picture at opacity 1 - p, then the target
// picture at opacity p blended over it, both stretched over `rect` (opacities clamped to 0..1).

#include <QImage>
#include <QPainter>

namespace ozv {

void drawCrossFade(QPainter& painter, const QRect& rect, const QImage& start, const QImage& target,
                   double p);

} // namespace ozv
