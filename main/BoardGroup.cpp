// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Ozvenka developers
#include "BoardGroup.h"

namespace ozv {

QLabel* addGroupHeader(TFlowLayout* board, const QString& caption)
{
    if (board->childCount() > 0) board->addChild(new TLineBreak);
    auto* label = new QLabel(caption);
    label->setTextFormat(Qt::PlainText); // "3 Akt <i>druhý" is a name, not markup
    QFont f = label->font();
    f.setBold(true);
    label->setFont(f);
    label->adjustSize();
    board->addChild(label, QMargins(0, 8, 0, 0));
    board->addChild(new TLineBreak);
    return label;
}

} // namespace ozv
