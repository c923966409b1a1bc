// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Ozvenka developers
#pragma once
// The displays as the picture monitor rules see them, behind an interface so that tests can
// give any arrangement. The real one reads the GUI toolkit's screens.

#include "DisplayRules.h"

#include <vector>

namespace ozv {

class DisplaySource
{
public:
    virtual ~DisplaySource() = default;
    /// Every connected display, in the toolkit's order (the index is the display index).
    virtual std::vector<DisplayInfo> displays() const = 0;
};

class ScreenDisplays : public DisplaySource
{
public:
    std::vector<DisplayInfo> displays() const override;
};

} // namespace ozv
