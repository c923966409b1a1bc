// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Ozvenka developers
#include "KeyRepeatFilter.h"

#include <QAbstractSlider>
#include <QKeyEvent>

namespace ozv {

bool TKeyRepeatFilter::showsKeys(QObject* watched) const
{
    // The show's keys reach the window this filter belongs to (or a button on it); dialogs,
    // menus and a slider with the focus keep their held keys.
    auto* widget = qobject_cast<QWidget*>(watched);
    return widget && widget->window() == parent() && !qobject_cast<QAbstractSlider*>(widget);
}

bool TKeyRepeatFilter::eventFilter(QObject* watched, QEvent* e)
{
    if (e->type() == QEvent::KeyRelease) {
        const auto* k = static_cast<QKeyEvent*>(e);
        m_releasedAt.insert(k->key(), k->timestamp());
    } else if (e->type() == QEvent::KeyPress && showsKeys(watched)) {
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
