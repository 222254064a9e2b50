#include <tessiv/platform/wingdi.h>
#include <tessiv/platform/winuser.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

class GdiTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        screen_ = GetDC(nullptr);
        memory_ = CreateCompatibleDC(screen_);
        bitmap_ = CreateCompatibleBitmap(screen_, 8, 6);
        ASSERT_NE(bitmap_, nullptr);
        old_ = SelectObject(memory_, bitmap_);
    }
    void TearDown() override
    {
        SelectObject(memory_, old_);
        EXPECT_TRUE(DeleteObject(bitmap_));
        DeleteDC(memory_);
        ReleaseDC(nullptr, screen_);
    }
    // The bitmap's pixels, top-down, read back through GetDIBits.
    std::vector<std::uint32_t> pixels(HBITMAP bitmap, int width, int height, bool top_down = true)
    {
        BITMAPINFO info{};
        info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, top_down ? -height : height, 1, 32, BI_RGB,
                          static_cast<DWORD>(width * height * 4), 0, 0, 0, 0};
        std::vector<std::uint32_t> out(static_cast<std::size_t>(width * height));
        EXPECT_EQ(GetDIBits(screen_, bitmap, 0, static_cast<UINT>(height), out.data(), &info, DIB_RGB_COLORS), height);
        return out;
    }
    HDC screen_ = nullptr;
    HDC memory_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ old_ = nullptr;
};

TEST_F(GdiTest, BitmapDescriptionAndDibRoundTripInBothRowOrders)
{
    EXPECT_EQ(GetDeviceCaps(screen_, BITSPIXEL), 32);
    BITMAP description{};
    ASSERT_EQ(GetObjectA(bitmap_, sizeof description, &description), static_cast<int>(sizeof(BITMAP)));
    EXPECT_EQ(description.bmWidth, 8);
    EXPECT_EQ(description.bmHeight, 6);
    EXPECT_EQ(description.bmBitsPixel, 32);
    EXPECT_EQ(description.bmWidthBytes, 32);

    std::vector<std::uint32_t> image(48);
    for (std::size_t i = 0; i < image.size(); ++i)
        image[i] = static_cast<std::uint32_t>(i * 0x010203);
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), 8, -6, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    ASSERT_EQ(SetDIBits(screen_, bitmap_, 0, 6, image.data(), &info, DIB_RGB_COLORS), 6);
    EXPECT_EQ(pixels(bitmap_, 8, 6), image);
    std::vector<std::uint32_t> bottom_up = pixels(bitmap_, 8, 6, false);
    EXPECT_EQ(bottom_up[0], image[40]) << "a positive height lists the bottom row first";
    EXPECT_EQ(GetPixel(memory_, 1, 0), RGB(0x01, 0x02, 0x03)) << "DIB words are 0x00RRGGBB";

    info.bmiHeader.biWidth = 7;
    EXPECT_EQ(GetDIBits(screen_, bitmap_, 0, 6, image.data(), &info, DIB_RGB_COLORS), 0)
        << "a header of another width is refused";
    info.bmiHeader.biWidth = 8;
    EXPECT_EQ(GetDIBits(screen_, bitmap_, 4, 100, image.data(), &info, DIB_RGB_COLORS), 2)
        << "scan lines are clamped to the bitmap";
    EXPECT_FALSE(DeleteObject(bitmap_)) << "a selected bitmap cannot be deleted";
    EXPECT_EQ(CreateCompatibleBitmap(screen_, 1 << 20, 1 << 20), nullptr) << "huge bitmaps are refused";
}

