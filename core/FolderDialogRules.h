// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Ozvenka developers
#pragma once
// The folder chooser's option flags and placement arithmetic.

#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>
#include <cstdint>

namespace ozv {

enum TOptions : int {
    fdoBrowseForComputer,
    fdoBrowseForPrinter,
    fdoDontgoBelowDomain,
    fdoReturnFSAncestors,
    fdoReturnOnlyFSDirs,
    fdoStatusText,
    fdoNewDialogStyle,
    fdoNoNewFolderButton,
    fdoEditBox,
    fdoShareable,
};
/// A set of TOptions, one bit per ordinal.
using TFolderOptions = std::uint16_t;
constexpr TFolderOptions optionBit(TOptions o)
{
    return TFolderOptions(1u << o);
}

enum TDialogPosition : std::uint8_t { fdpDefault, fdpScreenCenter, fdpXY, fdpParentFormCenter };

/// The browse flags of a set of options; "shareable" counts only with the new dialog style.
std::uint32_t browseFlags(TFolderOptions options);

/// Top-left corner of a dialog of `size` by `position`: `owner` is the owner rectangle
/// (fdpDefault, fdpParentFormCenter), `workArea` that of the nearest monitor (fdpScreenCenter),
/// `xy` the requested point (fdpXY).
QPoint dialogPlacement(TDialogPosition position, const QRect& owner, const QRect& workArea,
                       QSize size, QPoint xy);

/// "1.1.4.0": the four bytes of the component's version number, high to low.
QString folderDialogVersion();

} // namespace ozv
