// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Ozvenka developers
#pragma once
// The picture list's scroll-into-view target and its 40 ms glide, on exact (unsnapped) offsets.

#include <cmath>

namespace ozv::scroll {

/// The new top of a view [viewTop, viewTop + viewHeight) that brings [wantedTop, wantedBottom)
/// into view: move down until the bottoms meet, then up until the tops meet (the top wins).
inline double targetTop(double viewTop, double viewHeight, double wantedTop, double wantedBottom)
{
    double top = viewTop;
    if (top + viewHeight < wantedBottom) top += wantedBottom - (top + viewHeight);
    if (top > wantedTop) top -= top - wantedTop;
    return top;
}

/// One glide step from offset y toward target t: a quarter of the way, or the target itself
/// (and `arrived`) once within half a unit.
inline double glideStep(double y, double t, bool* arrived)
{
    if (std::fabs(y - t) <= 0.5) {
        *arrived = true;
        return t;
    }
    *arrived = false;
    return (3 * y + t) / 4;
}

} // namespace ozv::scroll
