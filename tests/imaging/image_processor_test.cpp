#include <tessiv/imaging/image_processor.h>

#include <gtest/gtest.h>

#include <cstring>
#include <initializer_list>
#include <vector>

#include <tessiv/imaging/hls_color.h>

#include "exhaustive.h"

namespace {

// Opens the protected members a deriving host would see.
class Probe : public C32BitImageProcessor {
public:
    using C32BitImageProcessor::C32BitImageProcessor;
    using C32BitImageProcessor::IsBkColor;
    int Flag() const { return flag_; }
};

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
    return ::testing::AssertionFailure()
           << "got (" << int(got.btRed) << ", " << int(got.btGreen) << ", " << int(got.btBlue) << "; "
           << int(got.btUnused) << "), expected (" << int(expected.btRed) << ", " << int(expected.btGreen)
           << ", " << int(expected.btBlue) << "; " << int(expected.btUnused) << ")";
}

// Runs one processor over a single row of pixels; the destination starts
// with every byte 0xEE so unwritten bytes show.
std::vector<RGBX> RunRow(C32BitImageProcessor &processor, std::vector<RGBX> source)
{
    CSize const size(static_cast<int>(source.size()), 1);
    std::vector<RGBX> dest(source.size(), Pixel(0xEE, 0xEE, 0xEE, 0xEE));
    EXPECT_EQ(processor.CalcDestSize(size), size);
    EXPECT_EQ(processor.ProcessPixels(source.data(), size, dest.data(), size), 1);
    return dest;
}

// Runs processors one after another, each reading the previous output, as
// a host chaining them does.
std::vector<RGBX> RunChain(std::initializer_list<C32BitImageProcessor *> chain, std::vector<RGBX> pixels)
{
    for (C32BitImageProcessor *processor : chain)
        pixels = RunRow(*processor, pixels);
    return pixels;
}

TEST(C32BitImageProcessorTest, BackgroundIsUnsetUntilSetAndIsCopied)
{
    Probe probe(5);
    EXPECT_EQ(probe.Flag(), 5);
    RGBX black;
    EXPECT_FALSE(probe.IsBkColor(&black)) << "no background after construction, not even black";

    probe.SetBkColor(255, 0, 255);
    RGBX magenta = Pixel(255, 0, 255, 0x42);
    RGBX near = Pixel(255, 1, 255);
    EXPECT_TRUE(probe.IsBkColor(&magenta)) << "the reserved byte does not matter";
    EXPECT_FALSE(probe.IsBkColor(&near));

    Probe copy(probe);
    EXPECT_EQ(copy.Flag(), 5);
    EXPECT_TRUE(copy.IsBkColor(&magenta));
    Probe assigned;
    assigned = probe;
    EXPECT_TRUE(assigned.IsBkColor(&magenta));
    EXPECT_EQ(assigned.Flag(), 5);
}

TEST(C32BitImageProcessorTest, BaseCopiesTheDestinationSizeAndKeepsSizes)
{
    C32BitImageProcessor base;
    EXPECT_EQ(base.CalcDestSize(CSize(7, 3)), CSize(7, 3));
    RGBX source[6] = {Pixel(1, 2, 3, 4), Pixel(5, 6, 7, 8), Pixel(9, 10, 11, 12),
                      Pixel(13, 14, 15, 16), Pixel(17, 18, 19, 20), Pixel(21, 22, 23, 24)};
    RGBX dest[6];
    EXPECT_EQ(base.ProcessPixels(source, CSize(3, 2), dest, CSize(2, 2)), 1);
    for (int i = 0; i < 4; ++i)
        EXPECT_TRUE(SameBytes(dest[i], source[i])) << "pixel " << i;
    EXPECT_TRUE(SameBytes(dest[4], RGBX())) << "only destSize pixels are copied";

    RGBX untouched[1];
    EXPECT_EQ(base.ProcessPixels(source, CSize(1, 1), untouched, CSize(-1, -1)), 1);
    EXPECT_TRUE(SameBytes(untouched[0], RGBX())) << "two negative sides copy nothing";
}

