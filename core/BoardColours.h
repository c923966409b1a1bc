// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Ozvenka developers
#pragma once
// The colours of the sound board's states, chosen to be read from a dark booth at 1.5 m: each
// state a solid fill of its own (idle blue, playing green, fading amber) with its caption at a
// contrast of at least 4.5:1, and the contrast rule they are checked with.

#include <QRgb>

namespace ozv::colours {

constexpr QRgb kIdleFill = 0xFF0B4F8A;
constexpr QRgb kIdleText = 0xFFFFFFFF;
constexpr QRgb kPlayingFill = 0xFF1B7A2E;
constexpr QRgb kPlayingText = 0xFFFFFFFF;
constexpr QRgb kFadingFill = 0xFFFFB020;
constexpr QRgb kFadingText = 0xFF000000;
/// The hot-key badge keeps its orange-red fill and white outline; its letter is black on it.
constexpr QRgb kBadgeText = 0xFF000000;
/// The least contrast of a caption against its fill.
constexpr double kMinimumContrast = 4.5;

/// The contrast ratio of two opaque colours, 1 to 21: (L1 + 0.05) / (L2 + 0.05) of their
/// relative luminances (sRGB), the lighter over the darker.
double contrastRatio(QRgb a, QRgb b);

} // namespace ozv::colours
