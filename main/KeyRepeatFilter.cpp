#include "KeyRepeatFilter.h"

#include <QAbstractSlider>
#include <QKeyEvent>

namespace ozv {

bool TKeyRepeatFilter::eventFilter(QObject* watched, QEvent* e)
{
    if (e->type() == QEvent::KeyRelease) {
        const auto* k = static_cast<QKeyEvent*>(e);
        m_releasedAt.insert(k->key(), k->timestamp());
    } else if (e->type() == QEvent::KeyPress && !qobject_cast<QAbstractSlider*>(watched)) {
        const auto* k = static_cast<QKeyEvent*>(e);
        const auto released = m_releasedAt.constFind(k->key());
        const bool repeat =
            k->isAutoRepeat() ||
            (released != m_releasedAt.cend() && k->timestamp() != 0 && *released == k->timestamp());
        if (repeat) return true;
    }
    return QObject::eventFilter(watched, e);
}

} // namespace ozv
