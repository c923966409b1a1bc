// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Ozvenka developers
#pragma once
// A main window on a generated show folder, with an offline sound engine and a set of displays
// the test chooses.

#include "AudioEngine.h"
#include "Displays.h"
#include "MainForm.h"
#include "TestSupport.h"

#include <gtest/gtest.h>
#include <memory>

namespace ozv::test {

struct FakeDisplays : DisplaySource
{
    std::vector<DisplayInfo> list;
    std::vector<DisplayInfo> displays() const override { return list; }
};

/// Display arrangements: one, two side by side (1280 x 800 and 1920 x 1080), three.
std::vector<DisplayInfo> oneDisplay();
std::vector<DisplayInfo> twoDisplays();
std::vector<DisplayInfo> threeDisplays();

class WidgetTest : public ::testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;

    /// Creates and shows the main window on `folder` (the show folder when empty).
    TMainForm& open(const QString& folder = QString());
    /// Lets every thumbnail arrive.
    void loadThumbnails();
    /// Lets the chosen picture arrive on the picture monitor (it is decoded in the background).
    void waitForPicture();
    /// Renders `frames` frames of the offline engine (background threads kept up).
    void render(int frames);
    QString settingsPath() const { return config.path(QStringLiteral("Settings.ini")); }
    /// The store as written now (the file is written when the window goes).
    void closeWindow();

    TempFolder show;
    TempFolder config;
    FakeDisplays displays;
    std::unique_ptr<audio::AudioEngine> engine;
    std::unique_ptr<TMainForm> form;
};

} // namespace ozv::test
