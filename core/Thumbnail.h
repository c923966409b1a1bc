// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Ozvenka developers
#pragma once
// Picture decoding for the picture list and the picture window. Safe on any thread.

#include <QImage>
#include <QSize>
#include <QString>

namespace ozv {

/// Pictures above this many pixels are refused unless their format decodes at a reduced size
/// (JPEG): decoding and scaling them whole would take gigabytes.
constexpr qint64 kMaxPicturePixels = 120'000'000;

/// The box a picture button's thumbnail is fitted into.
constexpr QSize kThumbnailBox(96, 52);

/// The size of a w x h picture's thumbnail in a fit box: reduced with its aspect kept (each
/// side truncated), never enlarged.
QSize thumbnailSize(QSize picture, QSize fitBox);

/// Decodes a thumbnail of `path` (format recognised from the content) fitting `fitBox`, as
/// premultiplied ARGB. Formats that can decode at a reduced size (JPEG) do so. Returns a null
/// image when the file cannot be decoded.
QImage decodeThumbnail(const QString& path, QSize fitBox);

/// Decodes `path` and draws it centred at the largest size that fits `target`, aspect kept,
/// on a transparent `target`-sized picture. Decodes at a reduced size where the format allows.
/// Returns a null image and sets `error` when the file cannot be decoded.
QImage decodeFitted(const QString& path, QSize target, QString* error);

} // namespace ozv
