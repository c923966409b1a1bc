// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Ozvenka developers
// The picture window's two ways of drawing a cross-fade, the graphics card's and the raster
// thread's, each against the painter's reference frame. The GPU cases need an OpenGL context
// (a display with Mesa's software renderer will do) and are skipped without one.

#include "CrossFadeGl.h"
#include "CrossFadeSamples.h"
#include "Displays.h"
#include "ImageForm.h"
#include "IniStore.h"
#include "TestSupport.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFramebufferObject>
#include <gtest/gtest.h>

using namespace ozv;
using namespace ozv::test;

namespace {

struct OneDisplay : DisplaySource
{
    std::vector<DisplayInfo> displays() const override
    {
        const QRect r(0, 0, 64, 40);
        return {DisplayInfo{r, r}};
    }
};

// Which path the window takes, for one test.
class PicturePath
{
public:
    explicit PicturePath(const char* path) : m_old(qgetenv("OZV_PICTURES"))
    {
        qputenv("OZV_PICTURES", path);
    }
    ~PicturePath() { qputenv("OZV_PICTURES", m_old); }

private:
    QByteArray m_old;
};

bool haveOpenGl()
{
    QOpenGLContext context;
    return context.create();
}

// A fade from one letterboxed, partly translucent picture to another, checked while it runs
// and at its end.
void checkFramesOf(TImageForm& window, int tolerance)
{
    TempFolder folder;
    const QString a = folder.path(QStringLiteral("a.png")),
                  b = folder.path(QStringLiteral("b.png"));
    ASSERT_TRUE(crossFadeSample(false, window.pictureSize()).save(a));
    ASSERT_TRUE(crossFadeSample(true, window.pictureSize()).save(b));
    window.LoadBitmap(a);
    window.LoadBitmap(b); // from a at once: a fade between two pictures
    int checkedMidway = 0;
    QElapsedTimer clock;
    clock.start();
    while (window.animating() && clock.elapsed() < 5000) {
        QApplication::processEvents(QEventLoop::AllEvents, 20);
        window.presentPendingFrame();
        const double p = window.progress();
        if (p <= 0.05 || p >= 0.95) continue;
        ++checkedMidway;
        ASSERT_LE(largestDifference(window.presentedFrame(), window.currentFrame()), tolerance)
            << "at p = " << p;
    }
    EXPECT_GT(checkedMidway, 0);
    window.presentPendingFrame();
    EXPECT_LE(largestDifference(window.presentedFrame(), window.currentFrame()), tolerance);
    EXPECT_GT(window.framesPresented(), 2);
}

} // namespace

TEST(FramePaths, TheRasterThreadPresentsTheReferenceFrame)
{
    PicturePath path("raster");
    IniStore settings;
    OneDisplay display;
    TImageForm window(settings, display, -1, QPoint(-1000, -1000), nullptr);
    ASSERT_FALSE(window.onGpu());
    checkFramesOf(window, 3);
}

TEST(FramePaths, TheGraphicsCardPresentsTheReferenceFrame)
{
    if (!haveOpenGl()) GTEST_SKIP() << "no OpenGL context on this platform";
    PicturePath path("gpu");
    IniStore settings;
    OneDisplay display;
    TImageForm window(settings, display, -1, QPoint(-1000, -1000), nullptr);
    if (!window.onGpu()) GTEST_SKIP() << "this platform shows no OpenGL widgets";
    checkFramesOf(window, 3);
}

TEST(FramePaths, TheShaderFollowsTheRuleForEveryProgress)
{
    if (!haveOpenGl()) GTEST_SKIP() << "no OpenGL context on this platform";
    QOpenGLContext context;
    ASSERT_TRUE(context.create());
    QOffscreenSurface surface;
    surface.setFormat(context.format());
    surface.create();
    ASSERT_TRUE(context.makeCurrent(&surface));
    const QImage start = crossFadeSample(false), target = crossFadeSample(true);
    const QSize size = start.size();
    QOpenGLFramebufferObject fbo(size);
    ASSERT_TRUE(fbo.bind());
    context.functions()->glViewport(0, 0, size.width(), size.height());
    TCrossFadeGl gl;
    ASSERT_TRUE(gl.valid());
    const std::pair<QImage, QImage> pairs[] = {
        {start, target}, {QImage(), target}, {start, QImage()}};
    for (const auto& [from, to] : pairs)
        for (double p : {-0.1, 0.0, 0.3, 0.5, 0.77, 1.0, 1.2}) {
            gl.render(from, to, p);
            EXPECT_LE(largestDifference(fbo.toImage(), referenceCrossFade(from, to, p, size)), 3)
                << "p = " << p << (from.isNull() ? ", from black" : "")
                << (to.isNull() ? ", to black" : "");
        }
    fbo.release();
    context.doneCurrent();
}
