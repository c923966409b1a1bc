// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Ozvenka developers
#pragma once
// The hot-key alphabets: index i (0..35) is shown as kHotKeyAlphabet[i] on the badge of the
// i-th sound button and triggered by that character or by kLowerHotKeyAlphabet[i], whose last
// ten characters are what the number-row keys type on a Czech keyboard.

#include <QString>

namespace ozv {

inline const QString kHotKeyAlphabet = QStringLiteral("QWERTZUIOPASDFGHJKLYXCVBNM1234567890");
inline const QString kLowerHotKeyAlphabet = QStringLiteral(
    "qwertzuiopasdfghjklyxcvbnm+\u011B\u0161\u010D\u0159\u017E\u00FD\u00E1\u00ED\u00E9");
constexpr int kHotKeyCount = 36;

/// The hot-key index of a typed character, or -1.
int hotKeyIndex(QChar typed);

/// Virtual-key codes the key handler acts on.
namespace vk {
constexpr int Return = 13, Escape = 27, Prior = 33, Next = 34, Left = 37, Right = 39;
constexpr int F1 = 112, F12 = 123;
} // namespace vk

} // namespace ozv
