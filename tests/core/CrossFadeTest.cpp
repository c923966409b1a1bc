// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Ozvenka developers
// The cross-fade frame composed in one pass against the painter's reference.

#include "CrossFadeSamples.h"

#include <gtest/gtest.h>

using namespace ozv;
using namespace ozv::test;

TEST(CrossFade, OnePassMatchesTheReferenceRule)
{
    const QImage start = crossFadeSample(false), target = crossFadeSample(true);
    const QSize size = start.size();
    struct Case
    {
        const char* what;
        QImage start, target;
    };
    const Case cases[] = {
        {"two pictures", start, target},
        {"from black", QImage(), target},
        {"to black", start, QImage()},
        {"nothing", QImage(), QImage()},
    };
    // Every vector width this processor runs, each over whole lines (the narrower ones also
    // finish the lines of the wider).
    const VectorWidth widest = crossFadeVectorWidth();
    for (VectorWidth width : {VectorWidth::Scalar, VectorWidth::Sse2, VectorWidth::Avx2}) {
        if (setCrossFadeVectorWidth(width) != width) continue; // not on this processor
        for (const Case& c : cases)
            for (double p :
                 {-0.1, 0.0, 0.13, 0.5, 0.87, 1.0, 1.2}) { // Back's dip and Elastic's overshoot
                QImage frame;
                composeCrossFade(c.start, c.target, p, size, frame);
                EXPECT_LE(largestDifference(frame, referenceCrossFade(c.start, c.target, p, size)),
                          2)
                    << c.what << " at p = " << p << ", vector width " << int(width);
            }
    }
    setCrossFadeVectorWidth(widest);
    // The darker middle, to the value: opaque red to opaque blue half-way.
    QImage red(8, 2, QImage::Format_ARGB32_Premultiplied), blue(red), frame;
    red.fill(QColor(255, 0, 0));
    blue.fill(QColor(0, 0, 255));
    composeCrossFade(red, blue, 0.5, red.size(), frame);
    EXPECT_NEAR(qRed(frame.pixel(7, 1)), 64, 1);
    EXPECT_NEAR(qBlue(frame.pixel(7, 1)), 128, 1);
}

TEST(CrossFade, PicturesOfAnotherSizeAreStretchedAsTheReferenceDoes)
{
    // A window resized during a fade still holds pictures prepared for its old size.
    const QImage start = crossFadeSample(false), target = crossFadeSample(true, QSize(20, 10));
    const QSize size(30, 30);
    QImage frame;
    composeCrossFade(start, target, 0.4, size, frame);
    EXPECT_EQ(frame.size(), size);
    EXPECT_LE(largestDifference(frame, referenceCrossFade(start, target, 0.4, size)), 0);
}
