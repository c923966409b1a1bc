// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Ozvenka developers
#include "StopAllKey.h"

#include <QKeyEvent>

namespace ozv {

bool TStopAllKey::eventFilter(QObject* watched, QEvent* e)
{
    if (e->type() != QEvent::KeyPress && e->type() != QEvent::KeyRelease &&
        e->type() != QEvent::ShortcutOverride)
        return QObject::eventFilter(watched, e);
    auto* widget = qobject_cast<QWidget*>(watched);
    const auto* k = static_cast<QKeyEvent*>(e);
    if (!widget || widget->window() != parent() || k->key() != Qt::Key_Space ||
        (k->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier)
        return QObject::eventFilter(watched, e);
    if (e->type() == QEvent::ShortcutOverride) {
        e->accept(); // ours, not a shortcut's
        return true;
    }
    if (e->type() == QEvent::KeyPress && !k->isAutoRepeat()) m_stopAll();
    return true; // neither press nor release reaches the focused widget
}

} // namespace ozv
