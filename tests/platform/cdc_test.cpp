#include <tessiv/platform/cdc.h>
#include <tessiv/platform/cwnd.h>

#include <gtest/gtest.h>

namespace {

constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);

TEST(CDCTest, MemoryDcDrawsSolidAndThreeDimensionalRectangles)
{
    CDC screen;
    ASSERT_TRUE(screen.Attach(GetDC(nullptr)));
    CDC memory;
    ASSERT_TRUE(memory.CreateCompatibleDC(&screen));
    CBitmap bitmap;
    ASSERT_TRUE(bitmap.CreateCompatibleBitmap(&screen, 8, 6));
    BITMAP info{};
    ASSERT_TRUE(bitmap.GetBitmap(&info));
    EXPECT_EQ(info.bmWidth, 8);
    CBitmap *previous = memory.SelectObject(&bitmap);
    ASSERT_NE(previous, nullptr);

    memory.FillSolidRect(0, 0, 8, 6, RGB(1, 2, 3));
    EXPECT_EQ(memory.GetPixel(7, 5), RGB(1, 2, 3));
    memory.Draw3dRect(CRect(1, 1, 6, 5), kRed, kBlue);
    EXPECT_EQ(memory.GetPixel(1, 1), kRed) << "top-left corner";
    EXPECT_EQ(memory.GetPixel(4, 1), kRed) << "top edge";
    EXPECT_EQ(memory.GetPixel(1, 3), kRed) << "left edge";
    EXPECT_EQ(memory.GetPixel(5, 1), kBlue) << "top-right corner belongs to the right edge";
    EXPECT_EQ(memory.GetPixel(1, 4), kBlue) << "bottom-left corner belongs to the bottom edge";
    EXPECT_EQ(memory.GetPixel(5, 4), kBlue);
    EXPECT_EQ(memory.GetPixel(3, 2), RGB(1, 2, 3)) << "the inside is untouched";
    EXPECT_EQ(memory.GetPixel(6, 1), RGB(1, 2, 3)) << "nothing outside";

    memory.SelectObject(previous);
    HGDIOBJ handle = bitmap.m_hObject;
    EXPECT_TRUE(bitmap.DeleteObject());
    EXPECT_EQ(GetObjectType(handle), 0u) << "deleting the wrapper deletes the bitmap";
    EXPECT_EQ(CBitmap::FromHandle(static_cast<HBITMAP>(handle)), nullptr);
    ReleaseDC(nullptr, screen.Detach());
    CDC::DeleteTempMap();
    CGdiObject::DeleteTempMap();
}

TEST(CDCTest, PaintDcValidatesAndTemporaryWrappersDoNotOwn)
{
    CWnd window;
    ASSERT_TRUE(window.CreateEx(0, AfxRegisterWndClass(0), "w", WS_OVERLAPPED | WS_VISIBLE, 0, 0, 40, 30, nullptr,
                                nullptr));
    window.Invalidate();
    RECT update{};
    EXPECT_TRUE(GetUpdateRect(window.m_hWnd, &update, FALSE));
    {
        CPaintDC dc(&window);
        EXPECT_NE(dc.m_hDC, nullptr);
        EXPECT_EQ(dc.GetWindow(), &window);
    }
    EXPECT_FALSE(GetUpdateRect(window.m_hWnd, &update, FALSE)) << "EndPaint validated the window";

    HBRUSH brush = CreateSolidBrush(kRed);
    {
        CBrush *wrapper = CBrush::FromHandle(brush);
        ASSERT_NE(wrapper, nullptr);
        EXPECT_EQ(static_cast<HBRUSH>(*wrapper), brush);
        CGdiObject::DeleteTempMap();
    }
    EXPECT_NE(GetObjectType(brush), 0u) << "a temporary wrapper does not delete its handle";
    {
        CBrush owner;
        ASSERT_TRUE(owner.Attach(brush));
        EXPECT_EQ(CBrush::FromHandle(brush), &owner);
    }
    EXPECT_EQ(GetObjectType(brush), 0u) << "an owning wrapper deletes it";

    CWindowDC whole(&window);
    CClientDC client(&window);
    EXPECT_NE(whole.m_hDC, nullptr);
    EXPECT_NE(client.m_hDC, nullptr);
    window.DestroyWindow();
}

}  // namespace
