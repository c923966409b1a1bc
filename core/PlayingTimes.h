// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Ozvenka developers
#pragma once
// How the operator's overview shows a playing sound's times.

#include <QString>
#include <cstdint>

namespace ozv {

/// Whole seconds as "mm:ss" (minutes beyond 99 keep growing: "125:07"); negative counts as 0.
/// Elapsed time is shown rounded down, remaining time rounded up, so that both reach the
/// length together and "00:00" remains only at the very end.
QString clockText(std::int64_t seconds);
std::int64_t elapsedSeconds(std::int64_t elapsedMs);
std::int64_t remainingSeconds(std::int64_t durationMs, std::int64_t elapsedMs);

/// The last seconds of a sound, shown in red.
constexpr std::int64_t kEndingSeconds = 10;
inline bool isEnding(std::int64_t durationMs, std::int64_t elapsedMs)
{
    return durationMs - elapsedMs <= kEndingSeconds * 1000;
}

} // namespace ozv
