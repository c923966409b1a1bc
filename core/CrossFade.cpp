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
    if (!start.isNull() && startOpacity > 0) {
        painter.setOpacity(startOpacity);
        if (start.size() == rect.size())
            painter.drawImage(rect.topLeft(), start);
        else
            painter.drawImage(rect, start);
    }
    if (!target.isNull() && targetOpacity > 0) {
        painter.setOpacity(targetOpacity);
        if (target.size() == rect.size())
            painter.drawImage(rect.topLeft(), target);
        else
            painter.drawImage(rect, target);
    }
    painter.restore();
}

} // namespace ozv
