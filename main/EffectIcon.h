// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Ozvenka developers
#pragma once
// The transition icon: two overlapping picture frames, the front one showing a sun over hills.

#include <QColor>
#include <QPixmap>

namespace ozv {

/// The icon at `size` pixels, drawn in `color` on transparent.
QPixmap drawEffectIcon(int size, const QColor& color);

} // namespace ozv