TEST(CImageGrayerTest, GraysWithWashOutAndPassesTheBackgroundThrough)
{
    CImageGrayer grayer;
    EXPECT_EQ(grayer.CalcDestSize(CSize(4, 9)), CSize(4, 9));
    std::vector<RGBX> out = RunRow(grayer, {Pixel(255, 0, 0, 9), Pixel(0, 255, 0), Pixel(150, 150, 150),
                                            Pixel(151, 151, 151), Pixel(255, 0, 255, 7)});
    EXPECT_TRUE(SameBytes(out[0], Pixel(76, 76, 76))) << "reserved byte becomes 0";
    EXPECT_TRUE(SameBytes(out[1], Pixel(255, 255, 255)));
    EXPECT_TRUE(SameBytes(out[2], Pixel(150, 150, 150)));
    EXPECT_TRUE(SameBytes(out[3], Pixel(255, 255, 255)));
    EXPECT_TRUE(SameBytes(out[4], Pixel(102, 102, 102))) << "no background set: magenta is grayed too";

    grayer.SetBkColor(255, 0, 255);
    CImageGrayer copy(grayer);
    out = RunRow(copy, {Pixel(255, 0, 255, 7), Pixel(255, 0, 0, 9)});
    EXPECT_TRUE(SameBytes(out[0], Pixel(255, 0, 255, 7))) << "background kept with its reserved byte";
    EXPECT_TRUE(SameBytes(out[1], Pixel(76, 76, 76)));
}

TEST(CImageGrayerTest, EmptySizesProcessNothing)
{
    CImageGrayer grayer;
    RGBX source[1] = {Pixel(1, 2, 3)};
    RGBX dest[1] = {Pixel(9, 9, 9, 9)};
    for (CSize size : {CSize(0, 5), CSize(5, 0), CSize(-1, 3), CSize(-2, -2)}) {
        EXPECT_EQ(grayer.ProcessPixels(source, size, dest, size), 1);
        EXPECT_TRUE(SameBytes(dest[0], Pixel(9, 9, 9, 9))) << size.cx << " x " << size.cy;
    }
    CImageHigh high(0.5f);
    EXPECT_EQ(high.ProcessPixels(source, CSize(-2, -2), dest, CSize(-2, -2)), 1);
    EXPECT_TRUE(SameBytes(dest[0], Pixel(9, 9, 9, 9)));
}

TEST(CImageHighTest, ShiftsLuminanceWithClampsAndLeavesTheReservedByte)
{
    struct Case {
        float change;
        RGBX in, out;
    };
    Case const cases[] = {
        {0.1f, Pixel(255, 0, 0), Pixel(255, 51, 51, 0xEE)},
        {0.1f, Pixel(100, 100, 100), Pixel(125, 125, 125, 0xEE)},
        {0.1f, Pixel(0, 0, 0), Pixel(25, 25, 25, 0xEE)},
        {0.1f, Pixel(255, 255, 255), Pixel(255, 255, 255, 0xEE)},  // already at 1
        {0.1f, Pixel(128, 64, 32), Pixel(168, 84, 42, 0xEE)},
        {-0.1f, Pixel(255, 0, 0), Pixel(204, 0, 0, 0xEE)},
        {-0.1f, Pixel(255, 255, 255), Pixel(229, 229, 229, 0xEE)},
        {-0.1f, Pixel(0, 0, 0, 3), Pixel(0, 0, 0, 0xEE)},  // already at 0
        {0.9f, Pixel(100, 100, 100), Pixel(255, 255, 255, 0xEE)},  // clamped at 1
        {-0.9f, Pixel(100, 100, 100), Pixel(0, 0, 0, 0xEE)},      // clamped at 0
        {0.0f, Pixel(128, 64, 32, 5), Pixel(128, 64, 32, 0xEE)},  // no round trip at all
    };
    for (Case const &c : cases) {
        CImageHigh high(c.change);
        std::vector<RGBX> out = RunRow(high, {c.in});
        EXPECT_TRUE(SameBytes(out[0], c.out))
            << "change " << c.change << " on (" << int(c.in.btRed) << ", " << int(c.in.btGreen) << ", "
            << int(c.in.btBlue) << ")";
    }

    CImageHigh default_change;
    EXPECT_TRUE(SameBytes(RunRow(default_change, {Pixel(255, 0, 0)})[0], Pixel(255, 51, 51, 0xEE)))
        << "the default change is 0.1";
}

