#include "CrossFade.h"

#include <algorithm>

namespace ozv {

void drawCrossFade(QPainter& painter, const QRect& rect, const QImage& start, const QImage& target,
                   double p)
{
    const double startOpacity = std::clamp(1.0 - p, 0.0, 1.0);
    const double targetOpacity = std::clamp(p, 0.0, 1.0);
    painter.save();
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    auto draw = [&](const QImage& picture, double opacity) {
        if (picture.isNull() || opacity <= 0) return;
        painter.setOpacity(opacity);
        if (picture.size() == rect.size())
            painter.drawImage(rect.topLeft(), picture); // prepared at the window's size: no scaling
        else
            painter.drawImage(rect, picture);
    };
    draw(start, startOpacity);
    draw(target, targetOpacity);
    painter.restore();
}

} // namespace ozv
