// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Ozvenka developers
#include "WidgetFixture.h"

#include "ImageForm.h"

#include "PictureBoard.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTest>

namespace ozv::test {

std::vector<DisplayInfo> oneDisplay()
{
    return {DisplayInfo{QRect(0, 0, 1280, 800), QRect(0, 0, 1280, 760)}};
}

std::vector<DisplayInfo> twoDisplays()
{
    return {DisplayInfo{QRect(0, 0, 1280, 800), QRect(0, 0, 1280, 760)},
            DisplayInfo{QRect(1280, 0, 1920, 1080), QRect(1280, 0, 1920, 1080)}};
}

std::vector<DisplayInfo> threeDisplays()
{
    auto d = twoDisplays();
    d.push_back(DisplayInfo{QRect(3200, 0, 1024, 768), QRect(3200, 0, 1024, 768)});
    return d;
}

void WidgetTest::SetUp()
{
    displays.list = twoDisplays();
    engine = std::make_unique<audio::AudioEngine>(audio::AudioEngine::Mode::Offline);
}

void WidgetTest::TearDown()
{
    if (form) closeWindow();
    engine.reset();
    QApplication::processEvents();
    // No window may outlive its test.
    int leaked = 0;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible()) ++leaked;
    EXPECT_EQ(leaked, 0);
}

TMainForm& WidgetTest::open(const QString& folder)
{
    form = std::make_unique<TMainForm>(*engine, displays, settingsPath(),
                                       folder.isEmpty() ? show.path() : folder);
    form->setGeometry(0, 0, 1200, 760);
    form->show();
    QApplication::processEvents();
    return *form;
}

void WidgetTest::loadThumbnails()
{
    QElapsedTimer t;
    t.start();
    while (form->pictures().threads() > 0 && t.elapsed() < 10000) {
        form->pictures().loader().waitForDone();
        QApplication::processEvents();
    }
}

void WidgetTest::waitForPicture()
{
    QElapsedTimer t;
    t.start();
    while (form->imageForm() && form->imageForm()->pending() && t.elapsed() < 10000)
        QApplication::processEvents(QEventLoop::AllEvents, 5);
}

void WidgetTest::render(int frames)
{
    std::vector<float> buf(2 * audio::AudioEngine::kPeriodFrames);
    for (int done = 0; done < frames; done += audio::AudioEngine::kPeriodFrames) {
        engine->waitUntilIdle();
        engine->render(buf.data(), audio::AudioEngine::kPeriodFrames);
    }
}

void WidgetTest::closeWindow()
{
    loadThumbnails();
    form.reset();
    QApplication::processEvents();
}

} // namespace ozv::test
