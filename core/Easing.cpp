// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Ozvenka developers
#include "Easing.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace ozv {

namespace {
double bounceOut(double x)
{
    constexpr double k = 7.5625, d = 2.75;
    if (x < 1 / d) return k * x * x;
    if (x < 2 / d) {
        x -= 1.5 / d;
        return k * x * x + 0.75;
    }
    if (x < 2.5 / d) {
        x -= 2.25 / d;
        return k * x * x + 0.9375;
    }
    x -= 2.625 / d;
    return k * x * x + 0.984375;
}
} // namespace

double easeIn(int index, double u)
{
    using std::numbers::pi;
    switch (std::clamp(index, 0, kEasingCount - 1)) {
    case 0:
        return u;
    case 1:
        return u * u;
    case 2:
        return u * u * u;
    case 3:
        return u * u * u * u;
    case 4:
        return u * u * u * u * u;
    case 5:
        return 1 - std::cos(u * pi / 2);
    case 6:
        return u == 0 ? 0 : std::pow(2.0, 10 * (u - 1));
    case 7:
        return 1 - std::sqrt(std::max(0.0, 1 - u * u));
    case 8: {
        if (u == 0) return 0;
        if (u == 1) return 1;
        constexpr double d = 1.0, p = 0.3 * d;
        return -std::pow(2.0, 10 * (u - 1)) * std::sin(((u - 1) * d - p / 4) * 2 * pi / p);
    }
    case 9: {
        constexpr double s = 1.70158;
        return u * u * ((s + 1) * u - s);
    }
    default:
        return 1 - bounceOut(1 - u);
    }
}

} // namespace ozv
