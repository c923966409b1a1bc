// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Ozvenka developers
#include "FolderDialogRules.h"

#include <algorithm>

namespace ozv {

std::uint32_t browseFlags(TFolderOptions options)
{
    static constexpr std::uint32_t kFlags[] = {0x1000, 0x2000, 0x0002, 0x0008, 0x0001,
                                               0x0004, 0x0040, 0x0200, 0x0010};
    std::uint32_t flags = 0;
    for (int ordinal = 0; ordinal <= fdoEditBox; ++ordinal)
        if (options & (1u << ordinal)) flags |= kFlags[ordinal];
    if ((flags & 0x40) && (options & optionBit(fdoShareable))) flags |= 0x8000;
    return flags;
}

QPoint dialogPlacement(TDialogPosition position, const QRect& owner, const QRect& workArea,
                       QSize size, QPoint xy)
{
    const int w = size.width(), h = size.height();
    switch (position) {
    case fdpScreenCenter:
        return QPoint(workArea.x() + workArea.width() / 2 - w / 2,
                      workArea.y() + workArea.height() / 2 - h / 2);
    case fdpXY:
        return QPoint(std::max(0, xy.x()), std::max(0, xy.y()));
    case fdpParentFormCenter:
        return QPoint(owner.x() + owner.width() / 2 - w / 2,
                      owner.y() + owner.height() / 2 - h / 2);
    case fdpDefault:
    default:
        return QPoint(owner.x() + 20, owner.y() + 20);
    }
}

QString folderDialogVersion()
{
    constexpr std::uint32_t version = (1u << 24) | (1u << 16) | (4u << 8) | 0u;
    return QStringLiteral("%1.%2.%3.%4")
        .arg(version >> 24)
        .arg((version >> 16) & 0xFF)
        .arg((version >> 8) & 0xFF)
        .arg(version & 0xFF);
}

} // namespace ozv
