// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Ozvenka developers
#include "PlayingTimes.h"

#include <algorithm>

namespace ozv {

QString clockText(std::int64_t seconds)
{
    seconds = std::max<std::int64_t>(seconds, 0);
    return QStringLiteral("%1:%2")
        .arg(seconds / 60, 2, 10, QLatin1Char('0'))
        .arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

std::int64_t elapsedSeconds(std::int64_t elapsedMs)
{
    return std::max<std::int64_t>(elapsedMs, 0) / 1000;
}

std::int64_t remainingSeconds(std::int64_t durationMs, std::int64_t elapsedMs)
{
    const std::int64_t left =
        std::max<std::int64_t>(durationMs - std::max<std::int64_t>(elapsedMs, 0), 0);
    return (left + 999) / 1000;
}

} // namespace ozv
