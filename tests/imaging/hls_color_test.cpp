#include <tessiv/imaging/hls_color.h>

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

::testing::AssertionResult HasRgb(CColor const &colour, int red, int green, int blue)
{
    if (colour.GetRed() == red && colour.GetGreen() == green && colour.GetBlue() == blue)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "got (" << colour.GetRed() << ", " << colour.GetGreen() << ", "
                                         << colour.GetBlue() << "), expected (" << red << ", " << green
                                         << ", " << blue << ")";
}

TEST(CColorTest, ReportsHueLuminanceAndSaturation)
{
    struct Case {
        int red, green, blue;
        float hue, luminance, saturation;
    } const cases[] = {
        {255, 0, 0, 360, 0.5f, 1},  // pure red is 360, not 0
        {0, 255, 0, 120, 0.5f, 1},   {0, 0, 255, 240, 0.5f, 1},
        {255, 255, 0, 60, 0.5f, 1},  // green's test overrides red's
        {100, 100, 100, 0, 0.39215687f, 0},
        {200, 100, 100, 360, static_cast<float>(300.0 / 510), static_cast<float>(100.0 / 210)},  // above 0.5
        {100, 50, 50, 360, static_cast<float>(150.0 / 510), static_cast<float>(50.0 / 150)},
    };
    for (Case const &c : cases) {
        CColor colour;
        colour.SetRGB(c.red, c.green, c.blue);
        EXPECT_EQ(colour.GetHue(), c.hue) << c.red << "," << c.green << "," << c.blue;
        EXPECT_EQ(colour.GetLuminance(), c.luminance) << c.red << "," << c.green << "," << c.blue;
        EXPECT_EQ(colour.GetSaturation(), c.saturation) << c.red << "," << c.green << "," << c.blue;
    }
    CColor colour;
    colour.SetRGB(255, 1, 0);  // just above 360 before the wrap
    EXPECT_NEAR(colour.GetHue(), 60.0 / 255, 1e-4);
}

TEST(CColorTest, ConversionsToRgbTruncateAtEachStep)
{
    CColor red(0x0000FF);
    red.SetLuminance(0.6f);
    EXPECT_TRUE(HasRgb(red, 255, 51, 51));
    red.SetLuminance(0.4f);
    EXPECT_TRUE(HasRgb(red, 204, 0, 0));
    red.SetHue(240);
    EXPECT_TRUE(HasRgb(red, 0, 0, 204));

    CColor gray;
    gray.SetRGB(100, 100, 100);
    gray.SetLuminance(0.49215686f);
    EXPECT_TRUE(HasRgb(gray, 125, 125, 125));

    CColor round_trip;
    round_trip.SetRGB(128, 64, 32);
    round_trip.SetLuminance(round_trip.GetLuminance());
    EXPECT_TRUE(HasRgb(round_trip, 128, 64, 31)) << "the conversions are not exact inverses";

    for (float hue : {0.0f, 200.0f, 721.0f, -50.0f}) {
        for (float luminance : {0.0f, 0.1f, 0.99f, 1.0f}) {
            CColor colour;
            colour.SetHLS(hue, luminance, 0);
            int const level = static_cast<int>(double(luminance) * 255);
            EXPECT_TRUE(HasRgb(colour, level, level, level)) << "hue " << hue << " luminance " << luminance;
        }
    }
    // Beyond what the processors produce: the low byte, or 0 past the int range.
    gray.SetHLS(0, 2, 0);
    EXPECT_EQ(gray.GetRed(), 510 & 0xFF);
    gray.SetHLS(0, 1e30f, 0);
    EXPECT_EQ(gray.GetRed(), 0);
}

TEST(CColorTest, ConvertsEachStaleFormOnceAndKeepsByteThree)
{
    CColor colour;
    colour.SetRGB(128, 64, 32);
    colour.GetHue();
    EXPECT_TRUE(HasRgb(colour, 128, 64, 32)) << "reading HLS must not rewrite RGB (32 would become 31)";

    colour.SetHLS(100.25f, 0.3f, 0.7f);
    colour.GetRed();
    EXPECT_EQ(colour.GetHue(), 100.25f) << "reading RGB must not rewrite HLS";
    CColor copy(0xFFFFFF);
    copy = colour;
    EXPECT_EQ(copy.GetSaturation(), 0.7f);

    colour.SetHLS(360, 0.5f, 1);
    colour.SetGreen(0x1FF);  // converts to RGB first, keeps the low byte
    EXPECT_TRUE(HasRgb(colour, 255, 255, 0));
    EXPECT_EQ(colour.GetHue(), 60.0f);
    colour.SetRGB(0x101, -2, 3);
    EXPECT_TRUE(HasRgb(colour, 1, 254, 3));

    CColor tagged(0xAB0000FF);
    tagged.SetLuminance(0.6f);
    EXPECT_EQ(COLORREF(tagged), 0xAB3333FFu);
    tagged.SetSaturation(0);
    EXPECT_EQ(COLORREF(tagged), 0xAB999999u);
    tagged.SetRGB(1, 2, 3);
    EXPECT_EQ(COLORREF(tagged), 0xAB030201u);
}

TEST(CColorTest, EveryColourReadBackThroughHlsIsWithinOneUnit)
{
    int failures = 0;
    unsigned int first_failure = 0;
    CColor colour;
    for (unsigned int value = 0; value < (1u << 24); ++value) {
        int const red = value & 0xFF, green = (value >> 8) & 0xFF, blue = value >> 16;
        colour.SetRGB(red, green, blue);
        colour.SetLuminance(colour.GetLuminance());
        if ((std::abs(colour.GetRed() - red) > 1 || std::abs(colour.GetGreen() - green) > 1 ||
             std::abs(colour.GetBlue() - blue) > 1) &&
            failures++ == 0)
            first_failure = value;
    }
    EXPECT_EQ(failures, 0) << "first colour off by more than one: 0x" << std::hex << first_failure;
}

}  // namespace
