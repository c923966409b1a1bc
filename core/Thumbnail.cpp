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
bool sizeAcceptable(QImageReader& reader, QSize full)
{
    if (!full.isValid() || qint64(full.width()) * full.height() <= kMaxPicturePixels) return true;
    return reader.format() == "jpeg" && reader.supportsOption(QImageIOHandler::ScaledSize);
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

} // namespace

QImage decodeThumbnail(const QString& path, QSize fitBox)
{
    QFile file;
    if (!openPicture(path, file, nullptr)) return QImage();
    QImageReader reader(&file);
    reader.setDecideFormatFromContent(true);
    reader.setAutoTransform(false);
    const QSize full = reader.size();
    if (!sizeAcceptable(reader, full)) return QImage();
    if (full.isValid()) {
        const QSize size = thumbnailSize(full, fitBox);
        if (size.isEmpty()) return QImage();
        if (size != full && reader.supportsOption(QImageIOHandler::ScaledSize))
            reader.setScaledSize(size);
        // A thumbnail needs no exact inverse DCT nor smooth chroma upsampling: JPEG then takes
        // libjpeg's fast path.
        reader.setQuality(25);
        QImage image = reader.read();
        if (image.isNull()) return QImage();
        if (image.size() != size)
            image = image.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        return image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    }
    QImage image = reader.read();
    if (image.isNull()) return QImage();
    const QSize size = thumbnailSize(image.size(), fitBox);
    if (size.isEmpty()) return QImage();
    if (size != image.size())
        image = image.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    return image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

QImage decodeFitted(const QString& path, QSize target, QString* error)
{
    QFile file;
    QString reason;
    if (!openPicture(path, file, &reason)) {
        if (error)
            *error = QStringLiteral("Cannot open the picture \"%1\": %2")
                         .arg(readableName(path), reason);
        return QImage();
    }
    QImageReader reader(&file);
    reader.setDecideFormatFromContent(true);
    reader.setAutoTransform(false);
    const QSize full = reader.size();
    if (!sizeAcceptable(reader, full)) {
        if (error)
            *error = QStringLiteral("The picture \"%1\" is too large (%2 x %3).")
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
        if (reader.supportsOption(QImageIOHandler::ScaledSize) && drawSize.width() < full.width())
            reader.setScaledSize(drawSize);
    }
    QImage picture = reader.read();
    if (picture.isNull()) {
        if (error)
            *error = QStringLiteral("Cannot decode the picture \"%1\": %2")
                         .arg(readableName(path), reader.errorString());
        return QImage();
    }
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
