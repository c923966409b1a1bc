#include "Thumbnail.h"
#include "TestSupport.h"

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
    EXPECT_TRUE(error.contains(QStringLiteral("too large"))) << error.toStdString();
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