TEST(CImageHighTest, PassesTheBackgroundThroughWholeAndCopiesIt)
{
    CImageHigh high(0.1f);
    high.SetBkColor(255, 0, 255);
    CImageHigh assigned(-0.5f);
    assigned = high;
    std::vector<RGBX> out = RunRow(assigned, {Pixel(255, 0, 255, 0x31), Pixel(255, 0, 0, 0x31)});
    EXPECT_TRUE(SameBytes(out[0], Pixel(255, 0, 255, 0x31)));
    EXPECT_TRUE(SameBytes(out[1], Pixel(255, 51, 51, 0xEE))) << "the change was copied too";
}

TEST(CImageHighTest, ZeroChangeKeepsEveryColour)
{
    // Processed in blocks of 2^16 colours to keep the buffers small.
    constexpr unsigned int kBlock = 1u << 16;
    std::vector<RGBX> source(kBlock), dest(kBlock);
    CImageHigh high(0.0f);
    int failures = 0;
    unsigned int first_failure = 0;
    for (unsigned int start = 0; start < (1u << 24); start += kBlock) {
        for (unsigned int i = 0; i < kBlock; ++i) {
            COLORREF const colour = (start + i) & 0xFFFFFF;
            source[i] = RGBX(colour);
        }
        CSize const size(256, kBlock / 256);
        ASSERT_EQ(high.ProcessPixels(source.data(), size, dest.data(), size), 1);
        for (unsigned int i = 0; i < kBlock; ++i) {
            if (!dest[i].Equals(source[i]) && failures++ == 0)
                first_failure = start + i;
        }
    }
    EXPECT_EQ(failures, 0) << "first changed colour: 0x" << std::hex << first_failure;
}

// The pixel loop does what a CColor does step by step: SetRGB, the clamped
// luminance change, then the channels read back.
TEST(CImageHighTest, AgreesWithTheColourClassForEveryColour)
{
    constexpr unsigned int kBlock = 1u << 16;
    std::vector<RGBX> source(kBlock), dest(kBlock);
    for (float change : {0.12f, -0.1f}) {
        CImageHigh high(change);
        int failures = 0;
        COLORREF first_failure = 0;
        for (unsigned int start = 0; start < (1u << 24); start += kBlock * kColourStride) {
            for (unsigned int i = 0; i < kBlock; ++i)
                source[i] = RGBX(static_cast<COLORREF>((start + i * kColourStride) & 0xFFFFFF));
            CSize const size(256, kBlock / 256);
            ASSERT_EQ(high.ProcessPixels(source.data(), size, dest.data(), size), 1);
            for (unsigned int i = 0; i < kBlock; ++i) {
                CColor colour;
                colour.SetRGB(source[i].btRed, source[i].btGreen, source[i].btBlue);
                float const luminance = colour.GetLuminance();
                double const sum = double(change) + luminance;
                if (change > 0 && luminance < 1)
                    colour.SetLuminance(sum > 1 ? 1.0f : static_cast<float>(sum));
                else if (change < 0 && luminance > 0)
                    colour.SetLuminance(sum < 0 ? 0.0f : static_cast<float>(sum));
                RGBX const expected(colour.GetRed(), colour.GetGreen(), colour.GetBlue());
                if (!dest[i].Equals(expected) && failures++ == 0)
                    first_failure = RGB(source[i].btRed, source[i].btGreen, source[i].btBlue);
            }
        }
        EXPECT_EQ(failures, 0) << "change " << change << ", first differing COLORREF 0x" << std::hex
                               << first_failure;
    }
}

