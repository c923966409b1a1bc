// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Ozvenka developers
#pragma once
// Two small pictures for checking a cross-fade frame against the reference rule: opaque
// colours, the transparent bands of a letterboxed picture, and translucent pixels, at an odd
// width so that every lane and the tail of a line are used.

#include "CrossFade.h"

#include <QImage>
#include <QPainter>
#include <algorithm>
#include <cstdlib>

namespace ozv::test {

inline QImage crossFadeSample(bool target, QSize size = QSize(37, 23))
{
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x) {
            const auto level = [](int v) { return std::clamp(v, 0, 255); };
            QColor c(level(target ? 20 + x * 6 : 250 - x * 5),
                     level(target ? 200 - y * 7 : 30 + y * 9), target ? 240 : 60 + (x * y) % 150);
            if (target ? y < 4 : x < 5)
                c = Qt::transparent; // the letterbox bands
            else if (target ? x > 30 : y > 18)
                c.setAlpha(target ? 90 : 170);
            image.setPixelColor(x, y, c);
        }
    return image;
}

/// The frame by the reference rule: drawn with a painter on black.
inline QImage referenceCrossFade(const QImage& start, const QImage& target, double p, QSize size)
{
    QImage frame(size, QImage::Format_RGB32);
    frame.fill(Qt::black);
    QPainter painter(&frame);
    drawCrossFade(painter, frame.rect(), start, target, p);
    return frame;
}

/// The largest difference of one colour channel between two frames of one size (256 when the
/// sizes differ).
inline int largestDifference(const QImage& a, const QImage& b)
{
    if (a.size() != b.size()) return 256;
    const QImage x = a.convertToFormat(QImage::Format_RGB32);
    const QImage y = b.convertToFormat(QImage::Format_RGB32);
    int worst = 0;
    for (int row = 0; row < x.height(); ++row)
        for (int col = 0; col < x.width(); ++col) {
            const QRgb p = x.pixel(col, row), q = y.pixel(col, row);
            worst = std::max({worst, std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                              std::abs(qBlue(p) - qBlue(q))});
        }
    return worst;
}

} // namespace ozv::test
