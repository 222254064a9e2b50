#include <tessiv/imaging/en_bitmap.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

namespace {

// Opens the protected helpers to the tests.
class TestBitmap : public CEnBitmap {
public:
    using CEnBitmap::CEnBitmap;
    using CEnBitmap::Fill;
    using CEnBitmap::GetDIBits32;
    using CEnBitmap::PrepareBitmapInfo32;

    // Attaches a new bitmap of 0x00RRGGBB pixels, top-down.
    void Make(int width, int height, std::vector<std::uint32_t> pixels)
    {
        pixels.resize(std::size_t(width) * height, 0);
        ASSERT_TRUE(Attach(::CreateBitmap(width, height, 1, 32, pixels.data())));
    }
    CSize Size() const
    {
        BITMAP bm{};
        GetBitmap(&bm);
        return CSize(bm.bmWidth, bm.bmHeight);
    }
    // The current pixels as raw 32-bit words, reserved byte included.
    std::vector<std::uint32_t> Pixels()
    {
        RGBX *bits = GetDIBits32();
        CSize const size = Size();
        std::vector<std::uint32_t> out(std::size_t(size.cx) * size.cy);
        if (bits)
            std::memcpy(out.data(), bits, out.size() * 4);
        delete[] bits;
        return out;
    }
};

constexpr std::uint32_t Rgb(int r, int g, int b) { return std::uint32_t(r << 16 | g << 8 | b); }
// White, and the mask of a pixel's colour bits.
constexpr std::uint32_t kWhite = 0x00FFFFFF;

// Fails, doubles or halves its input's width, or copies it;
// records the input sizes it saw.
class TestProcessor : public C32BitImageProcessor {
public:
    enum Mode { Fail, Double, Halve, Copy } mode;
    std::vector<CSize> seen;
    explicit TestProcessor(Mode m) : mode(m) {}
    CSize CalcDestSize(CSize size) override
    {
        return mode == Double ? CSize(size.cx * 2, size.cy) : mode == Halve ? CSize(size.cx / 2, size.cy) : size;
    }
    BOOL ProcessPixels(RGBX *src, CSize srcSize, RGBX *dest, CSize destSize) override
    {
        seen.push_back(srcSize);
        if (mode == Fail)
            return 0;
        if (mode == Copy)
            return C32BitImageProcessor::ProcessPixels(src, srcSize, dest, destSize);
        // Doubling writes only the left half (the right keeps the fill);
        // halving crops.
        for (int y = 0; y < srcSize.cy; ++y)
            for (int x = 0; x < std::min(srcSize.cx, destSize.cx); ++x)
                dest[y * destSize.cx + x] = src[y * srcSize.cx + x];
        return 1;
    }
};

TEST(EnBitmapTest, ReadyMadeEffectsGiveExactPixels)
{
    std::uint32_t const magenta = 0xAAFF00FF;  // reserved byte set: must pass through
    TestBitmap disabled;
    disabled.Make(5, 1, {0, Rgb(255, 0, 0), magenta, kWhite, Rgb(100, 100, 100)});
    HGDIOBJ const before = disabled.m_hObject;
    ASSERT_TRUE(disabled.MakeDisabled(RGB(255, 0, 255)));
    EXPECT_NE(disabled.m_hObject, before);
    std::vector<std::uint32_t> p = disabled.Pixels();
    ASSERT_EQ(p.size(), 5u);
    EXPECT_EQ(p[0] & kWhite, Rgb(90, 90, 90));
    EXPECT_EQ(p[1] & kWhite, Rgb(166, 166, 166));
    EXPECT_EQ(p[2], magenta);
    EXPECT_EQ(p[3] & kWhite, kWhite);

    TestBitmap inactive;
    inactive.Make(4, 1, {Rgb(255, 0, 0), Rgb(100, 100, 100), kWhite, Rgb(255, 0, 255)});
    ASSERT_TRUE(inactive.MakeNotActive(RGB(255, 0, 255)));
    p = inactive.Pixels();
    EXPECT_EQ(p[0] & kWhite, Rgb(255, 10, 10));
    EXPECT_EQ(p[1] & kWhite, Rgb(104, 104, 104));
    EXPECT_EQ(p[2] & kWhite, kWhite);
    EXPECT_EQ(p[3] & kWhite, Rgb(255, 0, 255));

    TestBitmap gray;
    gray.Make(2, 1, {kWhite, Rgb(255, 0, 0)});
    ASSERT_TRUE(gray.GrayImage());
    p = gray.Pixels();
    EXPECT_EQ(p[0] & kWhite, kWhite);
    EXPECT_EQ(p[1] & kWhite, Rgb(76, 76, 76));

    // Red grays to exactly the gray mask colour and then passes the
    // lightening steps untouched; black does not.
    TestBitmap gray_mask;
    gray_mask.Make(2, 1, {Rgb(255, 0, 0), 0});
    ASSERT_TRUE(gray_mask.MakeDisabled(RGB(76, 76, 76)));
    p = gray_mask.Pixels();
    EXPECT_EQ(p[0] & kWhite, Rgb(76, 76, 76));
    EXPECT_EQ(p[1] & kWhite, Rgb(90, 90, 90));
}

TEST(EnBitmapTest, ChainFailuresLeaveTheBitmapAlone)
{
    TestBitmap empty;
    EXPECT_FALSE(empty.GrayImage());
    EXPECT_EQ(empty.GetDIBits32(), nullptr);
    BITMAPINFO info{};
    EXPECT_EQ(empty.PrepareBitmapInfo32(info), 0);

    TestBitmap bitmap;
    bitmap.Make(3, 2, {Rgb(1, 2, 3), Rgb(4, 5, 6)});
    HGDIOBJ const handle = bitmap.m_hObject;
    std::vector<std::uint32_t> const pixels = bitmap.Pixels();

    CArray<C32BitImageProcessor *, C32BitImageProcessor *> chain;
    EXPECT_TRUE(bitmap.ProcessImage(chain));
    EXPECT_EQ(bitmap.m_hObject, handle);

    TestProcessor copy(TestProcessor::Copy), fail(TestProcessor::Fail);
    chain.Add(&copy);
    chain.Add(&fail);
    chain.Add(&copy);
    EXPECT_FALSE(bitmap.ProcessImage(chain));
    EXPECT_EQ(bitmap.m_hObject, handle);
    EXPECT_EQ(bitmap.Pixels(), pixels);
    EXPECT_EQ(copy.seen.size(), 1u);  // the chain stopped at the failure

    // The header describes a top-down 32-bit image; resolutions are kept.
    info.bmiHeader.biXPelsPerMeter = 77;
    EXPECT_EQ(bitmap.PrepareBitmapInfo32(info), 2);
    BITMAPINFOHEADER const &h = info.bmiHeader;
    EXPECT_EQ(h.biSize, 40u);
    EXPECT_EQ(h.biWidth, 3);
    EXPECT_EQ(h.biHeight, -2);
    EXPECT_EQ(h.biPlanes, 1);
    EXPECT_EQ(h.biBitCount, 32);
    EXPECT_EQ(h.biCompression, BI_RGB);
    EXPECT_EQ(h.biSizeImage, 24u);
    EXPECT_EQ(h.biXPelsPerMeter, 77);
}

TEST(EnBitmapTest, OutputsThatGrowAndShrinkKeepTheirPixels)
{
    TestBitmap bitmap(RGB(1, 2, 3));
    bitmap.Make(3, 2, {Rgb(10, 0, 0), Rgb(20, 0, 0), Rgb(30, 0, 0), Rgb(40, 0, 0), Rgb(50, 0, 0), Rgb(60, 0, 0)});
    TestProcessor grow(TestProcessor::Double), halve(TestProcessor::Halve), copy(TestProcessor::Copy);
    CArray<C32BitImageProcessor *, C32BitImageProcessor *> chain;
    chain.Add(&grow);   // 3 × 2 -> 6 × 2
    chain.Add(&halve);  // -> 3 × 2, reusing the larger buffer
    chain.Add(&grow);   // -> 6 × 2
    chain.Add(&grow);   // -> 12 × 2, a new buffer
    chain.Add(&copy);
    ASSERT_TRUE(bitmap.ProcessImage(chain));
    EXPECT_EQ(bitmap.Size(), CSize(12, 2));
    ASSERT_EQ(grow.seen.size(), 3u);
    EXPECT_EQ(grow.seen[2], CSize(6, 2));
    EXPECT_EQ(copy.seen[0], CSize(12, 2));

    std::uint32_t const fill = Rgb(1, 2, 3);
    std::vector<std::uint32_t> const p = bitmap.Pixels();
    std::vector<std::uint32_t> expected(24, fill);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
            expected[std::size_t(y) * 12 + x] = Rgb(10 * (y * 3 + x + 1), 0, 0);
    for (std::size_t i = 0; i < p.size(); ++i)
        EXPECT_EQ(p[i] & kWhite, expected[i]) << "pixel " << i;
}

TEST(EnBitmapTest, FillCoversTheBufferByDoubling)
{
    std::vector<RGBX> buffer(7 * 5 + 1);
    buffer.back() = RGBX(9, 9, 9);  // past the end: never written
    EXPECT_TRUE(TestBitmap::Fill(buffer.data(), CSize(7, 5), RGB(255, 0, 0)));
    for (std::size_t i = 0; i < 35; ++i) {
        EXPECT_EQ(buffer[i].btRed, 255) << i;
        EXPECT_EQ(buffer[i].btGreen | buffer[i].btBlue | buffer[i].btUnused, 0) << i;
    }
    EXPECT_EQ(buffer.back().btRed, 9);

    EXPECT_TRUE(TestBitmap::Fill(buffer.data(), CSize(5, 3), 0xFFFFFF));
    for (std::size_t i = 0; i < 15; ++i)
        EXPECT_EQ(buffer[i].btUnused & buffer[i].btRed & buffer[i].btGreen & buffer[i].btBlue, 0xFF) << i;
    EXPECT_EQ(buffer[15].btRed, 255);
    EXPECT_EQ(buffer[15].btUnused, 0);
    EXPECT_TRUE(TestBitmap::Fill(buffer.data(), CSize(5, 3), 0));
    EXPECT_EQ(buffer[14].btUnused | buffer[14].btRed, 0);

    EXPECT_FALSE(TestBitmap::Fill(nullptr, CSize(5, 3), 0x123456));
    EXPECT_TRUE(TestBitmap::Fill(buffer.data(), CSize(0, 3), 0x123456));
    EXPECT_TRUE(TestBitmap::Fill(buffer.data(), CSize(3, 0), 0x123456));
    EXPECT_EQ(buffer[0].btRed, 0);
}

}  // namespace
