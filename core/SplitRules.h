// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Ozvenka developers
#pragma once
// The split between the sound side and the picture panel: the picture panel gets its minimum
// width plus a share (0..1) of the free width; the sound side never goes below 494 pixels.

#include <algorithm>

namespace ozv::split {

constexpr int kSplitterMinSize = 236; // the picture panel's minimum width
constexpr int kSplitterWidth = 8;
constexpr int kSoundsMinWidth = 494;
constexpr int kMinClientWidth = kSplitterWidth + kSplitterMinSize + kSoundsMinWidth; // 738
constexpr int kMinWindowWidth = 400;
constexpr int kMinWindowHeight = 200;

inline double clampRatio(double r)
{
    return std::clamp(r, 0.0, 1.0);
}
inline double freeWidth(double clientWidth)
{
    return clientWidth - kSplitterMinSize - kSplitterWidth - kSoundsMinWidth;
}
inline double panelWidth(double free, double ratio)
{
    return free * clampRatio(ratio) + kSplitterMinSize;
}
inline double ratioFromPanel(double panel, double free)
{
    return clampRatio((panel - kSplitterMinSize) / free);
}

} // namespace ozv::split
