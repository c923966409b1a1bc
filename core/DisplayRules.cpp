// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Ozvenka developers
#include "DisplayRules.h"

#include <limits>

namespace ozv {

QPoint mainWindowCentre(const QRect& r)
{
    const int l = r.x(), t = r.y(), rr = r.x() + r.width(), b = r.y() + r.height();
    return QPoint(l + (rr - l) / 2, t + (b - t) / 2);
}

int displayContaining(const std::vector<DisplayInfo>& displays, QPoint p)
{
    for (int i = 0; i < int(displays.size()); ++i)
        if (displays[i].bounds.contains(p)) return i;
    return -1;
}

int displayAtPoint(const std::vector<DisplayInfo>& displays, QPoint p)
{
    if (displays.size() < 2) return 0;
    for (int i = 0; i < int(displays.size()); ++i)
        if (displays[i].workArea.contains(p)) return i;
    auto axis = [](int v, int lo, int hiOutside) -> qint64 {
        if (v < lo) return qint64(lo) - v;
        if (v >= hiOutside) return qint64(v) - hiOutside + 1;
        return 0;
    };
    int best = 0;
    qint64 bestDistance = std::numeric_limits<qint64>::max();
    for (int i = 0; i < int(displays.size()); ++i) {
        const QRect& w = displays[i].workArea;
        const qint64 d =
            axis(p.x(), w.x(), w.x() + w.width()) + axis(p.y(), w.y(), w.y() + w.height());
        if (d < bestDistance) {
            bestDistance = d;
            best = i;
        }
    }
    return best;
}

std::vector<int> monitorChoices(const std::vector<DisplayInfo>& displays, QPoint centre)
{
    std::vector<int> out;
    const int mainDisplay = displayAtPoint(displays, centre);
    for (int i = 0; i < int(displays.size()); ++i)
        if (i != mainDisplay) out.push_back(i);
    return out;
}

} // namespace ozv
