// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Ozvenka developers
#pragma once
// One frame of the picture cross-fade, shown on black: the start picture at opacity 1 - p, then
// the target picture at opacity p blended source-over on it (opacities clamped to 0..1). Half-way
// through, a quarter of the black shows through two opaque pictures: the darker middle.

#include <QImage>
#include <QPainter>

namespace ozv {

/// The frame drawn with a painter onto what `painter` holds (black, for the picture window),
/// both pictures stretched over `rect`. The reference for every other way of drawing it.
void drawCrossFade(QPainter& painter, const QRect& rect, const QImage& start, const QImage& target,
                   double p);

/// The same frame composed in one pass over both pictures into `out` (made `size` x RGB32 if it
/// is not), black included; a null picture counts as black. Pictures not of `size` or not in
/// premultiplied ARGB32 are drawn the reference way instead. Thread-safe for distinct `out`s.
void composeCrossFade(const QImage& start, const QImage& target, double p, QSize size, QImage& out);

/// The vector code the compose runs: each width draws the same frame, a wider one faster.
enum class VectorWidth { Scalar, Sse2, Avx2 };

/// The widest vector code in use: at start, the widest this processor runs.
VectorWidth crossFadeVectorWidth();

/// Uses at most `widest` (and no more than the processor runs) from now on; returns what is in
/// use. For checking each width against the reference and timing them.
VectorWidth setCrossFadeVectorWidth(VectorWidth widest);

} // namespace ozv
