// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Ozvenka developers
#include "Thumbnail.h"
#include "TestSupport.h"

#include <QBuffer>
#include <gtest/gtest.h>

using namespace ozv;
using ozv::test::TempFolder;

TEST(Thumbnail, SizeRule)
{
    const QSize box(96, 52);
    EXPECT_EQ(thumbnailSize(QSize(4000, 3000), box), QSize(69, 52));
    EXPECT_EQ(thumbnailSize(QSize(64, 48), box), QSize(64, 48));
    EXPECT_EQ(thumbnailSize(QSize(1920, 1080), box), QSize(92, 52));
    EXPECT_EQ(thumbnailSize(QSize(3000, 100), box), QSize(96, 3));
    EXPECT_EQ(thumbnailSize(QSize(0, 10), box), QSize());
}

TEST(Thumbnail, DecodesByContentAndFailsOnNonPictures)
{
    TempFolder dir;
    const QString big = dir.picture(QStringLiteral("big.jpg"), QSize(4000, 3000));
    const QString small = dir.picture(QStringLiteral("small.png"), QSize(64, 48));
    const QString pngAsJpg = dir.picture(QStringLiteral("photo.jpg"), QSize(200, 100), "PNG");
    const QString text = dir.prepare(QStringLiteral("text.jpg"));
    fixtures::writeText(text, "this is no picture");
    const QString empty = dir.touch(QStringLiteral("empty.png"));

    const QImage a = decodeThumbnail(big, QSize(96, 52));
    EXPECT_EQ(a.size(), QSize(69, 52));
    EXPECT_EQ(a.format(), QImage::Format_ARGB32_Premultiplied);
    EXPECT_EQ(decodeThumbnail(small, QSize(96, 52)).size(), QSize(64, 48));
    EXPECT_EQ(decodeThumbnail(pngAsJpg, QSize(96, 52)).size(), QSize(96, 48));
    EXPECT_TRUE(decodeThumbnail(text, QSize(96, 52)).isNull());
    EXPECT_TRUE(decodeThumbnail(empty, QSize(96, 52)).isNull());
    EXPECT_TRUE(decodeThumbnail(dir.path(QStringLiteral("missing.jpg")), QSize(96, 52)).isNull());
}

TEST(Thumbnail, AGiganticPictureIsRefusedWithoutDecodingIt)
{
    // 20,000 x 20,000 in one bit per pixel: a small file that would need 1.6 GB to scale.
    TempFolder dir;
    const QString path = dir.prepare(QStringLiteral("huge.png"));
    {
        QImage mono(20000, 20000, QImage::Format_Mono);
        mono.fill(0);
        ASSERT_TRUE(mono.save(path, "PNG", 0));
    }
    EXPECT_TRUE(decodeThumbnail(path, QSize(96, 52)).isNull());
    QString error;
    EXPECT_TRUE(decodeFitted(path, QSize(1920, 1080), &error).isNull());
    EXPECT_TRUE(error.contains(QString::fromUtf8("příliš velký"))) << error.toStdString();
}

TEST(Thumbnail, FittedPictureIsCentredWithTransparentMargins)
{
    TempFolder dir;
    const QString portrait = dir.picture(QStringLiteral("portrait.png"), QSize(100, 200));
    QString error;
    const QImage fitted = decodeFitted(portrait, QSize(400, 200), &error);
    ASSERT_FALSE(fitted.isNull()) << error.toStdString();
    EXPECT_EQ(fitted.size(), QSize(400, 200));
    EXPECT_EQ(qAlpha(fitted.pixel(10, 100)), 0);  // bar left
    EXPECT_EQ(qAlpha(fitted.pixel(390, 100)), 0); // bar right
    EXPECT_EQ(qAlpha(fitted.pixel(200, 100)), 255);
    const QString text = dir.prepare(QStringLiteral("bad.jpg"));
    fixtures::writeText(text, "no");
    EXPECT_TRUE(decodeFitted(text, QSize(400, 200), &error).isNull());
    EXPECT_TRUE(error.contains(text));
}

