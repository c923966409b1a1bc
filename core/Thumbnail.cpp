// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Ozvenka developers
#include "Thumbnail.h"

#include "FileAccess.h"

#include <QFile>

#include <QImageReader>
#include <QPainter>
#include <algorithm>
#include <unistd.h>

namespace ozv {

QSize thumbnailSize(QSize picture, QSize fitBox)
{
    const double w = picture.width(), h = picture.height();
    if (w <= 0 || h <= 0 || fitBox.isEmpty()) return QSize();
    const double s = std::max(w / fitBox.width(), h / fitBox.height());
    if (s < 1) return picture;
    return QSize(int(w / s), int(h / s));
}

namespace {

// Whether the reader may go on: the picture is of a reasonable size, or its format decodes at
// a reduced size.
// Whether the format decodes at a reduced size (JPEG). Others that take a scaled size only scale
// the whole picture after decoding it, in its own format, which loses the colours of a 1-bit
// palette picture: those are scaled here, in full colour.
bool decodesReduced(QImageReader& reader)
{
    return reader.format() == "jpeg" && reader.supportsOption(QImageIOHandler::ScaledSize);
}

bool sizeAcceptable(QImageReader& reader, QSize full)
{
    if (!full.isValid() || qint64(full.width()) * full.height() <= kMaxPicturePixels) return true;
    return decodesReduced(reader);
}

// Opens a picture file for a reader: regular files only, never blocking (FileAccess.h).
bool openPicture(const QString& path, QFile& file, QString* reason)
{
    const int fd = openRegularFile(path, reason);
    if (fd < 0) return false;
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        if (reason) *reason = file.errorString();
        return false;
    }
    return true;
}

// Whether the picture's orientation (EXIF) turns it by a quarter: its upright size is its stored
// size transposed.
bool turnsSideways(const QImageReader& reader)
{
    return reader.transformation().testFlag(QImageIOHandler::TransformationRotate90);
}

// In full colour before anything else: scaling a palette picture keeps its format, and a 1-bit
// one loses its colours when reduced.
QImage inFullColour(QImage image)
{
    return image.format() == QImage::Format_ARGB32_Premultiplied
               ? image
               : image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

QImage scaledTo(QImage image, QSize size)
{
    image = inFullColour(std::move(image));
    if (image.size() != size)
        image = image.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    return image;
}

} // namespace

QImage decodeThumbnail(const QString& path, QSize fitBox)
{
    QFile file;
    if (!openPicture(path, file, nullptr)) return QImage();
    QImageReader reader(&file);
    reader.setDecideFormatFromContent(true);
    reader.setAutoTransform(true); // a phone's portrait photo stands upright
    const QSize stored = reader.size();
    if (!sizeAcceptable(reader, stored)) return QImage();
    const bool turned = turnsSideways(reader);
    if (stored.isValid()) {
        const QSize size = thumbnailSize(turned ? stored.transposed() : stored, fitBox);
        if (size.isEmpty()) return QImage();
        // The reader scales before it turns the picture.
        const QSize storedSize = turned ? size.transposed() : size;
        if (storedSize != stored && decodesReduced(reader)) reader.setScaledSize(storedSize);
        // A thumbnail needs no exact inverse DCT nor smooth chroma upsampling: JPEG then takes
        // libjpeg's fast path.
        reader.setQuality(25);
        QImage image = reader.read();
        if (image.isNull()) return QImage();
        return scaledTo(std::move(image), size);
    }
    QImage image = reader.read();
    if (image.isNull()) return QImage();
    const QSize size = thumbnailSize(image.size(), fitBox);
    if (size.isEmpty()) return QImage();
    return scaledTo(std::move(image), size);
}

QImage decodeFitted(const QString& path, QSize target, QString* error)
{
    QFile file;
    QString reason;
    if (!openPicture(path, file, &reason)) {
        if (error)
            *error =
                QStringLiteral("Obrázek \"%1\" nelze otevřít: %2").arg(readableName(path), reason);
        return QImage();
    }
    QImageReader reader(&file);
    reader.setDecideFormatFromContent(true);
    reader.setAutoTransform(true);
    const QSize stored = reader.size();
    const bool turned = turnsSideways(reader);
    const QSize full = turned ? stored.transposed() : stored; // as it stands upright
    if (!sizeAcceptable(reader, stored)) {
        if (error)
            *error = QStringLiteral("Obrázek \"%1\" je příliš velký (%2 x %3).")
                         .arg(readableName(path))
                         .arg(full.width())
                         .arg(full.height());
        return QImage();
    }
    QSize drawSize;
    if (full.isValid() && !full.isEmpty()) {
        drawSize = full.scaled(target, Qt::KeepAspectRatio);
        // Formats that scale while decoding (JPEG) get at least the drawn size, so the final
        // smooth scale only refines it.
        if (decodesReduced(reader) && drawSize.width() < full.width())
            reader.setScaledSize(turned ? drawSize.transposed() : drawSize);
    }
    QImage picture = reader.read();
    if (picture.isNull()) {
        if (error)
            *error = QStringLiteral("Obrázek \"%1\" nelze načíst: %2")
                         .arg(readableName(path), reader.errorString());
        return QImage();
    }
    picture = inFullColour(std::move(picture));
    if (drawSize.isEmpty()) drawSize = picture.size().scaled(target, Qt::KeepAspectRatio);
    QImage out(target, QImage::Format_ARGB32_Premultiplied);
    out.fill(Qt::transparent);
    QPainter painter(&out);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    const QRect rect(
        QPoint((target.width() - drawSize.width()) / 2, (target.height() - drawSize.height()) / 2),
        drawSize);
    painter.drawImage(rect, picture);
    return out;
}

} // namespace ozv
