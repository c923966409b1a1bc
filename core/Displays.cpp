// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Ozvenka developers
#include "Displays.h"

#include <QGuiApplication>
#include <QScreen>

namespace ozv {

std::vector<DisplayInfo> ScreenDisplays::displays() const
{
    std::vector<DisplayInfo> out;
    for (const QScreen* screen : QGuiApplication::screens())
        out.push_back(DisplayInfo{screen->geometry(), screen->availableGeometry()});
    return out;
}

} // namespace ozv
