#include <tessiv/imaging/color.h>

#include <gtest/gtest.h>

#include <cmath>

namespace {

using kolt::ColorF;
using kolt::ColorI;

struct Rgb {
    int red, green, blue;
};

Rgb Channels(ColorI const &c)
{
    return {c[2], c[1], c[0]};
}

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

TEST(ColorI, TestsIgnoreWhatTheyDoNotName)
{
    EXPECT_TRUE(ColorI(0x00000000ul).IsBlack());
    EXPECT_TRUE(ColorI(0xFF000000ul).IsBlack());
    EXPECT_FALSE(ColorI(0xFF000001ul).IsBlack());
    EXPECT_TRUE(ColorI(0x00FFFFFFul).IsTrans());
    EXPECT_FALSE(ColorI(0x01000000ul).IsTrans());
    EXPECT_TRUE(ColorI(0x00FFFFFFul).IsWhite());
    EXPECT_FALSE(ColorI(0xFFFFFFFEul).IsWhite());
}

TEST(ColorI, InvertKeepsAlpha)
{
    ColorI c(0x80102030ul);
    ColorI const inverted = c.GetInvertRGB();
    EXPECT_EQ(static_cast<unsigned long>(inverted), 0x80EFDFCFul);
    EXPECT_EQ(static_cast<unsigned long>(c), 0x80102030ul) << "GetInvertRGB must not change the colour";
    c.InvertRGB();
    EXPECT_EQ(static_cast<unsigned long>(c), 0x80EFDFCFul);
}

TEST(ColorI, HsvUsesTheSinglePrecisionReciprocal)
{
    double h, s, v;
    ColorI(255, 0, 0, 255).HSV(h, s, v);
    EXPECT_EQ(h, 0);
    EXPECT_EQ(s, 1);
    EXPECT_EQ(v, 1.0000000591389835);
    ColorI(0, 0, 255, 0).HSV(h, s, v);
    EXPECT_EQ(h, 240);
    ColorI(255, 255, 0, 0).HSV(h, s, v);
    EXPECT_EQ(h, 60) << "red and green share the maximum";
    ColorI(255, 0, 255, 0).HSV(h, s, v);
    EXPECT_EQ(h, 300) << "a negative hue wraps by 360";
    ColorI(0, 255, 255, 0).HSV(h, s, v);
    EXPECT_EQ(h, 180);
    ColorI(200, 100, 50, 0).HSV(h, s, v);
    EXPECT_DOUBLE_EQ(h, 20);
    EXPECT_DOUBLE_EQ(s, 0.75);
}

TEST(ColorI, GraysAndBlackHaveNoHue)
{
    double h, s, v;
    ColorI(128, 128, 128, 255).HSV(h, s, v);
    EXPECT_EQ(h, -1);
    EXPECT_EQ(s, 0);
    EXPECT_EQ(v, 128 * 0.003921568859368563);
    ColorI(0, 0, 0, 255).HSV(h, s, v);
    EXPECT_EQ(h, -1);
    EXPECT_EQ(s, 0) << "black must not divide 0 by 0";
    EXPECT_EQ(v, 0);
}

TEST(ColorI, YuvRoundTripLosesAUnitWhereTheConstantsSaySo)
{
    double y, u, v;
    ColorI(0, 0, 0, 7).YUV(y, u, v);
    EXPECT_EQ(y, 0);
    EXPECT_EQ(u, 128);
    EXPECT_EQ(v, 128);

    struct Case {
        Rgb in, out;
    } const cases[] = {
        {{255, 255, 255}, {254, 255, 254}},
        {{10, 20, 30}, {9, 20, 30}},
        {{255, 0, 0}, {255, 0, 0}},
        {{0, 0, 0}, {0, 0, 0}},
    };
    for (Case const &c : cases) {
        ColorI color(static_cast<unsigned char>(c.in.red), static_cast<unsigned char>(c.in.green),
                     static_cast<unsigned char>(c.in.blue), 9);
        color.YUV(y, u, v);
        ColorI back(0ul);
        back.FromYUV(y, u, v);
        Rgb const got = Channels(back);
        EXPECT_EQ(got.red, c.out.red) << "from " << c.in.red << "," << c.in.green << "," << c.in.blue;
        EXPECT_EQ(got.green, c.out.green) << "from " << c.in.red << "," << c.in.green << "," << c.in.blue;
        EXPECT_EQ(got.blue, c.out.blue) << "from " << c.in.red << "," << c.in.green << "," << c.in.blue;
        EXPECT_EQ(back[3], 255);
    }
}

TEST(ColorI, FromYuvClampsThenTruncates)
{
    ColorI c(0ul);
    c.FromYUV(0, 128, 128);
    EXPECT_EQ(static_cast<unsigned long>(c), 0xFF000000ul);
    c.FromYUV(300, 128, 128);
    EXPECT_EQ(static_cast<unsigned long>(c), 0xFFFFFFFFul);
    c.FromYUV(-5, 128, 128);
    EXPECT_EQ(static_cast<unsigned long>(c), 0xFF000000ul);
    c.FromYUV(100.99, 128, 128);
    EXPECT_EQ(c[2], 100) << "truncated, not rounded";
    // V far above 128 drives red over 255 and green below 0 at once.
    c.FromYUV(128, 128, 500);
    EXPECT_EQ(c[2], 255);
    EXPECT_EQ(c[1], 0);
    EXPECT_EQ(c[0], 128);
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
    // No clamping: a negative component wraps.
    ColorF(2, -1, 0, 0).ConvertToColorI(target);
    EXPECT_EQ(target[0], static_cast<unsigned char>(510));
    EXPECT_EQ(target[1], static_cast<unsigned char>(-255));
}

TEST(ColorF, ComponentsInArgumentOrder)
{
    ColorF c(0.5f, 1.5f, 2.5f, 3.5f);
    EXPECT_EQ(c[0], 0.5f);
    EXPECT_EQ(c[3], 3.5f);
    c.Set(4, 3, 2, 1);
    c[1] = 7;
    ColorF const copy = c;
    EXPECT_EQ(copy[0], 4);
    EXPECT_EQ(copy[1], 7);
    EXPECT_EQ(copy[3], 1);
}

}  // namespace
