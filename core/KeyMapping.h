// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Ozvenka developers
#pragma once
// How a key press reaches the key handler: one event per key-down, character keys as
// (Key = 0, KeyChar = the typed character) unless Ctrl or Alt alone is held, every other key as
// (Key = its Windows-style virtual-key code, KeyChar = 0).

#include <QChar>
#include <QKeyEvent>

namespace ozv {

struct KeyArgs
{
    int key = 0;   // virtual-key code, 0 none
    QChar keyChar; // typed character, null none
    bool shift = false;
    bool ctrl = false;
    bool alt = false;
    bool anyModifier() const { return shift || ctrl || alt; }
    bool consumed() const { return key == 0 && keyChar.isNull(); }
};

/// The virtual-key code of a Qt key (0 for keys without one).
int virtualKeyCode(int qtKey);
/// The key handler's view of a key event.
KeyArgs keyArgsFrom(const QKeyEvent& event);

} // namespace ozv
