#include "readalong/ReadAlongImages.h"

#include "ImageColours.h"

#include <gtest/gtest.h>

using lurvo::readalong::readAlongIcon;
using lurvo::readalong::ReadAlongImage;

TEST(ReadAlongImages, AreDrawnSharpForAScaledScreen) {
    for (const ReadAlongImage image : {ReadAlongImage::Previous, ReadAlongImage::PlayLesson,
                                       ReadAlongImage::Record, ReadAlongImage::Exit})
        for (const bool recording : {false, true}) {
            const QIcon icon = readAlongIcon(image, recording);
            const QPixmap doubled = icon.pixmap(QSize(50, 32), 2.0);
            EXPECT_EQ(doubled.devicePixelRatio(), 2.0) << int(image);
            EXPECT_EQ(doubled.size(), QSize(100, 64)) << int(image);
            EXPECT_FALSE(lurvo::test::blownUp(doubled.toImage())) << int(image);
            const QPixmap greyed = icon.pixmap(QSize(50, 32), 2.0, QIcon::Disabled);
            EXPECT_EQ(greyed.size(), QSize(100, 64)) << int(image);
            EXPECT_NE(greyed.toImage(), doubled.toImage()) << "the greyed look has its own";
            EXPECT_EQ(icon.pixmap(QSize(50, 32), 1.0).size(), QSize(50, 32));
        }
}
