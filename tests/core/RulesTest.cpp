// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Ozvenka developers
// The small arithmetic rules: hot-key alphabets, easing curves, displays, split, scrolling and the
// folder chooser's flags and placement.

#include "BoardColours.h"
#include "DisplayRules.h"
#include "Easing.h"
#include "FolderDialogRules.h"
#include "HotKeys.h"
#include "ScrollRules.h"
#include "SplitRules.h"

#include <cmath>
#include <gtest/gtest.h>

using namespace ozv;

TEST(HotKeys, BothAlphabetsAndCase)
{
    const std::pair<char16_t, int> cases[] = {
        {u'q', 0},       {u'Q', 0},       {u'y', 19},      {u'Y', 19},      {u'm', 25},
        {u'1', 26},      {u'+', 26},      {u'2', 27},      {u'\u011B', 27}, {u'\u011A', 27},
        {u'0', 35},      {u'\u00E9', 35}, {u'\u00C9', 35}, {u'9', 34},      {u'\u00ED', 34},
        {u'\u016F', -1}, {u'\u00FA', -1}, {u' ', -1},      {u'-', -1},
    };
    for (const auto& [c, index] : cases)
        EXPECT_EQ(hotKeyIndex(QChar(c)), index) << int(c);
    EXPECT_EQ(kHotKeyAlphabet.size(), 36);
    EXPECT_EQ(kLowerHotKeyAlphabet.size(), 36);
}

TEST(Easing, CurvesOfTheTable)
{
    for (int i = 0; i < kEasingCount; ++i) {
        EXPECT_NEAR(easeIn(i, 0.0), 0.0, 1e-12) << i;
        EXPECT_NEAR(easeIn(i, 1.0), 1.0, 1e-12) << i;
    }
    EXPECT_DOUBLE_EQ(easeIn(0, 0.5), 0.5);
    EXPECT_DOUBLE_EQ(easeIn(1, 0.5), 0.25);
    EXPECT_DOUBLE_EQ(easeIn(2, 0.5), 0.125);
    EXPECT_DOUBLE_EQ(easeIn(3, 0.5), 0.0625);
    EXPECT_DOUBLE_EQ(easeIn(4, 0.5), 0.03125);
    EXPECT_NEAR(easeIn(5, 0.5), 1 - std::cos(M_PI / 4), 1e-12);
    EXPECT_DOUBLE_EQ(easeIn(6, 0.5), 1.0 / 32);
    EXPECT_NEAR(easeIn(7, 0.5), 1 - std::sqrt(0.75), 1e-12);
    EXPECT_NEAR(easeIn(10, 0.5), 0.234375, 1e-12);
    EXPECT_NEAR(easeIn(10, 0.1), 1 - (7.5625 * std::pow(0.9 - 2.25 / 2.75, 2) + 0.9375), 1e-12);
    EXPECT_NEAR(easeIn(10, 0.02), 1 - (7.5625 * std::pow(0.98 - 2.625 / 2.75, 2) + 0.984375),
                1e-12);
    // Back dips to about -0.1 near u = 0.42 and stays below 0 until about 0.63.
    double lowest = 1, at = 0;
    for (int k = 0; k <= 1000; ++k) {
        const double u = k / 1000.0, p = easeIn(9, u);
        if (p < lowest) {
            lowest = p;
            at = u;
        }
    }
    EXPECT_NEAR(lowest, -0.1, 0.005);
    EXPECT_NEAR(at, 0.42, 0.02);
    EXPECT_LT(easeIn(9, 0.62), 0);
    EXPECT_GT(easeIn(9, 0.64), 0);
    // Elastic swings below 0 (to about -0.37) before it rises.
    double elasticLow = 0;
    for (int k = 1; k < 1000; ++k)
        elasticLow = std::min(elasticLow, easeIn(8, k / 1000.0));
    EXPECT_NEAR(elasticLow, -0.37, 0.02);
    EXPECT_DOUBLE_EQ(easeIn(-3, 0.5), 0.5);             // clamped to Linear
    EXPECT_DOUBLE_EQ(easeIn(15, 0.5), easeIn(10, 0.5)); // clamped to Bounce
}

namespace {
DisplayInfo D(int x, int y, int w, int h, int taskbar = 0)
{
    return DisplayInfo{QRect(x, y, w, h), QRect(x, y, w, h - taskbar)};
}
} // namespace

TEST(Displays, CentreAndContainingDisplay)
{
    EXPECT_EQ(mainWindowCentre(QRect(0, 0, 1280, 800)), QPoint(640, 400));
    EXPECT_EQ(mainWindowCentre(QRect(-7, -3, 10, 5)),
              QPoint(-2, -1)); // halving truncates toward zero
    const std::vector<DisplayInfo> two{D(0, 0, 1280, 800), D(1280, 0, 1920, 1080)};
    EXPECT_EQ(displayContaining(two, QPoint(1279, 799)), 0);
    EXPECT_EQ(displayContaining(two, QPoint(1280, 0)), 1);
    EXPECT_EQ(displayContaining(two, QPoint(1280, 1080)), -1);
}

