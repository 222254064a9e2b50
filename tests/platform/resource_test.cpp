// Resource libraries: cursors, menus, bitmaps and strings loaded from real
// shared libraries, and broken libraries refused with a diagnostic line.
#include <tessiv/platform/gdi_object.h>
#include <tessiv/platform/headless.h>
#include <tessiv/platform/resource_chain.h>
#include <tessiv/platform/winbase.h>
#include <tessiv/platform/wingdi.h>
#include <tessiv/platform/winuser.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::string> diagnostics;
void collect(char const *title, char const *text) { diagnostics.push_back(std::string(title) + ": " + text); }

class ResourceTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        diagnostics.clear();
        TessivSetDiagnosticSink(collect);
    }
    void TearDown() override { TessivSetDiagnosticSink(nullptr); }
};

std::string menu_text(HMENU menu, int position)
{
    char text[64] = {};
    GetMenuStringA(menu, static_cast<UINT>(position), text, sizeof text, MF_BYPOSITION);
    return text;
}

TEST_F(ResourceTest, CursorsCarryTheirImagesAndHotSpots)
{
    HMODULE german = LoadLibraryA(GERMAN_LIBRARY);
    ASSERT_NE(german, nullptr);
    struct Expected {
        int id;
        std::vector<std::pair<int, POINT>> images;  // bits per pixel, hot spot
    };
    for (Expected const &expected : {Expected{144, {{8, {0, 0}}}}, Expected{5111, {{8, {0, 0}}}},
                                     Expected{149, {{1, {9, 8}}, {8, {0, 0}}}}}) {
        HCURSOR cursor = LoadCursorA(german, MAKEINTRESOURCE(expected.id));
        ASSERT_NE(cursor, nullptr) << "cursor " << expected.id;
        EXPECT_EQ(LoadCursorA(german, MAKEINTRESOURCE(expected.id)), cursor) << "loaded cursors are shared";
        std::vector<TessivCursorImage> images;
        ASSERT_TRUE(TessivGetCursorImages(cursor, &images));
        ASSERT_EQ(images.size(), expected.images.size()) << "cursor " << expected.id;
        for (std::size_t index = 0; index < images.size(); ++index) {
            TessivCursorImage const &image = images[index];
            EXPECT_EQ(image.width, 32);
            EXPECT_EQ(image.height, 32);
            EXPECT_EQ(image.bits_per_pixel, expected.images[index].first) << "cursor " << expected.id;
            EXPECT_EQ(image.hot_spot.x, expected.images[index].second.x) << "cursor " << expected.id;
            EXPECT_EQ(image.hot_spot.y, expected.images[index].second.y) << "cursor " << expected.id;
            int opaque = 0, transparent = 0;
            for (std::uint32_t pixel : image.pixels)
                ++((pixel >> 24) ? opaque : transparent);
            EXPECT_GT(opaque, 50) << "cursor " << expected.id << " draws its motif";
            EXPECT_GT(transparent, 50) << "cursor " << expected.id << " leaves its background clear";
        }
    }
    // A cursor lasts as long as its library, not as one reference to it.
    HMODULE again = LoadLibraryA(GERMAN_LIBRARY);
    HCURSOR zoom = LoadCursorA(german, MAKEINTRESOURCE(149));
    FreeLibrary(again);
    std::vector<TessivCursorImage> kept;
    EXPECT_TRUE(TessivGetCursorImages(zoom, &kept));
    EXPECT_EQ(LoadCursorA(german, MAKEINTRESOURCE(149)), zoom);
    // The same cursor of another library is another cursor.
    HMODULE english = LoadLibraryA(ENGLISH_LIBRARY);
    EXPECT_NE(LoadCursorA(english, MAKEINTRESOURCE(144)), LoadCursorA(german, MAKEINTRESOURCE(144)));
    EXPECT_EQ(LoadCursorA(german, MAKEINTRESOURCE(145)), nullptr);
    EXPECT_EQ(LoadCursorA(german, "named"), nullptr);
    std::vector<TessivCursorImage> images;
    EXPECT_FALSE(TessivGetCursorImages(LoadCursorA(nullptr, IDC_ARROW), &images));
    FreeLibrary(english);
    FreeLibrary(german);
}

