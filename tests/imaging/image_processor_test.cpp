#include <tessiv/imaging/image_processor.h>

#include <gtest/gtest.h>

#include <cstring>
#include <initializer_list>
#include <vector>

#include <tessiv/imaging/hls_color.h>

#include "exhaustive.h"

namespace {

RGBX Pixel(int red, int green, int blue, int reserved = 0)
{
    RGBX pixel(static_cast<BYTE>(red), static_cast<BYTE>(green), static_cast<BYTE>(blue));
    pixel.btUnused = static_cast<BYTE>(reserved);
    return pixel;
}

::testing::AssertionResult SameBytes(RGBX const &got, RGBX const &expected)
{
    if (std::memcmp(&got, &expected, sizeof(RGBX)) == 0)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "got (" << int(got.btRed) << ", " << int(got.btGreen) << ", "
                                         << int(got.btBlue) << "; " << int(got.btUnused) << ")";
}

// Runs processors one after another over a row, as a host chaining them
// does; each destination starts with every byte 0xEE so unwritten bytes show.
std::vector<RGBX> RunChain(std::initializer_list<C32BitImageProcessor *> chain, std::vector<RGBX> pixels)
{
    for (C32BitImageProcessor *processor : chain) {
        CSize const size(static_cast<int>(pixels.size()), 1);
        std::vector<RGBX> dest(pixels.size(), Pixel(0xEE, 0xEE, 0xEE, 0xEE));
        EXPECT_EQ(processor->CalcDestSize(size), size);
        EXPECT_EQ(processor->ProcessPixels(pixels.data(), size, dest.data(), size), 1);
        pixels = dest;
    }
    return pixels;
}

TEST(C32BitImageProcessorTest, BaseCopiesDestSizePixelsAndEmptySizesProcessNothing)
{
    C32BitImageProcessor base;
    RGBX source[3] = {Pixel(1, 2, 3, 4), Pixel(5, 6, 7, 8), Pixel(9, 10, 11, 12)};
    RGBX dest[3];
    EXPECT_EQ(base.ProcessPixels(source, CSize(3, 1), dest, CSize(2, 1)), 1);
    EXPECT_TRUE(SameBytes(dest[1], source[1]));
    EXPECT_TRUE(SameBytes(dest[2], RGBX())) << "only destSize pixels are copied";

    CImageGrayer grayer;
    CImageHigh high(0.5f);
    for (CSize size : {CSize(0, 5), CSize(5, 0), CSize(-2, -2)}) {
        EXPECT_EQ(base.ProcessPixels(source, size, dest, size), 1);
        EXPECT_EQ(grayer.ProcessPixels(source, size, dest, size), 1);
        EXPECT_EQ(high.ProcessPixels(source, size, dest, size), 1);
        EXPECT_TRUE(SameBytes(dest[0], source[0])) << size.cx << " x " << size.cy << " wrote a pixel";
    }
}

TEST(C32BitImageProcessorTest, BackgroundPassesThroughWholeOnceSetAndIsCopied)
{
    CImageGrayer grayer;
    CImageHigh high(0.1f);
    std::vector<RGBX> const row = {Pixel(255, 0, 255, 7), Pixel(255, 0, 0, 9), Pixel(0, 0, 0, 3)};
    std::vector<RGBX> out = RunChain({&grayer}, row);
    EXPECT_TRUE(SameBytes(out[0], Pixel(102, 102, 102))) << "no background before SetBkColor";
    EXPECT_TRUE(SameBytes(out[1], Pixel(76, 76, 76)));

    grayer.SetBkColor(255, 0, 255);
    high.SetBkColor(255, 0, 255);
    CImageGrayer grayer_copy(grayer);
    CImageHigh high_copy(-0.5f);
    high_copy = high;
    for (C32BitImageProcessor *processor : {static_cast<C32BitImageProcessor *>(&grayer_copy),
                                            static_cast<C32BitImageProcessor *>(&high_copy)}) {
        out = RunChain({processor}, row);
        EXPECT_TRUE(SameBytes(out[0], row[0])) << "magenta kept with its reserved byte";
        EXPECT_FALSE(out[1].Equals(row[1])) << "every other pixel is processed";
    }
    EXPECT_TRUE(SameBytes(out[1], Pixel(255, 51, 51, 0xEE))) << "the copy keeps the change 0.1";
    EXPECT_TRUE(SameBytes(out[2], Pixel(25, 25, 25, 0xEE))) << "reserved byte not written";
}

TEST(CImageHighTest, ShiftsLuminanceWithinZeroAndOne)
{
    struct Case {
        float change;
        RGBX in, out;
    } const cases[] = {
        {0.1f, Pixel(255, 0, 0), Pixel(255, 51, 51)},         {0.1f, Pixel(100, 100, 100), Pixel(125, 125, 125)},
        {0.1f, Pixel(255, 255, 255), Pixel(255, 255, 255)},   {0.1f, Pixel(128, 64, 32), Pixel(168, 84, 42)},
        {-0.1f, Pixel(255, 0, 0), Pixel(204, 0, 0)},          {-0.1f, Pixel(255, 255, 255), Pixel(229, 229, 229)},
        {-0.1f, Pixel(0, 0, 0), Pixel(0, 0, 0)},              {0.9f, Pixel(100, 100, 100), Pixel(255, 255, 255)},
        {-0.9f, Pixel(100, 100, 100), Pixel(0, 0, 0)},        {0.0f, Pixel(128, 64, 32), Pixel(128, 64, 32)},
    };
    for (Case const &c : cases) {
        CImageHigh high(c.change);
        RGBX const got = RunChain({&high}, {c.in})[0];
        EXPECT_TRUE(got.Equals(c.out)) << "change " << c.change << ", case " << &c - cases << ": "
                                       << SameBytes(got, c.out).message();
    }
    CImageHigh default_change;
    EXPECT_TRUE(RunChain({&default_change}, {Pixel(0, 0, 0)})[0].Equals(Pixel(25, 25, 25)));
}

// For every colour the pixel loop gives what a CColor gives step by step
// (SetRGB, the clamped luminance change, the channels read back), and
// change 0 gives the colour itself.
TEST(CImageHighTest, AgreesWithTheColourClassForEveryColour)
{
    constexpr unsigned int kBlock = 1u << 16;
    std::vector<RGBX> source(kBlock), dest(kBlock);
    for (float change : {0.0f, 0.12f, -0.1f}) {
        CImageHigh high(change);
        int failures = 0;
        COLORREF first_failure = 0;
        for (unsigned int start = 0; start < (1u << 24); start += kBlock * kColourStride) {
            for (unsigned int i = 0; i < kBlock; ++i)
                source[i] = RGBX(static_cast<COLORREF>((start + i * kColourStride) & 0xFFFFFF));
            ASSERT_EQ(high.ProcessPixels(source.data(), CSize(256, 256), dest.data(), CSize(256, 256)), 1);
            for (unsigned int i = 0; i < kBlock; ++i) {
                CColor colour;
                colour.SetRGB(source[i].btRed, source[i].btGreen, source[i].btBlue);
                float const luminance = colour.GetLuminance();
                double const sum = double(change) + luminance;
                if (change > 0 && luminance < 1)
                    colour.SetLuminance(sum > 1 ? 1.0f : static_cast<float>(sum));
                else if (change < 0 && luminance > 0)
                    colour.SetLuminance(sum < 0 ? 0.0f : static_cast<float>(sum));
                RGBX const expected =
                    change == 0 ? source[i] : RGBX(colour.GetRed(), colour.GetGreen(), colour.GetBlue());
                if (!dest[i].Equals(expected) && failures++ == 0)
                    first_failure = RGB(source[i].btRed, source[i].btGreen, source[i].btBlue);
            }
        }
        EXPECT_EQ(failures, 0) << "change " << change << ", first differing colour 0x" << std::hex << first_failure;
    }
}

TEST(ProcessorChainTest, DisabledAndNotActiveLooks)
{
    CImageGrayer grayer;
    CImageHigh high(0.12f), slight(0.01f);
    grayer.SetBkColor(255, 0, 255);
    high.SetBkColor(255, 0, 255);
    slight.SetBkColor(255, 0, 255);
    std::vector<RGBX> out = RunChain({&grayer, &high, &high, &high},
                                {Pixel(0, 0, 0), Pixel(255, 0, 0), Pixel(255, 0, 255, 1), Pixel(0, 255, 0)});
    EXPECT_TRUE(out[0].Equals(Pixel(90, 90, 90)));
    EXPECT_TRUE(out[1].Equals(Pixel(166, 166, 166)));
    EXPECT_TRUE(SameBytes(out[2], Pixel(255, 0, 255, 1)));
    EXPECT_TRUE(out[3].Equals(Pixel(255, 255, 255))) << "washed out to white, then stays white";

    out = RunChain({&slight, &slight}, {Pixel(255, 0, 0), Pixel(100, 100, 100), Pixel(255, 255, 255)});
    EXPECT_TRUE(out[0].Equals(Pixel(255, 10, 10)));
    EXPECT_TRUE(out[1].Equals(Pixel(104, 104, 104)));
    EXPECT_TRUE(out[2].Equals(Pixel(255, 255, 255)));

    // A pixel that grays to a gray mask colour is then left alone.
    grayer.SetBkColor(76, 76, 76);
    high.SetBkColor(76, 76, 76);
    EXPECT_TRUE(RunChain({&grayer, &high, &high, &high}, {Pixel(255, 0, 0)})[0].Equals(Pixel(76, 76, 76)));
}

TEST(C32BitImageProcessorTest, WeightedColorAveragesAHorizontalAndAVerticalBlend)
{
    // 3 × 2 image; the diagonal neighbour (250) of (0, 0) is never read.
    RGBX pixels[6] = {Pixel(100, 10, 1, 7), Pixel(200, 20, 2, 7), Pixel(60, 6, 6, 7),
                      Pixel(40, 4, 4, 7),  Pixel(250, 250, 250, 7), Pixel(80, 8, 8, 7)};
    CSize const size(3, 2);
    C32BitImageProcessor sampler;
    struct Case {
        double x, y;
        RGBX expected;
    } const cases[] = {
        {1, 1, Pixel(250, 250, 250)},    // whole coordinates: the pixel, reserved byte 0
        {0.5, 0, Pixel(125, 12, 1)},     // not 150: half the blend plus half the pixel
        {0, 0.5, Pixel(85, 8, 1)},       {0.5, 0.5, Pixel(110, 11, 2)},
        {2.5, 1.5, Pixel(80, 8, 8)},     // last column and row: the pixel is its own neighbour
        {2.5, 0, Pixel(60, 6, 6)},
        {-0.5, 1.7, Pixel(40, 4, 4, 7)},  // negative: the clamped pixel unchanged
        {1.9, -3, Pixel(200, 20, 2, 7)}, {-1e300, -1e300, Pixel(100, 10, 1, 7)},
    };
    for (Case const &c : cases)
        EXPECT_TRUE(SameBytes(sampler.CalcWeightedColor(pixels, size, c.x, c.y), c.expected)) << c.x << ", " << c.y;
}

}  // namespace