TEST(ProcessorChainTest, DisabledLookGraysThenLightensThreeTimes)
{
    CImageGrayer grayer;
    CImageHigh high(0.12f);
    grayer.SetBkColor(255, 0, 255);
    high.SetBkColor(255, 0, 255);
    std::vector<RGBX> out = RunChain({&grayer, &high, &high, &high},
                                     {Pixel(0, 0, 0), Pixel(255, 0, 0), Pixel(255, 0, 255, 0x10),
                                      Pixel(0, 255, 0), Pixel(255, 255, 255)});
    EXPECT_TRUE(out[0].Equals(Pixel(90, 90, 90)));
    EXPECT_TRUE(out[1].Equals(Pixel(166, 166, 166)));
    EXPECT_TRUE(SameBytes(out[2], Pixel(255, 0, 255, 0x10)));
    EXPECT_TRUE(out[3].Equals(Pixel(255, 255, 255))) << "washed out to white, then stays white";
    EXPECT_TRUE(out[4].Equals(Pixel(255, 255, 255)));

    // With a gray mask, a pixel that grays to the mask colour is then left
    // alone by the lightening steps.
    grayer.SetBkColor(76, 76, 76);
    high.SetBkColor(76, 76, 76);
    out = RunChain({&grayer, &high, &high, &high}, {Pixel(255, 0, 0), Pixel(0, 0, 0)});
    EXPECT_TRUE(out[0].Equals(Pixel(76, 76, 76)));
    EXPECT_TRUE(out[1].Equals(Pixel(90, 90, 90)));
}

TEST(ProcessorChainTest, NotActiveLookLightensTwiceSlightly)
{
    CImageHigh high(0.01f);
    high.SetBkColor(255, 0, 255);
    std::vector<RGBX> out =
        RunChain({&high, &high}, {Pixel(255, 0, 0), Pixel(100, 100, 100), Pixel(255, 255, 255), Pixel(255, 0, 255)});
    EXPECT_TRUE(out[0].Equals(Pixel(255, 10, 10)));
    EXPECT_TRUE(out[1].Equals(Pixel(104, 104, 104)));
    EXPECT_TRUE(out[2].Equals(Pixel(255, 255, 255)));
    EXPECT_TRUE(out[3].Equals(Pixel(255, 0, 255)));
}

TEST(C32BitImageProcessorTest, WeightedColorAveragesAHorizontalAndAVerticalInterpolation)
{
    // 3 × 2 image; red channel carries the values, green and blue follow.
    RGBX pixels[6] = {Pixel(100, 10, 1, 7), Pixel(200, 20, 2, 7), Pixel(60, 6, 6, 7),
                      Pixel(40, 4, 4, 7),  Pixel(250, 250, 250, 7), Pixel(80, 8, 8, 7)};
    CSize const size(3, 2);
    C32BitImageProcessor sampler;

    EXPECT_TRUE(SameBytes(sampler.CalcWeightedColor(pixels, size, 1, 1), Pixel(250, 250, 250)))
        << "whole coordinates give the pixel with reserved byte 0";
    EXPECT_TRUE(SameBytes(sampler.CalcWeightedColor(pixels, size, 0.5, 0), Pixel(125, 12, 1)))
        << "half of the horizontal blend plus half of the pixel itself";
    EXPECT_TRUE(SameBytes(sampler.CalcWeightedColor(pixels, size, 0, 0.5), Pixel(85, 8, 1)));
    // (0.5, 0.5): 0.5 * (100 + 200 + 100 + 40) / 2 = 110; the diagonal (250)
    // is never read.
    EXPECT_TRUE(SameBytes(sampler.CalcWeightedColor(pixels, size, 0.5, 0.5), Pixel(110, 11, 2)));
    // Last column and last row take the pixel itself as neighbour.
    EXPECT_TRUE(SameBytes(sampler.CalcWeightedColor(pixels, size, 2.5, 1.5), Pixel(80, 8, 8)));
    EXPECT_TRUE(SameBytes(sampler.CalcWeightedColor(pixels, size, 2.5, 0), Pixel(60, 6, 6)));

    EXPECT_TRUE(SameBytes(sampler.CalcWeightedColor(pixels, size, -0.5, 1.7), Pixel(40, 4, 4, 7)))
        << "left of the image: the clamped pixel unchanged, reserved byte included";
    EXPECT_TRUE(SameBytes(sampler.CalcWeightedColor(pixels, size, 1.9, -3), Pixel(200, 20, 2, 7)));
    EXPECT_TRUE(SameBytes(sampler.CalcWeightedColor(pixels, size, -1e300, -1e300), Pixel(100, 10, 1, 7)));
}

}  // namespace
