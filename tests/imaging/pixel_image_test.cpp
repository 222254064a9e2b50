#include <tessiv/imaging/pixel_image.h>

#include <gtest/gtest.h>

namespace {

using kolt::ColorI;
using kolt::PixelImage;

PixelImage Filled(unsigned int w, unsigned int h, unsigned long colour)
{
    PixelImage image;
    image.SetSize(w, h);
    image.Fill(ColorI(colour));
    return image;
}

TEST(PixelImage, SetSizeMakesRowsOfWidthTopToBottomOrThrowsAndCopiesAreDeep)
{
    PixelImage image;
    EXPECT_EQ(image.Width(), 0u);
    EXPECT_EQ(image.GetBufferEnd(), image.GetBuffer());
    image.SetSize(3, 2);
    EXPECT_EQ(image.Width(), 3u);
    EXPECT_EQ(image.Height(), 2u);
    EXPECT_EQ(image.GetBufferEnd() - image.GetBuffer(), 6);
    for (unsigned int y = 0; y < 2; ++y)
        for (unsigned int x = 0; x < 3; ++x)
            image(x, y) = ColorI(static_cast<unsigned long>(10 * y + x));
    EXPECT_EQ(static_cast<unsigned long>(image.GetBuffer()[4]), 11ul) << "pixel (1, 1) is element 1 * 3 + 1";
    image.SetSize(2, 5);
    EXPECT_EQ(image.GetBufferEnd() - image.GetBuffer(), 10);
    image.Fill(ColorI(0x01020304ul));
    PixelImage copy(image);
    PixelImage assigned;
    assigned = image;
    image(1, 4) = ColorI(0ul);
    for (PixelImage const *other : {&copy, &assigned}) {
        EXPECT_EQ(other->Width(), 2u);
        EXPECT_EQ(other->Height(), 5u);
        EXPECT_EQ(static_cast<unsigned long>((*other)(1, 4)), 0x01020304ul) << "copies are deep";
    }

    EXPECT_THROW(image.SetSize(65536, 65536), std::bad_alloc);
    EXPECT_EQ(image.Width(), 2u) << "a size too large keeps the image";
    EXPECT_EQ(image.GetBufferEnd() - image.GetBuffer(), 10);
    EXPECT_EQ(static_cast<unsigned long>(image(1, 3)), 0x01020304ul);
}

TEST(PixelImage, NeighbourhoodLooksAtTheFourEdgeNeighboursOnly)
{
    EXPECT_TRUE(Filled(2, 2, 0xFFFFFFFFul).IsAroundExistWhite(0, 0));
    EXPECT_FALSE(Filled(1, 1, 0xFFFFFFFFul).IsAroundExistWhite(0, 0)) << "a lone pixel has no neighbours";

    // Black only on the diagonal and in the pixel itself: no match.
    PixelImage image = Filled(3, 3, 0xFF808080ul);
    image(1, 1) = ColorI(0xFF000000ul);
    image(0, 0) = ColorI(0xFF000000ul);
    image(2, 2) = ColorI(0xFF000000ul);
    EXPECT_FALSE(image.IsAroundExistBlack(1, 1));
    EXPECT_TRUE(image.IsAroundExistBlack(1, 0)) << "left (0, 0) and below (1, 1) are black";
    EXPECT_TRUE(image.IsAroundExistBlack(2, 1)) << "left and below";
    EXPECT_FALSE(image.IsAroundExistBlack(2, 0)) << "only the diagonal (1, 1)";

    // Each edge neighbour alone, with the image border around it.
    struct Case {
        unsigned int nx, ny;
    } const neighbours[] = {{0, 1}, {2, 1}, {1, 0}, {1, 2}};
    for (Case const &n : neighbours) {
        PixelImage trans = Filled(3, 3, 0xFF000000ul);
        trans(n.nx, n.ny) = ColorI(0x00FFFFFFul);
        EXPECT_TRUE(trans.IsAroundExistTrans(1, 1)) << n.nx << "," << n.ny;
        EXPECT_TRUE(trans.IsAroundExistWhite(1, 1)) << "white with alpha 0 is still white";
    }
    PixelImage corner = Filled(3, 3, 0xFF000000ul);
    corner(2, 2) = ColorI(0x00FFFFFFul);
    EXPECT_FALSE(corner.IsAroundExistTrans(0, 0));
    EXPECT_TRUE(corner.IsAroundExistWhite(2, 1));
}

TEST(PixelImage, GetBestColorTruncatesEachTermAlone)
{
    PixelImage image = Filled(3, 2, 0);
    image(0, 0) = ColorI(255, 1, 10, 200);
    image(1, 0) = ColorI(0, 1, 20, 100);
    image(2, 0) = ColorI(40, 0, 0, 0);
    image(0, 1) = ColorI(100, 0, 0, 0);
    image(2, 1) = ColorI(80, 0, 0, 0);

    ColorI c = image.GetBestColor(1, 0);
    EXPECT_EQ(static_cast<unsigned long>(c), static_cast<unsigned long>(image(1, 0))) << "whole numbers";
    c = image.GetBestColor(0.5, 0);
    EXPECT_EQ(c[2], 127) << "halfway between 255 and 0";
    EXPECT_EQ(c[1], 0) << "halfway between 1 and 1: both halves truncate to 0";
    EXPECT_EQ(c[0], 15);
    EXPECT_EQ(c[3], 150);
    c = image.GetBestColor(0, 0.25);
    EXPECT_EQ(c[2], 191 + 25) << "0.75 * 255 truncated plus 0.25 * 100";
    // Last column: the fraction in x is ignored; last row likewise in y.
    c = image.GetBestColor(2.5, 0.5);
    EXPECT_EQ(c[2], 60);
    c = image.GetBestColor(0.5, 1.75);
    EXPECT_EQ(c[2], 50);
}

}  // namespace