TEST(Displays, DisplayAtAPointAndMonitorChoices)
{
    const std::vector<DisplayInfo> one{D(0, 0, 1920, 1080)};
    const std::vector<DisplayInfo> two{D(0, 0, 1280, 800, 40), D(1280, 0, 1920, 1080)};
    const std::vector<DisplayInfo> three{D(0, 0, 1280, 800), D(1280, 0, 1920, 1080),
                                         D(3200, 0, 1024, 768)};
    EXPECT_EQ(displayAtPoint(one, QPoint(-5000, -5000)), 0);
    EXPECT_EQ(displayAtPoint(two, QPoint(100, 780)), 0);  // on display 0's task bar: still nearest
    EXPECT_EQ(displayAtPoint(two, QPoint(1270, 790)), 1); // a task bar corner next to display 1
    EXPECT_EQ(displayAtPoint(two, QPoint(100, 700)), 0);
    EXPECT_EQ(displayAtPoint(two, QPoint(-100, 100)), 0);
    EXPECT_EQ(displayAtPoint(three, QPoint(5000, 900)), 2);

    EXPECT_EQ(monitorChoices(one, QPoint(500, 500)), std::vector<int>{});
    EXPECT_EQ(monitorChoices(two, QPoint(640, 400)), std::vector<int>{1});
    EXPECT_EQ(monitorChoices(two, QPoint(2000, 500)), std::vector<int>{0});
    EXPECT_EQ(monitorChoices(three, QPoint(2000, 500)), (std::vector<int>{0, 2}));
    EXPECT_EQ(monitorChoices(three, QPoint(640, 400)), (std::vector<int>{1, 2}));
    EXPECT_EQ(monitorChoices(three, QPoint(3500, 300)), (std::vector<int>{0, 1}));
}

TEST(Split, Arithmetic)
{
    EXPECT_EQ(split::kMinClientWidth, 738);
    EXPECT_DOUBLE_EQ(split::freeWidth(1200), 462);
    EXPECT_DOUBLE_EQ(split::panelWidth(split::freeWidth(1200), 0.25), 351.5);
    EXPECT_DOUBLE_EQ(1200 - split::kSplitterWidth - split::panelWidth(462, 0.25), 840.5);
    EXPECT_DOUBLE_EQ(split::panelWidth(0, 0.5), 236);
    EXPECT_DOUBLE_EQ(split::panelWidth(100, 7), 336); // ratio clamped
    EXPECT_DOUBLE_EQ(split::ratioFromPanel(1200 - 8 - 494, 462), 1);
    EXPECT_DOUBLE_EQ(split::ratioFromPanel(200, 462), 0);
}

TEST(Scroll, TargetsAndGlide)
{
    // Below the view: the bottom of the view comes to the wanted bottom.
    EXPECT_DOUBLE_EQ(scroll::targetTop(0, 300, 400, 478 + 16), 194);
    // Above the view: the top wins.
    EXPECT_DOUBLE_EQ(scroll::targetTop(500, 300, 100, 216), 100);
    // In view with room to spare: no change.
    EXPECT_DOUBLE_EQ(scroll::targetTop(100, 300, 150, 300), 100);
    // Taller than the view: the top wins.
    EXPECT_DOUBLE_EQ(scroll::targetTop(0, 100, 50, 400), 50);
    // Nothing shown: glide to the top.
    EXPECT_DOUBLE_EQ(scroll::targetTop(250, 300, 0, 16), 0);

    double y = 0;
    bool arrived = false;
    int steps = 0;
    while (!arrived && steps < 1000) {
        y = scroll::glideStep(y, 500, &arrived);
        ++steps;
    }
    EXPECT_DOUBLE_EQ(y, 500);
    EXPECT_GE(steps, 24);
    EXPECT_LE(steps, 28); // about one second of 40 ms steps
    EXPECT_DOUBLE_EQ(scroll::glideStep(100, 200, &arrived), 125);
    EXPECT_FALSE(arrived);
}

TEST(FolderDialogRules, FlagsPlacementVersion)
{
    EXPECT_EQ(browseFlags(optionBit(fdoShareable)), 0u);
    EXPECT_EQ(browseFlags(optionBit(fdoNewDialogStyle) | optionBit(fdoShareable)), 0x8040u);
    EXPECT_EQ(browseFlags(optionBit(fdoNewDialogStyle)), 0x40u);
    EXPECT_EQ(browseFlags(optionBit(fdoBrowseForComputer) | optionBit(fdoEditBox) |
                          optionBit(fdoReturnOnlyFSDirs)),
              0x1011u);
    EXPECT_EQ(dialogPlacement(fdpXY, {}, {}, QSize(300, 200), QPoint(-50, 30)), QPoint(0, 30));
    EXPECT_EQ(dialogPlacement(fdpParentFormCenter, QRect(QPoint(100, 100), QPoint(900, 600)), {},
                              QSize(300, 201), {}),
              QPoint(350, 250));
    EXPECT_EQ(
        dialogPlacement(fdpScreenCenter, {}, QRect(1920, 40, 1920, 1040), QSize(400, 300), {}),
        QPoint(2680, 410));
    EXPECT_EQ(dialogPlacement(fdpDefault, QRect(640, 400, 0, 0), {}, QSize(400, 300), {}),
              QPoint(660, 420));
    EXPECT_EQ(folderDialogVersion(), QStringLiteral("1.1.4.0"));
}

TEST(Colours, ContrastRatioFollowsTheRelativeLuminanceRule)
{
    using ozv::colours::contrastRatio;
    EXPECT_NEAR(contrastRatio(0xFF000000, 0xFFFFFFFF), 21.0, 1e-9);
    EXPECT_NEAR(contrastRatio(0xFFFFFFFF, 0xFF000000), 21.0, 1e-9); // either order
    EXPECT_NEAR(contrastRatio(0xFF777777, 0xFF777777), 1.0, 1e-9);
    EXPECT_NEAR(contrastRatio(0xFFFFFFFF, 0xFF767676), 4.54, 0.01); // the known 4.5:1 grey
}
