// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Ozvenka developers
#pragma once
// The running order of a show folder as text: what the boards will show, with the hot-key of
// each sound and the F-key of each picture group's first picture.

#include <QString>
#include <functional>

namespace ozv {

/// "[Sounds]", then per group "# caption" and "KEY<TAB>caption<TAB>file name" lines, then
/// "[Pictures]" likewise with F1..F12. Sound files for which `playable` is false are left out
/// (they get no button and use no hot-key); pictures for which `showable` is false are left
/// out (they get no button; a first picture's F-key goes with it). `folder` must exist.
QString cueSheet(const QString& folder, const std::function<bool(const QString&)>& playable,
                 const std::function<bool(const QString&)>& showable = {});

} // namespace ozv
