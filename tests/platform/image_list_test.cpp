#include <tessiv/platform/cdc.h>
#include <tessiv/platform/gdi_object.h>
#include <tessiv/platform/image_list.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

constexpr COLORREF kMagenta = RGB(255, 0, 255);
constexpr COLORREF kBackground = RGB(10, 20, 30);

// A 12 × 6 memory surface painted in kBackground, and strips made from
// COLORREF rows.
class ImageListTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        screen_ = GetDC(nullptr);
        memory_ = CreateCompatibleDC(screen_);
        surface_ = CreateCompatibleBitmap(screen_, 12, 6);
        old_ = SelectObject(memory_, surface_);
        HBRUSH brush = CreateSolidBrush(kBackground);
        RECT all{0, 0, 12, 6};
        FillRect(memory_, &all, brush);
        DeleteObject(brush);
    }
    void TearDown() override
    {
        SelectObject(memory_, old_);
        DeleteObject(surface_);
        DeleteDC(memory_);
        ReleaseDC(nullptr, screen_);
    }
    static HBITMAP Strip(int width, int height, std::vector<COLORREF> const &colours)
    {
        std::vector<std::uint32_t> pixels;
        for (COLORREF c : colours)
            pixels.push_back((std::uint32_t(GetRValue(c)) << 16) | (std::uint32_t(GetGValue(c)) << 8) | GetBValue(c));
        pixels.resize(std::size_t(width) * height, 0);
        return CreateBitmap(width, height, 1, 32, pixels.data());
    }
    HDC screen_ = nullptr;
    HDC memory_ = nullptr;
    HBITMAP surface_ = nullptr;
    HGDIOBJ old_ = nullptr;
};

TEST_F(ImageListTest, CountsFollowStripWidthsAndDropTheRemainder)
{
    EXPECT_EQ(ImageList_Create(0, 3, ILC_COLOR24, 1, 1), nullptr);
    HIMAGELIST list = ImageList_Create(4, 2, ILC_COLOR24 | ILC_MASK, 1, 1);
    ASSERT_NE(list, nullptr);
    int cx = 0, cy = 0;
    ASSERT_TRUE(ImageList_GetIconSize(list, &cx, &cy));
    EXPECT_EQ(cx, 4);
    EXPECT_EQ(cy, 2);

    HBITMAP ten = Strip(10, 2, {});
    HBITMAP three = Strip(3, 2, {});
    EXPECT_EQ(ImageList_AddMasked(list, ten, kMagenta), 0);  // 10 = 2 × 4 + 2 dropped
    EXPECT_EQ(ImageList_GetImageCount(list), 2);
    EXPECT_EQ(ImageList_AddMasked(list, three, kMagenta), -1);
    EXPECT_EQ(ImageList_Add(list, ten, nullptr), 2);
    EXPECT_EQ(ImageList_GetImageCount(list), 4);
    EXPECT_TRUE(ImageList_Remove(list, 1));
    EXPECT_EQ(ImageList_GetImageCount(list), 3);
    EXPECT_FALSE(ImageList_Draw(list, 3, memory_, 0, 0, ILD_NORMAL));
    EXPECT_TRUE(ImageList_Remove(list, -1));
    EXPECT_EQ(ImageList_GetImageCount(list), 0);

    EXPECT_TRUE(ImageList_Destroy(list));
    EXPECT_EQ(ImageList_GetImageCount(list), -1);
    EXPECT_FALSE(ImageList_Destroy(list));
    EXPECT_EQ(ImageList_AddMasked(list, ten, kMagenta), -1);
    DeleteObject(ten);
    DeleteObject(three);
}