TEST_F(GdiTest, FillsFramesAndFocusRectanglesHitExactPixels)
{
    HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
    RECT all{0, 0, 8, 6};
    FillRect(memory_, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    RECT inner{1, 1, 4, 3};
    FillRect(memory_, &inner, red);
    EXPECT_EQ(GetPixel(memory_, 1, 1), RGB(255, 0, 0));
    EXPECT_EQ(GetPixel(memory_, 3, 2), RGB(255, 0, 0));
    EXPECT_EQ(GetPixel(memory_, 4, 2), RGB(255, 255, 255)) << "right edge excluded";
    EXPECT_EQ(GetPixel(memory_, 8, 0), CLR_INVALID);

    FillRect(memory_, &all, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
    EXPECT_EQ(GetPixel(memory_, 0, 0), GetSysColor(COLOR_BTNFACE)) << "system colour index + 1 is a brush";

    FillRect(memory_, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    FrameRect(memory_, &all, red);
    EXPECT_EQ(GetPixel(memory_, 7, 5), RGB(255, 0, 0));
    EXPECT_EQ(GetPixel(memory_, 1, 1), RGB(0, 0, 0));

    FillRect(memory_, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    DrawFocusRect(memory_, &all);
    EXPECT_EQ(GetPixel(memory_, 0, 0), RGB(255, 255, 255));
    EXPECT_EQ(GetPixel(memory_, 1, 0), RGB(0, 0, 0)) << "the outline is dotted";
    EXPECT_EQ(GetPixel(memory_, 7, 5), RGB(255, 255, 255));
    DrawFocusRect(memory_, &all);
    for (std::uint32_t p : pixels(bitmap_, 8, 6))
        EXPECT_EQ(p, 0u) << "drawing it twice restores every pixel";

    SetBkColor(memory_, RGB(0, 0, 255));
    ExtTextOutA(memory_, 0, 0, ETO_OPAQUE, &inner, "", 0, nullptr);
    EXPECT_EQ(GetPixel(memory_, 2, 2), RGB(0, 0, 255));

    // A 3D frame drawn as the framework does it: four solid fills, the right
    // and bottom ones with negative extents.
    FillRect(memory_, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    auto solid = [this](int x, int y, int cx, int cy, COLORREF colour) {
        SetBkColor(memory_, colour);
        RECT r{x, y, x + cx, y + cy};
        ExtTextOutA(memory_, 0, 0, ETO_OPAQUE, &r, nullptr, 0, nullptr);
    };
    COLORREF light = RGB(255, 255, 255), dark = RGB(128, 128, 128);
    solid(0, 0, 7, 1, light);
    solid(0, 0, 1, 5, light);
    solid(8, 0, -1, 6, dark);
    solid(0, 6, 8, -1, dark);
    EXPECT_EQ(GetPixel(memory_, 0, 0), light);
    EXPECT_EQ(GetPixel(memory_, 0, 4), light);
    EXPECT_EQ(GetPixel(memory_, 7, 0), dark) << "the top-right corner belongs to the dark edge";
    EXPECT_EQ(GetPixel(memory_, 0, 5), dark);
    EXPECT_EQ(GetPixel(memory_, 3, 3), RGB(0, 0, 0));
    DeleteObject(red);
}

TEST_F(GdiTest, ClippingExcludesAndIntersects)
{
    RECT all{0, 0, 8, 6};
    FillRect(memory_, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    EXPECT_EQ(ExcludeClipRect(memory_, 2, 2, 4, 4), COMPLEXREGION);
    EXPECT_EQ(IntersectClipRect(memory_, 0, 0, 6, 6), COMPLEXREGION);
    FillRect(memory_, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    EXPECT_EQ(GetPixel(memory_, 2, 2), CLR_INVALID) << "excluded pixels are out of reach";
    SelectClipRgn(memory_, nullptr);
    EXPECT_EQ(GetPixel(memory_, 2, 2), RGB(0, 0, 0));
    EXPECT_EQ(GetPixel(memory_, 3, 3), RGB(0, 0, 0));
    EXPECT_EQ(GetPixel(memory_, 1, 1), RGB(255, 255, 255));
    EXPECT_EQ(GetPixel(memory_, 6, 1), RGB(0, 0, 0)) << "outside the intersected area";
    EXPECT_EQ(IntersectClipRect(memory_, 10, 10, 12, 12), NULLREGION);
    SelectClipRgn(memory_, nullptr);

    int saved = SaveDC(memory_);
    SetViewportOrgEx(memory_, 2, 1, nullptr);
    IntersectClipRect(memory_, 0, 0, 1, 1);
    RECT box;
    EXPECT_EQ(GetClipBox(memory_, &box), SIMPLEREGION);
    EXPECT_EQ(box.right, 1) << "clip boxes are in logical coordinates";
    SetPixel(memory_, 0, 0, RGB(9, 9, 9));
    ASSERT_TRUE(RestoreDC(memory_, saved));
    EXPECT_EQ(GetPixel(memory_, 2, 1), RGB(9, 9, 9)) << "the viewport origin moved the pixel";
    EXPECT_NE(SetPixel(memory_, 7, 5, RGB(1, 1, 1)), CLR_INVALID) << "restoring removed the clip";
}

TEST_F(GdiTest, BitBltCopiesBetweenWindowAndMemoryWithOverlap)
{
    WNDCLASSA window_class{};
    window_class.lpfnWndProc = DefWindowProcA;
    window_class.lpszClassName = "GdiTestWindow";
    window_class.style = CS_OWNDC;
    RegisterClassA(&window_class);
    HWND window = CreateWindowExA(0, "GdiTestWindow", "", WS_OVERLAPPED | WS_BORDER, 0, 0, 12, 10,
                                  nullptr, nullptr, nullptr, nullptr);
    HDC dc = GetDC(window);
    EXPECT_EQ(GetDC(window), dc) << "a CS_OWNDC window keeps one DC";
    EXPECT_EQ(ReleaseDC(window, dc), 1);
    RECT client;
    GetClientRect(window, &client);
    EXPECT_EQ(client.right, 10);
    FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    SetPixel(dc, 0, 0, RGB(1, 2, 3));
    HDC frame = GetWindowDC(window);
    EXPECT_EQ(GetPixel(frame, 1, 1), RGB(1, 2, 3)) << "the client area starts inside the border";
    EXPECT_EQ(GetPixel(frame, 0, 0), RGB(0, 0, 0));
    ReleaseDC(window, frame);

    ASSERT_TRUE(BitBlt(memory_, 0, 0, 8, 6, dc, 0, 0, SRCCOPY));
    EXPECT_EQ(GetPixel(memory_, 0, 0), RGB(1, 2, 3));
    EXPECT_TRUE(BitBlt(memory_, 1, 0, 7, 6, memory_, 0, 0, SRCCOPY));
    EXPECT_EQ(GetPixel(memory_, 1, 0), RGB(1, 2, 3)) << "overlapping copies read the old pixels";
    EXPECT_EQ(GetPixel(memory_, 2, 0), RGB(255, 255, 255));
    EXPECT_TRUE(PatBlt(memory_, 0, 0, 8, 6, DSTINVERT));
    EXPECT_EQ(GetPixel(memory_, 2, 0), RGB(0, 0, 0));
    DestroyWindow(window);
    EXPECT_EQ(GetPixel(dc, 0, 0), CLR_INVALID) << "the window's DC went with it";
}

}  // namespace
