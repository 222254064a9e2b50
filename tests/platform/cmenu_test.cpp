#include <tessiv/platform/cmenu.h>
#include <tessiv/platform/cwnd.h>
#include <tessiv/platform/headless.h>

#include <gtest/gtest.h>

#include <vector>

namespace {

std::vector<UINT> commands;

class CommandWnd : public CWnd {
public:
    BOOL OnCommand(WPARAM wParam, LPARAM) override
    {
        commands.push_back(LOWORD(wParam));
        return TRUE;
    }
};

TEST(CMenuTest, AttachedMenusAreOwnedAndSubmenusWrapped)
{
    HMENU bar = CreateMenu();
    HMENU popup = CreatePopupMenu();
    AppendMenuA(popup, MF_STRING, 40, "Zoom all");
    AppendMenuA(popup, MF_STRING, 41, "Reset");
    AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(popup), "View");
    {
        CMenu menu;
        ASSERT_TRUE(menu.Attach(bar));
        EXPECT_EQ(CMenu::FromHandle(bar), &menu);
        CMenu other;
        EXPECT_FALSE(other.Attach(bar)) << "one permanent object per menu";
        CMenu *sub = menu.GetSubMenu(0);
        ASSERT_NE(sub, nullptr);
        EXPECT_EQ(sub->m_hMenu, popup);
        EXPECT_EQ(menu.GetSubMenu(0), sub) << "one temporary per handle";
        EXPECT_EQ(menu.GetSubMenu(5), nullptr);
        EXPECT_EQ(sub->GetMenuItemCount(), 2u);
        CString text;
        EXPECT_EQ(sub->GetMenuString(41, text, MF_BYCOMMAND), 5);
        EXPECT_EQ(text, "Reset");
        EXPECT_EQ(sub->EnableMenuItem(41, MF_GRAYED), MF_ENABLED);

        // A chosen command reaches the owner as WM_COMMAND.
        CommandWnd owner;
        ASSERT_TRUE(owner.CreateEx(0, nullptr, "owner", WS_OVERLAPPED, 0, 0, 50, 50, nullptr, nullptr));
        commands.clear();
        TessivSetPopupMenuChoice(40);
        EXPECT_TRUE(sub->TrackPopupMenu(TPM_RIGHTBUTTON, 10, 20, &owner));
        EXPECT_EQ(TessivLastPopupMenu().flags, TPM_RIGHTBUTTON);
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageA(&msg);
        EXPECT_EQ(commands, std::vector<UINT>{40});

        EXPECT_TRUE(sub->DestroyMenu());
        EXPECT_EQ(sub->m_hMenu, nullptr);
        EXPECT_EQ(CMenu::FromHandle(popup), nullptr) << "a destroyed menu has no object";
        CMenu::DeleteTempMap();
    }
    EXPECT_FALSE(IsMenu(bar)) << "the owning object destroyed its menu";
}

TEST(CMenuTest, SystemMenuItemsCanBeDisabledAndDeleted)
{
    CWnd window;
    ASSERT_TRUE(window.CreateEx(0, nullptr, "w", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr));
    CMenu *system = window.GetSystemMenu(FALSE);
    ASSERT_NE(system, nullptr);
    UINT count = system->GetMenuItemCount();
    EXPECT_TRUE(system->DeleteMenu(1, MF_BYPOSITION));
    EXPECT_NE(system->EnableMenuItem(SC_CLOSE, MF_DISABLED), 0xFFFFFFFFu);
    EXPECT_TRUE(system->DeleteMenu(SC_CLOSE, MF_BYCOMMAND));
    EXPECT_EQ(system->GetMenuItemCount(), count - 2);
    EXPECT_EQ(system->EnableMenuItem(SC_CLOSE, MF_DISABLED), 0xFFFFFFFFu) << "the item is gone";
    window.DestroyWindow();
    CMenu::DeleteTempMap();
    CMenu empty;
    EXPECT_FALSE(empty.DestroyMenu());
    EXPECT_EQ(CMenu::FromHandle(nullptr), nullptr);
}

}  // namespace
