// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Ozvenka developers
#include "KeyMapping.h"

namespace ozv {

int virtualKeyCode(int k)
{
    switch (k) {
    case Qt::Key_Backspace:
        return 8;
    case Qt::Key_Tab:
        return 9;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return 13;
    case Qt::Key_Escape:
        return 27;
    case Qt::Key_Space:
        return 32;
    case Qt::Key_PageUp:
        return 33;
    case Qt::Key_PageDown:
        return 34;
    case Qt::Key_End:
        return 35;
    case Qt::Key_Home:
        return 36;
    case Qt::Key_Left:
        return 37;
    case Qt::Key_Up:
        return 38;
    case Qt::Key_Right:
        return 39;
    case Qt::Key_Down:
        return 40;
    case Qt::Key_Insert:
        return 45;
    case Qt::Key_Delete:
        return 46;
    default:
        break;
    }
    if (k >= Qt::Key_F1 && k <= Qt::Key_F24) return 112 + (k - Qt::Key_F1);
    if ((k >= Qt::Key_A && k <= Qt::Key_Z) || (k >= Qt::Key_0 && k <= Qt::Key_9))
        return k; // Qt's codes for letters and digits are their ASCII capitals, as virtual keys
    return 0;
}

KeyArgs keyArgsFrom(const QKeyEvent& event)
{
    KeyArgs args;
    const Qt::KeyboardModifiers mods = event.modifiers();
    args.shift = mods & Qt::ShiftModifier;
    args.ctrl = mods & Qt::ControlModifier;
    args.alt = mods & Qt::AltModifier;
    const QString text = event.text();
    // Ctrl and Alt together (AltGr on some systems) count as neither.
    const bool ctrlOrAltAlone = args.ctrl != args.alt;
    if (!text.isEmpty() && text.at(0).unicode() >= 32 && text.at(0).unicode() != 127 &&
        !ctrlOrAltAlone) {
        args.keyChar = text.at(0);
        return args;
    }
    args.key = virtualKeyCode(event.key());
    return args;
}

} // namespace ozv