TEST_F(ImageListTest, MaskColourPixelsAreTransparentWhenDrawn)
{
    constexpr COLORREF red = RGB(200, 0, 0), green = RGB(0, 150, 0);
    // Two 2 × 2 images: red with a magenta corner, then all green but one
    // magenta pixel; a 1-pixel remainder column.
    HBITMAP strip = Strip(5, 2, {kMagenta, red, green, kMagenta, red, red, red, green, green, red});
    CBitmap bitmap;
    ASSERT_TRUE(bitmap.Attach(strip));

    CImageList list;
    ASSERT_TRUE(list.Create(2, 2, ILC_COLOR24 | ILC_MASK, 2, 1));
    EXPECT_FALSE(list.Create(2, 2, ILC_COLOR24, 1, 1));
    ASSERT_EQ(list.Add(&bitmap, kMagenta), 0);
    EXPECT_EQ(list.GetImageCount(), 2);
    // Mask-coloured pixels of the source itself turn black.
    HDC probe = CreateCompatibleDC(screen_);
    HGDIOBJ previous = SelectObject(probe, strip);
    EXPECT_EQ(GetPixel(probe, 0, 0), RGB(0, 0, 0));
    EXPECT_EQ(GetPixel(probe, 4, 0), red);
    SelectObject(probe, previous);
    DeleteDC(probe);

    CDC *dc = CDC::FromHandle(memory_);
    ASSERT_TRUE(list.Draw(dc, 0, POINT{1, 1}, ILD_NORMAL));
    EXPECT_EQ(GetPixel(memory_, 1, 1), kBackground);
    EXPECT_EQ(GetPixel(memory_, 2, 1), red);
    EXPECT_EQ(GetPixel(memory_, 1, 2), red);
    EXPECT_EQ(GetPixel(memory_, 2, 2), red);
    ASSERT_TRUE(list.Draw(dc, 1, POINT{5, 3}, ILD_TRANSPARENT));
    EXPECT_EQ(GetPixel(memory_, 5, 3), green);
    EXPECT_EQ(GetPixel(memory_, 6, 3), kBackground);
    EXPECT_EQ(GetPixel(memory_, 6, 4), green);
    EXPECT_EQ(GetPixel(memory_, 4, 3), kBackground);  // outside the image

    // Only the visible part of an image hanging over the edge is drawn.
    EXPECT_TRUE(list.Draw(dc, 1, POINT{11, 5}, ILD_NORMAL));
    EXPECT_EQ(GetPixel(memory_, 11, 5), green);

    // A background colour fills the transparent pixels under ILD_NORMAL only.
    EXPECT_EQ(list.SetBkColor(RGB(1, 2, 3)), CLR_NONE);
    ASSERT_TRUE(list.Draw(dc, 0, POINT{8, 0}, ILD_NORMAL));
    EXPECT_EQ(GetPixel(memory_, 8, 0), RGB(1, 2, 3));
    ASSERT_TRUE(list.Draw(dc, 0, POINT{8, 3}, ILD_TRANSPARENT));
    EXPECT_EQ(GetPixel(memory_, 8, 3), kBackground);
    ASSERT_TRUE(list.Draw(dc, 0, POINT{10, 3}, ILD_MASK));
    EXPECT_EQ(GetPixel(memory_, 10, 3), RGB(255, 255, 255));
    EXPECT_EQ(GetPixel(memory_, 11, 3), RGB(0, 0, 0));
    CDC::DeleteTempMap();
}

TEST_F(ImageListTest, MaskBitmapsUnmaskedListsAndOwnership)
{
    constexpr COLORREF blue = RGB(0, 0, 255);
    CBitmap image, mask;
    ASSERT_TRUE(image.Attach(Strip(2, 1, {blue, blue})));
    ASSERT_TRUE(mask.Attach(Strip(2, 1, {RGB(255, 255, 255), RGB(0, 0, 0)})));

    CImageList masked;
    ASSERT_TRUE(masked.Create(1, 1, ILC_COLOR32 | ILC_MASK, 0, 4));
    EXPECT_EQ(masked.Add(&image, &mask), 0);
    CDC *dc = CDC::FromHandle(memory_);
    EXPECT_TRUE(masked.Draw(dc, 0, POINT{0, 0}, ILD_TRANSPARENT));
    EXPECT_TRUE(masked.Draw(dc, 1, POINT{1, 0}, ILD_TRANSPARENT));
    EXPECT_EQ(GetPixel(memory_, 0, 0), kBackground);
    EXPECT_EQ(GetPixel(memory_, 1, 0), blue);

    // Without ILC_MASK the mask colour is an ordinary pixel.
    CImageList opaque;
    ASSERT_TRUE(opaque.Create(1, 1, ILC_COLOR24, 0, 1));
    CBitmap magenta;
    ASSERT_TRUE(magenta.Attach(Strip(1, 1, {kMagenta})));
    EXPECT_EQ(opaque.Add(&magenta, kMagenta), 0);
    EXPECT_TRUE(opaque.Draw(dc, 0, POINT{2, 0}, ILD_TRANSPARENT));
    EXPECT_EQ(GetPixel(memory_, 2, 0), kMagenta);

    // Attach, Detach and destruction pass the handle on and release it.
    HIMAGELIST handle = opaque.Detach();
    EXPECT_EQ(opaque.GetSafeHandle(), nullptr);
    EXPECT_FALSE(masked.Attach(handle));
    {
        CImageList owner;
        EXPECT_FALSE(owner.Attach(nullptr));
        ASSERT_TRUE(owner.Attach(handle));
        EXPECT_EQ(static_cast<HIMAGELIST>(owner), handle);
        EXPECT_EQ(owner.GetImageCount(), 1);
    }
    EXPECT_EQ(ImageList_GetImageCount(handle), -1);
    EXPECT_TRUE(masked.DeleteImageList());
    EXPECT_FALSE(masked.DeleteImageList());
    EXPECT_EQ(masked.GetImageCount(), 0);
    CDC::DeleteTempMap();
}

}  // namespace
