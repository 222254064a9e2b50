#include <tessiv/imaging/hls_color.h>

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

struct Rgb {
    int red, green, blue;
};

Rgb Channels(CColor const &colour)
{
    return {colour.GetRed(), colour.GetGreen(), colour.GetBlue()};
}

::testing::AssertionResult HasRgb(CColor const &colour, int red, int green, int blue)
{
    Rgb const got = Channels(colour);
    if (got.red == red && got.green == green && got.blue == blue)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "got (" << got.red << ", " << got.green << ", "
                                         << got.blue << "), expected (" << red << ", " << green
                                         << ", " << blue << ")";
}

TEST(CColorTest, PrimaryAndGrayColoursReportTheirHls)
{
    CColor const red(0x0000FF);
    EXPECT_EQ(red.GetHue(), 360.0f) << "pure red is 360, not 0";
    EXPECT_EQ(red.GetLuminance(), 0.5f);
    EXPECT_EQ(red.GetSaturation(), 1.0f);

    struct Case {
        int red, green, blue;
        float hue;
    };
    Case const cases[] = {
        {0, 255, 0, 120}, {0, 0, 255, 240}, {255, 255, 0, 60}, {0, 255, 255, 180}, {255, 0, 255, 300},
    };
    for (Case const &c : cases) {
        CColor colour;
        colour.SetRGB(c.red, c.green, c.blue);
        EXPECT_EQ(colour.GetHue(), c.hue) << c.red << "," << c.green << "," << c.blue;
        EXPECT_EQ(colour.GetSaturation(), 1.0f);
    }

    CColor gray;
    gray.SetRGB(100, 100, 100);
    EXPECT_EQ(gray.GetHue(), 0.0f);
    EXPECT_EQ(gray.GetSaturation(), 0.0f);
    EXPECT_EQ(gray.GetLuminance(), 0.39215687f);
    EXPECT_EQ(gray.GetLuminance(), static_cast<float>(200.0 / 510));
}

TEST(CColorTest, HueAboveThreeSixtyWrapsButThreeSixtyStays)
{
    CColor colour;
    colour.SetRGB(255, 1, 0);  // red test gives (1 + 6 - 254/255) * 60, just above 360
    EXPECT_GT(colour.GetHue(), 0.0f);
    EXPECT_NEAR(colour.GetHue(), 60.0 / 255, 1e-4);
    colour.SetRGB(255, 0, 1);  // just below 360: no wrap
    EXPECT_NEAR(colour.GetHue(), 360 - 60.0 / 255, 1e-4);
}

TEST(CColorTest, SaturationDividesByTheDistanceToWhiteAboveHalfLuminance)
{
    CColor light;
    light.SetRGB(200, 100, 100);  // luminance 300/510 > 0.5
    EXPECT_EQ(light.GetSaturation(), static_cast<float>(100.0 / 210));
    CColor dark;
    dark.SetRGB(100, 50, 50);  // luminance 150/510 <= 0.5
    EXPECT_EQ(dark.GetSaturation(), static_cast<float>(50.0 / 150));
}

TEST(CColorTest, SetLuminanceKeepsHueAndSaturationAndTruncates)
{
    CColor red(0x0000FF);
    red.SetLuminance(0.6f);
    EXPECT_TRUE(HasRgb(red, 255, 51, 51));
    EXPECT_EQ(COLORREF(red), 0x3333FFu);
    EXPECT_EQ(red.GetHue(), 360.0f) << "hue survives the conversion";

    red = CColor(0x0000FF);
    red.SetLuminance(0.4f);
    EXPECT_TRUE(HasRgb(red, 204, 0, 0));

    CColor gray;
    gray.SetRGB(100, 100, 100);
    gray.SetLuminance(0.49215686f);
    EXPECT_TRUE(HasRgb(gray, 125, 125, 125));

    CColor black;
    black.SetLuminance(0.1f);
    EXPECT_TRUE(HasRgb(black, 25, 25, 25)) << "0.1f * 255 is 25.5, truncated";
}

TEST(CColorTest, RoundTripIsNotAnExactInverse)
{
    CColor colour;
    colour.SetRGB(128, 64, 32);
    colour.SetLuminance(colour.GetLuminance());
    EXPECT_TRUE(HasRgb(colour, 128, 64, 31));
}

