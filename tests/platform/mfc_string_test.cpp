#include <tessiv/platform/mfc_string.h>
#include <tessiv/platform/windef.h>

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(CStringTest, FormatConcatenateCompare)
{
    CString s;
    s.Format("Panes_%d", 3);
    EXPECT_EQ(s, "Panes_3");
    EXPECT_EQ(s.GetLength(), 7);

    std::string long_text(5000, 'x');
    s.Format("%s|%.3f", long_text.c_str(), 1.5);
    EXPECT_EQ(s.GetLength(), 5006) << "Format grows past any fixed buffer";

    CString a("abc"), b = a + "def";
    b += 'g';
    EXPECT_EQ(b, "abcdefg");
    EXPECT_TRUE(a < b);
    EXPECT_NE(a, b);
    CString from_null(static_cast<char const *>(nullptr));
    EXPECT_TRUE(from_null.IsEmpty());
}

TEST(WinDefTest, ColorrefAndRectangles)
{
    COLORREF c = RGB(0x12, 0x34, 0x56);
    EXPECT_EQ(c, 0x00563412u) << "red sits in the low byte";
    EXPECT_EQ(GetRValue(c), 0x12);
    EXPECT_EQ(GetBValue(c), 0x56);

    CRect r(10, 20, 30, 60);
    EXPECT_EQ(r.Width(), 20);
    EXPECT_EQ(r.Size(), CSize(20, 40));
    EXPECT_TRUE(r.PtInRect(CPoint(10, 20)));
    EXPECT_FALSE(r.PtInRect(CPoint(30, 20))) << "right and bottom edges are outside";
    r.DeflateRect(10, 20);
    EXPECT_TRUE(r.IsRectEmpty());
}

}  // namespace
