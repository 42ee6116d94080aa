#include "embeddedimages.h"

#include <QSet>

#include <gtest/gtest.h>

namespace {

struct IconCase {
    const char* name;
    int width, height;
    bool alpha;
};

const IconCase icons[] = { { "zoomin.png", 22, 22, true }, { "zoomout.png", 22, 22, true },
    { "save.png", 24, 22, false }, { "print.png", 24, 23, false } };

} // namespace

TEST(EmbeddedImages, TheTableHoldsTheFourIconsInCompressedLayout)
{
    int count = 0;
    for (const EmbeddedImage* record = embeddedImages; record->data; ++record, ++count) {
        // qCompress layout: the big-endian count of uncompressed bytes leads the zlib stream.
        const unsigned long size = (static_cast<unsigned long>(record->data[0]) << 24)
            | (record->data[1] << 16) | (record->data[2] << 8) | record->data[3];
        EXPECT_EQ(size, static_cast<unsigned long>(record->width * record->height * 4))
            << record->name;
        EXPECT_EQ(record->depth, 32);
        EXPECT_EQ(record->colourTable, nullptr);
    }
    EXPECT_EQ(count, 4);
}

TEST(EmbeddedImages, IconsDecodeToTheirSizesWithAlphaWhereTheTableSaysSo)
{
    for (const IconCase& icon : icons) {
        const QImage image = findEmbeddedImage(QString::fromUtf8(icon.name));
        ASSERT_FALSE(image.isNull()) << icon.name;
        EXPECT_EQ(image.size(), QSize(icon.width, icon.height));
        EXPECT_EQ(image.depth(), 32);
        EXPECT_EQ(image.hasAlphaChannel(), icon.alpha);
        const QRgb corner = image.pixel(0, 0);
        if (icon.alpha) {
            EXPECT_EQ(qAlpha(corner), 0) << icon.name; // transparent ground
        } else {
            EXPECT_EQ(corner, qRgb(192, 192, 192)) << icon.name; // opaque light grey ground
        }
        // A picture, not a blank: several colours besides the ground.
        QSet<QRgb> colours;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                colours.insert(image.pixel(x, y));
        EXPECT_GE(colours.size(), 3) << icon.name;
    }
    EXPECT_NE(findEmbeddedImage("zoomin.png"), findEmbeddedImage("zoomout.png"));
}

TEST(EmbeddedImages, NamesAreMatchedExactlyWithLetterCase)
{
    EXPECT_TRUE(findEmbeddedImage("ZoomIn.png").isNull());
    EXPECT_TRUE(findEmbeddedImage("SAVE.PNG").isNull());
    EXPECT_TRUE(findEmbeddedImage("zoomin").isNull());
    EXPECT_TRUE(findEmbeddedImage("").isNull());
    EXPECT_TRUE(findEmbeddedImage("unknown.png").isNull());
}

TEST(EmbeddedImageFactory, DecodesOnceAndServesRegisteredImages)
{
    EmbeddedImageFactory& factory = EmbeddedImageFactory::instance();
    EXPECT_EQ(&factory, &EmbeddedImageFactory::instance());
    const QImage first = factory.image("print.png");
    ASSERT_FALSE(first.isNull());
    EXPECT_EQ(factory.image("print.png").cacheKey(), first.cacheKey()); // the cached image
    EXPECT_EQ(factory.pixmap("print.png").size(), QSize(24, 23));
    EXPECT_TRUE(factory.image(QString()).isNull());
    EXPECT_TRUE(factory.image("Print.png").isNull());

    QImage own(3, 3, QImage::Format_ARGB32);
    own.fill(Qt::red);
    factory.setImage("marker.png", own);
    EXPECT_EQ(factory.image("marker.png"), own);
}