TEST_F(ResourceTest, MenusAreBuiltWithTheirTranslatedTexts)
{
    for (auto [path, title, last] : {std::tuple{GERMAN_LIBRARY, "Ansicht", "Ansicht &zurücksetzen"},
                                     std::tuple{ENGLISH_LIBRARY, "View", "Re&set view"}}) {
        HMODULE library = LoadLibraryA(path);
        HMENU menu = LoadMenuA(library, MAKEINTRESOURCE(130));
        ASSERT_NE(menu, nullptr) << path;
        EXPECT_EQ(menu_text(menu, 0), title);
        HMENU popup = GetSubMenu(menu, 0);
        ASSERT_EQ(GetMenuItemCount(popup), 6);
        EXPECT_EQ(GetMenuItemID(popup, 0), 32771u);
        EXPECT_EQ(GetMenuState(popup, 3, MF_BYPOSITION) & MF_SEPARATOR, MF_SEPARATOR);
        EXPECT_EQ(menu_text(popup, 5), last);
        DestroyMenu(menu);
        FreeLibrary(library);
    }

    HMODULE library = LoadLibraryA(TEST_RESOURCE_LIBRARY);
    HMENU menu = LoadMenuA(library, MAKEINTRESOURCE(20));
    ASSERT_EQ(GetMenuItemCount(menu), 2);
    HMENU file = GetSubMenu(menu, 0);
    EXPECT_EQ(GetMenuState(file, 101, MF_BYCOMMAND) & MF_GRAYED, MF_GRAYED);
    HMENU recent = GetSubMenu(file, 2);
    EXPECT_EQ(menu_text(file, 2), "Recent");
    EXPECT_EQ(GetMenuState(recent, 110, MF_BYCOMMAND) & MF_CHECKED, MF_CHECKED);
    EXPECT_EQ(GetMenuItemID(GetSubMenu(menu, 1), 0), 200u);
    DestroyMenu(menu);
    EXPECT_EQ(LoadMenuA(library, MAKEINTRESOURCE(21)), nullptr);
    FreeLibrary(library);
}

