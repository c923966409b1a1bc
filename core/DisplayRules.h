// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Ozvenka developers
#pragma once
// Display arithmetic for the picture monitor: the main window's centre, the display that holds
// a point, and the monitor list (every display but the main window's).

#include <QPoint>
#include <QRect>
#include <vector>

namespace ozv {

struct DisplayInfo
{
    QRect bounds;
    QRect workArea;
};

/// (L + (R - L) / 2, T + (B - T) / 2) with right and bottom edges outside the rectangle.
QPoint mainWindowCentre(const QRect& bounds);
/// Index of the first display whose bounds contain `p`, or -1.
int displayContaining(const std::vector<DisplayInfo>& displays, QPoint p);
/// The toolkit's display at a point: display 0 with fewer than two displays, else the first
/// whose work area contains the point, else the one whose work area is nearest.
int displayAtPoint(const std::vector<DisplayInfo>& displays, QPoint p);
/// Display indexes offered as picture monitors for a main window centred at `centre`.
std::vector<int> monitorChoices(const std::vector<DisplayInfo>& displays, QPoint centre);

} // namespace ozv
