// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Ozvenka developers
#include "KeyMapping.h"

#include <gtest/gtest.h>

using namespace ozv;

TEST(KeyMapping, CharactersAndKeyCodes)
{
    struct Case
    {
        int key;
        Qt::KeyboardModifiers mods;
        QString text;
        int expectedKey;
        char16_t expectedChar;
    } cases[] = {
        {Qt::Key_Q, Qt::NoModifier, QStringLiteral("q"), 0, u'q'},
        {Qt::Key_Q, Qt::ShiftModifier, QStringLiteral("Q"), 0, u'Q'},
        {Qt::Key_2, Qt::NoModifier, QStringLiteral("\u011B"), 0, u'\u011B'}, // Czech number row
        {Qt::Key_Q, Qt::ControlModifier, QStringLiteral("\x11"), 'Q', 0},
        {Qt::Key_Q, Qt::AltModifier, QStringLiteral("q"), 'Q', 0},
        {Qt::Key_Q, Qt::ControlModifier | Qt::AltModifier, QStringLiteral("q"), 0, u'q'}, // AltGr
        {Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"), 13, 0},
        {Qt::Key_Enter, Qt::ShiftModifier, QStringLiteral("\r"), 13, 0},
        {Qt::Key_Escape, Qt::NoModifier, QStringLiteral("\x1b"), 27, 0},
        {Qt::Key_PageUp, Qt::NoModifier, QString(), 33, 0},
        {Qt::Key_PageDown, Qt::NoModifier, QString(), 34, 0},
        {Qt::Key_Left, Qt::NoModifier, QString(), 37, 0},
        {Qt::Key_Right, Qt::NoModifier, QString(), 39, 0},
        {Qt::Key_F1, Qt::NoModifier, QString(), 112, 0},
        {Qt::Key_F12, Qt::NoModifier, QString(), 123, 0},
        {Qt::Key_F13, Qt::NoModifier, QString(), 124, 0},
        {Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "), 0, u' '},
        {Qt::Key_Up, Qt::NoModifier, QString(), 38, 0},
    };
    for (const Case& c : cases) {
        const QKeyEvent e(QEvent::KeyPress, c.key, c.mods, c.text);
        const KeyArgs args = keyArgsFrom(e);
        EXPECT_EQ(args.key, c.expectedKey) << c.key;
        EXPECT_EQ(args.keyChar.unicode(), c.expectedChar) << c.key;
        EXPECT_EQ(args.shift, bool(c.mods & Qt::ShiftModifier));
    }
}
