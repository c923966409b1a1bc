// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Ozvenka developers
#pragma once
// The eleven ease-in curves of the picture cross-fade, index 0 ("Linear") to 10 ("Bounce").

#include <QString>
#include <array>

namespace ozv {

constexpr int kEasingCount = 11;
inline const std::array<QString, kEasingCount> kEasingNames{
    QStringLiteral("Linear"),      QStringLiteral("Quadratic"), QStringLiteral("Cubic"),
    QStringLiteral("Quartic"),     QStringLiteral("Quintic"),   QStringLiteral("Sinusoidal"),
    QStringLiteral("Exponential"), QStringLiteral("Circular"),  QStringLiteral("Elastic"),
    QStringLiteral("Back"),        QStringLiteral("Bounce")};

/// Progress p at time u (0..1) of curve `index` (clamped into 0..10).
double easeIn(int index, double u);

} // namespace ozv
