#include <tessiv/imaging/index_image.h>

#include <gtest/gtest.h>

namespace {

using kolt::ColorI;
using kolt::IndexImage;

TEST(IndexImage, IndicesAndTableAreSeparateAndDeep)
{
    IndexImage image;
    image.SetPaletteSize(2);
    image.Palette(0) = ColorI(0xFF000000ul);
    image.Palette(1) = ColorI(0xFFFFFFFFul);
    image.SetSize(3, 2);
    for (unsigned int y = 0; y < 2; ++y)
        for (unsigned int x = 0; x < 3; ++x)
            image(x, y) = static_cast<unsigned char>((x + y) % 2);
    EXPECT_EQ(static_cast<unsigned long>(image.Palette(image(1, 0))), 0xFFFFFFFFul);

    IndexImage copy(image);
    image(1, 0) = 0;
    image.Palette(1) = ColorI(0ul);
    EXPECT_EQ(copy(1, 0), 1);
    EXPECT_EQ(static_cast<unsigned long>(copy.Palette(1)), 0xFFFFFFFFul);

    IndexImage assigned;
    assigned = copy;
    EXPECT_TRUE(assigned.Width() == 3 && assigned.Height() == 2 && assigned.PaletteSize() == 2);
    EXPECT_EQ(assigned(2, 1), 1);
}

TEST(IndexImage, GrowingKeepsEarlierEntries)
{
    IndexImage image;
    image.SetPaletteSize(1);
    image.Palette(0) = ColorI(0x11223344ul);
    image.SetPaletteSize(300);
    EXPECT_EQ(image.PaletteSize(), 300u);
    EXPECT_EQ(static_cast<unsigned long>(image.Palette(0)), 0x11223344ul);
    image.SetSize(2, 1);
    image(1, 0) = 9;
    image.SetSize(1, 2);
    EXPECT_EQ(image(0, 1), 9) << "the index array keeps its elements when its count stays";
    EXPECT_THROW(image.SetSize(70000, 70000), std::bad_alloc);
}

}  // namespace
