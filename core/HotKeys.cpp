// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Ozvenka developers
#include "HotKeys.h"

namespace ozv {

int hotKeyIndex(QChar typed)
{
    if (typed.isNull()) return -1;
    const qsizetype lower = kLowerHotKeyAlphabet.indexOf(typed.toLower());
    if (lower >= 0) return int(lower);
    return int(kHotKeyAlphabet.indexOf(typed.toUpper()));
}

} // namespace ozv
