#include <tessiv/imaging/rgbx.h>

#include <gtest/gtest.h>

#include <cstring>
#include <utility>

namespace {

TEST(RgbxTest, ConstructorsFillBlueGreenRedReservedAndCompareIgnoresReserved)
{
    unsigned char const expected[4] = {0x11, 0x22, 0x33, 0};
    RGBX const from_channels(0x33, 0x22, 0x11);
    RGBX from_colorref(COLORREF(0xAA112233));
    EXPECT_EQ(std::memcmp(&from_channels, expected, 4), 0) << "arguments are red, green, blue";
    EXPECT_EQ(std::memcmp(&from_colorref, expected, 4), 0) << "COLORREF red is the low byte; top byte dropped";
    EXPECT_EQ(RGBX().btUnused + RGBX().btRed + RGBX().btGreen + RGBX().btBlue, 0);

    from_colorref.btUnused = 9;
    EXPECT_EQ(from_colorref.Equals(from_channels), 1);
    EXPECT_EQ(from_colorref.Equals(RGBX(0x33, 0x22, 0x12)), 0);
    EXPECT_TRUE(RGBX(7, 7, 7).IsGray());
    EXPECT_FALSE(RGBX(7, 7, 8).IsGray());
}

TEST(RgbxTest, GrayWeighsThreeSixOneTruncatesAndSpecialWashesAbove150)
{
    struct Case {
        RGBX pixel;
        int gray, special;
    } const cases[] = {
        {RGBX(255, 0, 0), 76, 76},   {RGBX(0, 255, 0), 153, 255},     {RGBX(255, 255, 255), 255, 255},
        {RGBX(150, 150, 150), 150, 150}, {RGBX(151, 151, 151), 151, 255}, {RGBX(1, 1, 9), 1, 1},
    };
    for (Case const &c : cases) {
        RGBX pixel = c.pixel;
        pixel.btUnused = 0x5A;
        for (auto [got, expected] : {std::pair(pixel.Gray(), c.gray), std::pair(pixel.GraySpecial(), c.special)}) {
            EXPECT_TRUE(got.Equals(RGBX(expected, expected, expected)) && got.btUnused == 0)
                << int(c.pixel.btRed) << "," << int(c.pixel.btGreen) << "," << int(c.pixel.btBlue) << " gave "
                << int(got.btRed) << ", expected " << expected;
        }
    }
}

}  // namespace
