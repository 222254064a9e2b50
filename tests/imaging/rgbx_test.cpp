#include <tessiv/imaging/rgbx.h>

#include <gtest/gtest.h>

#include <cstring>

namespace {

TEST(RgbxTest, ConstructorsFillTheBytesInMemoryOrderBlueGreenRedReserved)
{
    RGBX const zero;
    RGBX const from_channels(0x33, 0x22, 0x11);
    RGBX const from_colorref(COLORREF(0xAA112233));
    unsigned char const expected_zero[4] = {0, 0, 0, 0};
    unsigned char const expected[4] = {0x11, 0x22, 0x33, 0};
    EXPECT_EQ(std::memcmp(&zero, expected_zero, 4), 0);
    EXPECT_EQ(std::memcmp(&from_channels, expected, 4), 0) << "arguments are red, green, blue";
    EXPECT_EQ(std::memcmp(&from_colorref, expected, 4), 0)
        << "a COLORREF has red in its low byte; its top byte is dropped";
}

TEST(RgbxTest, EqualsAndIsGrayIgnoreTheReservedByte)
{
    RGBX a(10, 20, 30), b(10, 20, 30);
    b.btUnused = 99;
    EXPECT_EQ(a.Equals(b), 1);
    EXPECT_EQ(a.Equals(RGBX(10, 20, 31)), 0);
    EXPECT_EQ(a.Equals(RGBX(11, 20, 30)), 0);
    EXPECT_EQ(a.Equals(RGBX(10, 21, 30)), 0);

    RGBX gray(7, 7, 7);
    gray.btUnused = 1;
    EXPECT_TRUE(gray.IsGray());
    EXPECT_FALSE(RGBX(7, 7, 8).IsGray());
    EXPECT_FALSE(RGBX(8, 7, 7).IsGray());

    RGBX copy;
    copy = b;
    EXPECT_EQ(copy.btUnused, 99) << "assignment copies all four bytes";
}

TEST(RgbxTest, GrayWeighsThreeSixOneAndTruncates)
{
    struct Case {
        RGBX pixel;
        int gray, special;
    };
    Case const cases[] = {
        {RGBX(255, 0, 0), 76, 76},      // 765 / 10
        {RGBX(0, 255, 0), 153, 255},    // above 150 washes out
        {RGBX(0, 0, 255), 25, 25},
        {RGBX(255, 255, 255), 255, 255},
        {RGBX(150, 150, 150), 150, 150},  // 150 itself stays
        {RGBX(151, 151, 151), 151, 255},
        {RGBX(0, 0, 0), 0, 0},
        {RGBX(1, 1, 9), 1, 1},  // 18 / 10 truncates
    };
    for (Case const &c : cases) {
        RGBX pixel = c.pixel;
        pixel.btUnused = 0x5A;
        RGBX const gray = pixel.Gray();
        RGBX const special = pixel.GraySpecial();
        EXPECT_TRUE(gray.Equals(RGBX(c.gray, c.gray, c.gray)))
            << int(c.pixel.btRed) << "," << int(c.pixel.btGreen) << "," << int(c.pixel.btBlue)
            << " gray " << int(gray.btRed);
        EXPECT_TRUE(special.Equals(RGBX(c.special, c.special, c.special)))
            << "special gray " << int(special.btRed);
        EXPECT_EQ(gray.btUnused, 0);
        EXPECT_EQ(special.btUnused, 0);
    }
}

}  // namespace
