#include <tessiv/imaging/color.h>

#include <gtest/gtest.h>

#include <cmath>

namespace {

using kolt::ColorF;
using kolt::ColorI;

TEST(ColorI, NumberIsAlphaRedGreenBlueAndMemoryIsBlueFirst)
{
    ColorI const c(0x80FF0000ul);
    EXPECT_EQ(c[2], 255);
    EXPECT_EQ(c[1], 0);
    EXPECT_EQ(c[0], 0);
    EXPECT_EQ(c[3], 128);
    EXPECT_EQ(static_cast<unsigned long>(ColorI(10, 20, 30, 40)), 0x280A141Eul);
    ColorI d;
    d.Set(1, 2, 3, 4);
    EXPECT_EQ(static_cast<unsigned long>(d), 0x04010203ul);
    d[3] = 0xFF;
    EXPECT_EQ(static_cast<unsigned long>(d), 0xFF010203ul);
    // Only the low 32 bits of a wider number count.
    EXPECT_EQ(static_cast<unsigned long>(ColorI(0x1234567890ul)), 0x34567890ul);
}

TEST(ColorI, TestsIgnoreWhatTheyDoNotNameAndInvertKeepsAlpha)
{
    EXPECT_TRUE(ColorI(0x00000000ul).IsBlack());
    EXPECT_TRUE(ColorI(0xFF000000ul).IsBlack());
    EXPECT_FALSE(ColorI(0xFF000001ul).IsBlack());
    EXPECT_TRUE(ColorI(0x00FFFFFFul).IsTrans());
    EXPECT_FALSE(ColorI(0x01000000ul).IsTrans());
    EXPECT_TRUE(ColorI(0x00FFFFFFul).IsWhite());
    EXPECT_FALSE(ColorI(0xFFFFFFFEul).IsWhite());

    ColorI c(0x80102030ul);
    ColorI const inverted = c.GetInvertRGB();
    EXPECT_EQ(static_cast<unsigned long>(inverted), 0x80EFDFCFul);
    EXPECT_EQ(static_cast<unsigned long>(c), 0x80102030ul) << "GetInvertRGB must not change the colour";
    c.InvertRGB();
    EXPECT_EQ(static_cast<unsigned long>(c), 0x80EFDFCFul);
}

TEST(ColorI, HsvUsesTheSinglePrecisionReciprocalAndGraysHaveNoHue)
{
    double const k = 0.003921568859368563;  // 1/255 as a float
    struct Case {
        ColorI colour;
        double h, s, v;
    } const cases[] = {
        {ColorI(255, 0, 0, 255), 0, 1, 255 * k},   {ColorI(0, 0, 255, 0), 240, 1, 255 * k},
        {ColorI(255, 255, 0, 0), 60, 1, 255 * k},  // red and green share the maximum
        {ColorI(255, 0, 255, 0), 300, 1, 255 * k},  // a negative hue wraps by 360
        {ColorI(0, 255, 255, 0), 180, 1, 255 * k}, {ColorI(200, 100, 50, 0), 20, 0.75, 200 * k},
        {ColorI(128, 128, 128, 255), -1, 0, 128 * k}, {ColorI(0, 0, 0, 255), -1, 0, 0},  // black: no 0 / 0
    };
    for (Case const &c : cases) {
        double h = 0, s = 0, v = 0;
        c.colour.HSV(h, s, v);
        EXPECT_DOUBLE_EQ(h, c.h) << std::hex << static_cast<unsigned long>(c.colour);
        EXPECT_DOUBLE_EQ(s, c.s) << std::hex << static_cast<unsigned long>(c.colour);
        EXPECT_DOUBLE_EQ(v, c.v) << std::hex << static_cast<unsigned long>(c.colour);
    }
}

TEST(ColorI, YuvRoundTripLosesAUnitWhereTheConstantsSaySo)
{
    double y, u, v;
    ColorI(0, 0, 0, 7).YUV(y, u, v);
    EXPECT_EQ(y, 0);
    EXPECT_EQ(u, 128);
    EXPECT_EQ(v, 128);
    struct Case {
        unsigned long in, out;
    } const cases[] = {
        {0x09FFFFFF, 0xFFFEFFFE}, {0x090A141E, 0xFF09141E}, {0x09FF0000, 0xFFFF0000}, {0x09000000, 0xFF000000}};
    for (Case const &c : cases) {
        ColorI(c.in).YUV(y, u, v);
        ColorI back(0ul);
        back.FromYUV(y, u, v);
        EXPECT_EQ(static_cast<unsigned long>(back), c.out) << std::hex << c.in;
    }
}

TEST(ColorI, FromYuvClampsThenTruncates)
{
    struct Case {
        double y, v;
        unsigned long out;
    } const cases[] = {
        {0, 128, 0xFF000000}, {300, 128, 0xFFFFFFFF}, {-5, 128, 0xFF000000},
        {100.99, 128, 0xFF646464},  // truncated, not rounded
        {128, 500, 0xFFFF0080},     // red over 255 and green below 0 at once
    };
    for (Case const &c : cases) {
        ColorI colour(0ul);
        colour.FromYUV(c.y, 128, c.v);
        EXPECT_EQ(static_cast<unsigned long>(colour), c.out) << c.y << ", 128, " << c.v;
    }
}

TEST(ColorF, ConvertKeepsProportionsAndAlpha)
{
    ColorI target(0x7F000000ul);
    ColorF(1, 1, 1, 42).ConvertToColorI(target);
    EXPECT_EQ(static_cast<unsigned long>(target), 0x7F555555ul);
    ColorF(1, 0, 0, 0).ConvertToColorI(target);
    EXPECT_EQ(target[0], 255);
    EXPECT_EQ(target[1], 0);
    EXPECT_EQ(target[2], 0);
    EXPECT_EQ(target[3], 0x7F);
    // The sum 3.00000012 rounds to the float 3, which keeps the first two
    // bytes at 85 instead of 84.
    ColorF(1, 1, std::nextafter(1.0f, 2.0f), 0).ConvertToColorI(target);
    EXPECT_EQ(target[0], 85);
    EXPECT_EQ(target[1], 85);
    EXPECT_EQ(target[2], 85);
    // No clamping: a negative component wraps. Components go in argument order.
    ColorF wrap(0, 0, 0, 0);
    wrap.Set(2, 0, 0, 0);
    wrap[1] = -1;
    wrap.ConvertToColorI(target);
    EXPECT_EQ(target[0], static_cast<unsigned char>(510));
    EXPECT_EQ(target[1], static_cast<unsigned char>(-255));
}

}  // namespace