TEST_F(ResourceTest, BitmapsStringsAndRawDataComeFromTheTable)
{
    HMODULE library = LoadLibraryA(TEST_RESOURCE_LIBRARY);
    ASSERT_NE(library, nullptr);
    HBITMAP bitmap = LoadBitmapA(library, MAKEINTRESOURCE(300));
    ASSERT_NE(bitmap, nullptr);
    BITMAP info{};
    ASSERT_EQ(GetObjectA(bitmap, sizeof info, &info), static_cast<int>(sizeof info));
    EXPECT_EQ(info.bmWidth, 3);
    EXPECT_EQ(info.bmHeight, 2);
    BITMAPINFO header{};
    header.bmiHeader = {sizeof(BITMAPINFOHEADER), 3, -2, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    std::uint32_t pixels[6] = {};
    HDC screen = GetDC(nullptr);
    EXPECT_EQ(GetDIBits(screen, bitmap, 0, 2, pixels, &header, DIB_RGB_COLORS), 2);
    ReleaseDC(nullptr, screen);
    std::uint32_t const expected[6] = {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF, 0x000000, 0x808080};
    for (int index = 0; index < 6; ++index)
        EXPECT_EQ(pixels[index] & 0xFFFFFF, expected[index]) << "pixel " << index << " (rows top down)";
    DeleteObject(bitmap);

    // The framework's bitmap finds the module through the current resource handle.
    HINSTANCE saved = AfxGetResourceHandle();
    AfxSetResourceHandle(library);
    {
        CBitmap strip, missing;
        EXPECT_TRUE(strip.LoadBitmap(300));
        BITMAP loaded{};
        strip.GetBitmap(&loaded);
        EXPECT_EQ(loaded.bmWidth, 3);
        EXPECT_FALSE(missing.LoadBitmap(301));
        EXPECT_EQ(missing.m_hObject, nullptr);
    }
    AfxSetResourceHandle(saved);

    char text[64];
    EXPECT_EQ(LoadStringA(library, 5, text, sizeof text), 15);
    EXPECT_STREQ(text, "a \"quoted\" text");
    EXPECT_EQ(LoadStringA(library, 5, text, 4), 3) << "truncated to the buffer with a terminator";
    EXPECT_STREQ(text, "a \"");
    EXPECT_EQ(LoadStringA(library, 6, text, sizeof text), 0);
    EXPECT_EQ(LoadStringA(library, 7, text, sizeof text), 0);

    HRSRC group = FindResourceA(library, MAKEINTRESOURCE(7), RT_GROUP_CURSOR);
    ASSERT_NE(group, nullptr);
    EXPECT_EQ(SizeofResource(library, group), 14u) << "a count and one image record";
    auto const *bytes = static_cast<unsigned char const *>(LockResource(LoadResource(library, group)));
    ASSERT_NE(bytes, nullptr);
    EXPECT_EQ(bytes[0], 1);
    EXPECT_EQ(bytes[8] | bytes[9] << 8, 31) << "hot spot x, little-endian after width, height and bits";
    EXPECT_EQ(FindResourceA(library, MAKEINTRESOURCE(7), RT_MENU), nullptr) << "types are kept apart";
    EXPECT_EQ(LoadResource(nullptr, group), nullptr) << "a resource belongs to its module";
    std::vector<TessivCursorImage> images;
    HCURSOR cursor = LoadCursorA(library, MAKEINTRESOURCE(7));
    ASSERT_TRUE(TessivGetCursorImages(cursor, &images));
    EXPECT_EQ(images[0].hot_spot.x, 31);
    FreeLibrary(library);
    EXPECT_FALSE(TessivGetCursorImages(cursor, &images)) << "an unloaded library's cursors are gone";
}

TEST_F(ResourceTest, BrokenLibrariesGiveNullAndATraceLine)
{
    EXPECT_EQ(LoadLibraryA("/nonexistent/libnothing.so"), nullptr);
    char const *bad[] = {BAD_LIBRARIES};
    char const *operations[] = {"no resource table", "no valid header", "entries", "beyond the table",
                                "malformed", "malformed", "malformed"};
    for (std::size_t fault = 0; fault < std::size(bad); ++fault) {
        diagnostics.clear();
        HMODULE library = LoadLibraryA(bad[fault]);
        ASSERT_NE(library, nullptr) << bad[fault];
        char text[8];
        EXPECT_EQ(LoadMenuA(library, MAKEINTRESOURCE(130)), nullptr) << bad[fault];
        EXPECT_EQ(LoadCursorA(library, MAKEINTRESOURCE(144)), nullptr) << bad[fault];
        EXPECT_EQ(LoadStringA(library, 1, text, sizeof text), 0) << bad[fault];
        EXPECT_EQ(LoadBitmapA(library, MAKEINTRESOURCE(1)), nullptr) << bad[fault];
        bool named = false;
        for (std::string const &line : diagnostics)
            named = named || line.find(operations[fault]) != std::string::npos;
        EXPECT_TRUE(named) << bad[fault] << " reports '" << operations[fault] << "'";
        FreeLibrary(library);
    }
    // A handle that names no loaded library is refused, not followed.
    int not_a_library = 0;
    auto made_up = reinterpret_cast<HMODULE>(&not_a_library);
    EXPECT_EQ(FindResourceA(made_up, MAKEINTRESOURCE(1), RT_STRING), nullptr);
    EXPECT_EQ(LoadCursorA(made_up, MAKEINTRESOURCE(144)), nullptr);
    // The executable has no table: its dependencies' tables do not count.
    EXPECT_EQ(FindResourceA(nullptr, MAKEINTRESOURCE(144), RT_GROUP_CURSOR), nullptr);
}

}  // namespace