TEST(CColorTest, ZeroSaturationGivesTheTruncatedLuminanceWhateverTheHue)
{
    float const hues[] = {0, 60, 200, 360, 721, -50};
    float const luminances[] = {0, 0.1f, 0.39215687f, 0.5f, 0.99f, 1};
    for (float hue : hues) {
        for (float luminance : luminances) {
            CColor colour;
            colour.SetHLS(hue, luminance, 0);
            int const level = static_cast<int>(double(luminance) * 255);
            EXPECT_TRUE(HasRgb(colour, level, level, level)) << "hue " << hue << " luminance " << luminance;
        }
    }
}

TEST(CColorTest, SettersOfOneFormInvalidateTheOther)
{
    CColor colour;
    colour.SetRGB(10, 20, 30);
    EXPECT_EQ(colour.GetGreen(), 20);
    EXPECT_EQ(colour.GetBlue(), 30);

    colour = CColor(0x0000FF);
    colour.SetHue(240);
    EXPECT_TRUE(HasRgb(colour, 0, 0, 255));
    colour.SetSaturation(0);
    EXPECT_TRUE(HasRgb(colour, 127, 127, 127));

    // A byte setter converts to RGB first and keeps only the low byte.
    colour.SetHLS(360, 0.5f, 1);
    colour.SetGreen(0x1FF);
    EXPECT_TRUE(HasRgb(colour, 255, 255, 0));
    EXPECT_EQ(colour.GetHue(), 60.0f) << "the byte setter made the HLS form stale";
    colour.SetRed(-1);
    colour.SetBlue(256 + 7);
    EXPECT_TRUE(HasRgb(colour, 255, 255, 7));
    colour.SetRGB(0x100 + 1, -2, 3);
    EXPECT_TRUE(HasRgb(colour, 1, 254, 3));
}

TEST(CColorTest, EachStaleFormIsConvertedOnceAndThenKept)
{
    // Reading the HLS form must not recompute the RGB form: 32 would come
    // back as 31 if it did.
    CColor colour;
    colour.SetRGB(128, 64, 32);
    colour.GetHue();
    EXPECT_TRUE(HasRgb(colour, 128, 64, 32));

    // Reading the RGB form must not recompute the HLS form from the bytes.
    CColor hls;
    hls.SetHLS(100.25f, 0.3f, 0.7f);
    hls.GetRed();
    EXPECT_EQ(hls.GetHue(), 100.25f);
    EXPECT_EQ(hls.GetLuminance(), 0.3f);
    EXPECT_EQ(hls.GetSaturation(), 0.7f);

    // A copy carries both forms and both flags.
    CColor copy(0xFFFFFF);
    copy = hls;
    EXPECT_EQ(copy.GetHue(), 100.25f);
    EXPECT_EQ(copy.GetRed(), hls.GetRed());
}

TEST(CColorTest, ByteThreeIsCarriedThroughConversions)
{
    CColor red(0xAB0000FF);
    EXPECT_EQ(COLORREF(red), 0xAB0000FFu);
    red.SetLuminance(0.6f);
    EXPECT_EQ(COLORREF(red), 0xAB3333FFu);
    red.SetSaturation(0);
    EXPECT_EQ(COLORREF(red), 0xAB999999u);
    red.SetRGB(1, 2, 3);
    EXPECT_EQ(COLORREF(red), 0xAB030201u);
    red.SetHLS(0, 1, 0);
    EXPECT_EQ(COLORREF(red), 0xABFFFFFFu);
}

TEST(CColorTest, OutOfRangeLuminanceBecomesAByteWithoutOverflow)
{
    // Not reachable from the processors, which clamp; a host may still ask.
    CColor colour;
    colour.SetHLS(0, 2, 0);
    EXPECT_EQ(colour.GetRed(), 510 & 0xFF);
    colour.SetHLS(0, 1e30f, 0);
    EXPECT_EQ(colour.GetRed(), 0);
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
        Rgb const got = Channels(colour);
        if (std::abs(got.red - red) > 1 || std::abs(got.green - green) > 1 || std::abs(got.blue - blue) > 1) {
            if (failures++ == 0)
                first_failure = value;
        }
    }
    EXPECT_EQ(failures, 0) << "first colour off by more than one: 0x" << std::hex << first_failure;
}

}  // namespace
