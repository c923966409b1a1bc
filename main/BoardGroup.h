// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Ozvenka developers
#pragma once
// The head of a group on a board: a line break (unless the board is empty), the header label
// with the group's caption (top margin 8), and a line break before the group's items.

#include "FlowLayout.h"

#include <QLabel>

namespace ozv {

QLabel* addGroupHeader(TFlowLayout* board, const QString& caption);

} // namespace ozv