namespace {

// A landscape JPEG (red left half, blue right half) whose EXIF orientation says how it stands:
// 6 is a phone held upright (turn a quarter clockwise), 8 the other way, 3 upside down.
QString orientedJpeg(const TempFolder& dir, const QString& name, int orientation, QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::blue);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width() / 2; ++x)
            image.setPixel(x, y, qRgb(255, 0, 0));
    QByteArray jpeg;
    {
        QBuffer buffer(&jpeg);
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, "JPEG", 95);
    }
    // APP1 "Exif": a big-endian TIFF header and one IFD entry, Orientation (0x0112), SHORT.
    QByteArray exif = QByteArray("\xFF\xE1\x00\x22"
                                 "Exif\x00\x00"
                                 "MM\x00\x2A\x00\x00\x00\x08"
                                 "\x00\x01"
                                 "\x01\x12\x00\x03\x00\x00\x00\x01\x00\x00\x00\x00"
                                 "\x00\x00\x00\x00",
                                 36);
    exif[29] = char(orientation); // the low byte of the SHORT value
    jpeg.insert(2, exif);         // right after the start-of-image marker
    const QString path = dir.prepare(name);
    fixtures::writeText(path, jpeg);
    return path;
}

} // namespace

TEST(Thumbnail, PicturesStandAsTheCameraSays)
{
    TempFolder dir;
    const QString upright = orientedJpeg(dir, QStringLiteral("phone.jpg"), 6, QSize(600, 400));
    const QString big = orientedJpeg(dir, QStringLiteral("big.jpg"), 6, QSize(3000, 2000));
    const QString flipped = orientedJpeg(dir, QStringLiteral("flip.jpg"), 3, QSize(600, 400));
    for (const QString& path : {upright, big}) {
        const QImage thumb = decodeThumbnail(path, kThumbnailBox);
        ASSERT_FALSE(thumb.isNull());
        EXPECT_EQ(thumb.size(), QSize(34, 52)) << path.toStdString(); // portrait, not 78 x 52
        // Turned a quarter clockwise, the left (red) half is now the top.
        EXPECT_GT(qRed(thumb.pixel(17, 5)), 200);
        EXPECT_GT(qBlue(thumb.pixel(17, 46)), 200);
    }
    QString error;
    const QImage stage = decodeFitted(big, QSize(1920, 1080), &error);
    ASSERT_FALSE(stage.isNull()) << error.toStdString();
    EXPECT_EQ(qAlpha(stage.pixel(500, 540)), 0); // margins left and right of a portrait
    EXPECT_GT(qRed(stage.pixel(960, 100)), 200);
    EXPECT_GT(qBlue(stage.pixel(960, 1000)), 200);
    const QImage upsideDown = decodeThumbnail(flipped, kThumbnailBox);
    EXPECT_EQ(upsideDown.size(), QSize(78, 52));
    EXPECT_GT(qBlue(upsideDown.pixel(5, 26)), 200); // the right (blue) half is now left
}

TEST(Thumbnail, PalettePicturesKeepTheirColours)
{
    // Flat slides are often saved with a 1-bit palette: dark blue ground, a yellow band.
    TempFolder dir;
    const QString path = dir.prepare(QStringLiteral("slide.png"));
    QImage slide(1920, 1080, QImage::Format_Mono);
    slide.setColorCount(2);
    slide.setColor(0, qRgb(0, 0, 128));
    slide.setColor(1, qRgb(255, 255, 0));
    slide.fill(0);
    for (int y = 400; y < 700; ++y)
        for (int x = 0; x < 1920; ++x)
            slide.setPixel(x, y, 1);
    ASSERT_TRUE(slide.save(path, "PNG"));
    const QImage thumb = decodeThumbnail(path, kThumbnailBox);
    ASSERT_EQ(thumb.size(), QSize(92, 52));
    EXPECT_EQ(thumb.pixel(46, 5), qRgb(0, 0, 128));
    EXPECT_EQ(thumb.pixel(46, 26), qRgb(255, 255, 0));
    QString error;
    const QImage stage = decodeFitted(path, QSize(960, 540), &error);
    EXPECT_EQ(stage.pixel(480, 270), qRgb(255, 255, 0));
}
