// ST_SplitterWnd: hiding and showing sides with their control IDs, views per
// side, sub-divisions, the stored layout, the active border and splits.
#include <tessiv/platform/frame_wnd.h>
#include <tessiv/platform/headless.h>
#include <tessiv/platform/win_app.h>
#include <tessiv/shell/st_splitter_wnd.h>
#include <tessiv/view/base_view.h>
#include <tessiv/tests/splitter_panes.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

class TestSplitter : public ST_SplitterWnd {
public:
    using CSplitterWnd::m_bTracking;
};

char *owned(char const *text) { return strcpy(static_cast<char *>(std::malloc(std::strlen(text) + 1)), text); }

class StSplitterWndTest : public testing::Test {
protected:
    void SetUp() override
    {
        TessivResetInput();
        app = AfxGetApp();
        ASSERT_NE(app, nullptr);
        profile = fs::temp_directory_path() / ("st_splitter_" + std::to_string(::getpid()) + ".ini");
        fs::remove(profile);
        saved_profile_name = app->m_pszProfileName;
        app->m_pszProfileName = owned(profile.c_str());
        frame = new CFrameWnd;
        ASSERT_TRUE(frame->Create(nullptr, "Splitter", WS_OVERLAPPEDWINDOW, CRect(0, 0, 420, 320)));
        frame->ShowWindow(SW_SHOW);
    }
    void TearDown() override
    {
        frame->DestroyWindow();
        pump();
        std::free(const_cast<char *>(app->m_pszProfileName));
        app->m_pszProfileName = saved_profile_name;
        fs::remove(profile);
        EXPECT_EQ(panes_alive, 0);
    }
    // A splitter filling the frame with two panes, its layout read from the profile.
    void Make(ST_SplitterWnd &splitter, bool vertical, CRuntimeClass *views = RUNTIME_CLASS(PaneView))
    {
        ASSERT_TRUE(splitter.Create(frame, views, views, nullptr, vertical, AFX_IDW_PANE_FIRST));
        frame->RecalcLayout();
        splitter.SetInitialStatus();
    }
    std::string Stored(char const *entry = "Panes_0")
    {
        return app->GetProfileString("SplitterWnd", entry, "missing").GetString();
    }
    int Width(ST_SplitterWnd &splitter)
    {
        CRect client;
        splitter.GetClientRect(&client);
        return client.Width();
    }

    CWinApp *app = nullptr;
    fs::path profile;
    LPCTSTR saved_profile_name = nullptr;
    CFrameWnd *frame = nullptr;
};

int column(ST_SplitterWnd &splitter, int col)
{
    int current = 0, minimum = 0;
    splitter.GetColumnInfo(col, current, minimum);
    return current;
}

TEST_F(StSplitterWndTest, HidingAndShowingSidesRenumbersThePanes)
{
    int width = 0;
    {
        ST_SplitterWnd splitter;
        EXPECT_FALSE(splitter.IsSplitted());
        Make(splitter, true, RUNTIME_CLASS(CBaseView));
        EXPECT_TRUE(splitter.IsSplitted());
        width = Width(splitter);
        EXPECT_EQ(column(splitter, 0), 150) << "no stored entry: 150 pixels";
        EXPECT_EQ(column(splitter, 1), width - 150 - 4 * 2 - 7);
        CWnd *left = splitter.GetPane(0, 0), *right = splitter.GetPane(0, 1);

        splitter.ToggleSide(0);
        EXPECT_TRUE(splitter.IsSideHidden(0));
        EXPECT_EQ(splitter.GetColumnCount(), 1);
        EXPECT_EQ(left->GetDlgCtrlID(), splitter.IdFromRowCol(0, 2)) << "just outside the grid";
        EXPECT_FALSE(left->IsWindowVisible());
        EXPECT_EQ(right->GetDlgCtrlID(), splitter.IdFromRowCol(0, 0));
        EXPECT_EQ(column(splitter, 0), width - 4) << "the remaining pane fills the window";
        splitter.ToggleSide(1);
        EXPECT_TRUE(splitter.IsSideHidden(0)) << "only the hidden side can be toggled back";

        splitter.ToggleSide(0);
        EXPECT_FALSE(splitter.IsSideHidden(0));
        EXPECT_EQ(left->GetDlgCtrlID(), splitter.IdFromRowCol(0, 0));
        EXPECT_EQ(right->GetDlgCtrlID(), splitter.IdFromRowCol(0, 1));
        EXPECT_TRUE(left->IsWindowVisible());
        EXPECT_EQ(column(splitter, 0), 150);
        splitter.ToggleSide(0);
    }
    EXPECT_EQ(Stored(), "0 150 -1 " + std::to_string(width - 165)) << "the sizes from before hiding";

    ST_SplitterWnd horizontal;
    Make(horizontal, false);
    CWnd *top = horizontal.GetPane(0, 0), *bottom = horizontal.GetPane(1, 0);
    horizontal.ToggleSide(1);
    EXPECT_TRUE(horizontal.IsSideHidden(1));
    EXPECT_EQ(bottom->GetDlgCtrlID(), horizontal.IdFromRowCol(2, 0));
    EXPECT_EQ(top->GetDlgCtrlID(), horizontal.IdFromRowCol(0, 0));
    horizontal.ToggleSide(1);
    EXPECT_EQ(bottom->GetDlgCtrlID(), horizontal.IdFromRowCol(1, 0));
}

TEST_F(StSplitterWndTest, StoredLayoutIsAppliedAndSavedBackUnchanged)
{
    app->WriteProfileString("SplitterWnd", "Panes_0", "1 200 -1 300");
    {
        ST_SplitterWnd splitter;
        Make(splitter, true);
        EXPECT_TRUE(splitter.IsSideHidden(1));
        splitter.ToggleSide(1);
        EXPECT_EQ(column(splitter, 0), 200) << "the stored sizes became the ideal sizes";
    }
    {
        ST_SplitterWnd horizontal;
        Make(horizontal, false);
        EXPECT_FALSE(horizontal.IsSideHidden(0));
        EXPECT_FALSE(horizontal.IsSideHidden(1)) << "the hidden column means nothing to rows";
        int current = 0, minimum = 0;
        horizontal.GetRowInfo(0, current, minimum);
        EXPECT_EQ(current, 200);
    }

    app->WriteProfileString("SplitterWnd", "Panes_0", "-1 180 -1 300");
    std::string first;
    {
        ST_SplitterWnd splitter;
        Make(splitter, true);
        first = "-1 180 -1 " + std::to_string(Width(splitter) - 195);
    }
    EXPECT_EQ(Stored(), first);
    {
        ST_SplitterWnd splitter;
        Make(splitter, true);
    }
    EXPECT_EQ(Stored(), first) << "save, load and save give the same text";
}

TEST_F(StSplitterWndTest, BadStoredEntriesNeverBreakTheLayoutOrTheProfile)
{
    app->WriteProfileString("Other", "Key", "keep");
    char const *entries[] = {"12 abc", "", "text", "1 2", "99999999999 5 5 5", "5 200 7 300", "-1 -5 -1 100000",
                             "0"};
    for (char const *entry : entries) {
        app->WriteProfileString("SplitterWnd", "Panes_0", entry);
        {
            ST_SplitterWnd splitter;
            Make(splitter, true);
            EXPECT_GE(splitter.GetColumnCount(), 1) << entry;
        }
        // One round may trade loaded sizes for current ones; the text saved is then kept.
        std::string saved = Stored();
        int numbers[4];
        EXPECT_EQ(std::sscanf(saved.c_str(), "%d %d %d %d", &numbers[0], &numbers[1], &numbers[2], &numbers[3]), 4)
            << entry << " saved as " << saved;
        {
            ST_SplitterWnd splitter;
            Make(splitter, true);
        }
        EXPECT_EQ(Stored(), saved) << entry;
    }
    EXPECT_STREQ(app->GetProfileString("Other", "Key").GetString(), "keep");

    // Never laid out: the -1 sizes read back are written as 100.
    app->WriteProfileString("SplitterWnd", "Panes_0", "-1 -1 -1 -1");
    {
        ST_SplitterWnd unmade;
        unmade.SetInitialStatus();
    }
    EXPECT_EQ(Stored(), "-1 100 -1 100");
}

TEST_F(StSplitterWndTest, SubDivisionsOfOneLevelShareAnEntryAndTheLastSavedWins)
{
    {
        ST_SplitterWnd splitter;
        ASSERT_TRUE(splitter.Create(frame, nullptr, nullptr, nullptr, true, AFX_IDW_PANE_FIRST));
        ST_SplitterWnd *rows = splitter.AddSubDivision(0, RUNTIME_CLASS(PaneView), RUNTIME_CLASS(PaneView),
                                                       nullptr, false);
        ST_SplitterWnd *columns = splitter.AddSubDivision(1, RUNTIME_CLASS(PaneView), RUNTIME_CLASS(PaneView),
                                                          nullptr, true);
        EXPECT_EQ(splitter.GetPane(0, 1), columns);
        frame->RecalcLayout();
        splitter.SetInitialStatus();
        EXPECT_EQ(column(*columns, 0), 150) << "the sub-division read its own entry";
        rows->ToggleSide(1);
        columns->ToggleSide(0);
        EXPECT_EQ(panes_alive, 4);
    }
    EXPECT_EQ(Stored("Panes_0").substr(0, 7), "-1 150 ");
    EXPECT_EQ(Stored("Panes_1").substr(0, 6), "0 150 ") << "side 1's sub-division saved last";
}

TEST_F(StSplitterWndTest, ViewsOfASideAreShownOneAtATime)
{
    ST_SplitterWnd splitter;
    Make(splitter, true);
    CWnd *original = splitter.GetPane(0, 1);
    for (int expected = 0; expected < 3; ++expected)
        EXPECT_EQ(splitter.AddView(1, RUNTIME_CLASS(PaneView), nullptr), expected);
    EXPECT_EQ(original->GetDlgCtrlID(), 0);
    EXPECT_FALSE(original->IsWindowVisible());
    EXPECT_EQ(splitter.CurrentView(1), 2);
    EXPECT_EQ(splitter.AddView(1, RUNTIME_CLASS(CDC), nullptr), -1) << "not a window class";
    for (int expected : {0, 1, 2, 0}) {
        splitter.SwitchToView(1, -1);
        CWnd *shown = splitter.Views(1)[static_cast<std::size_t>(expected)];
        EXPECT_EQ(splitter.GetPane(0, 1), shown) << expected;
        EXPECT_TRUE(shown->IsWindowVisible());
        EXPECT_EQ(splitter.Views(1)[static_cast<std::size_t>((expected + 1) % 3)]->GetDlgCtrlID(), 0);
    }
    splitter.ToggleSide(0);
    splitter.SwitchToView(1, 1);
    EXPECT_EQ(splitter.GetPane(0, 0), splitter.Views(1)[1]) << "the remaining pane sits at (0, 0)";
}

TEST_F(StSplitterWndTest, ActivePaneBorderIsYellow)
{
    ST_SplitterWnd splitter;
    Make(splitter, true);
    COLORREF const yellow = RGB(255, 255, 0);
    int right_border = 150 + 4 + 7;
    for (int active = 0; active < 2; ++active) {
        splitter.SetActivePane(0, active);
        splitter.RefreshSplitBars();
        splitter.UpdateWindow();
        CClientDC dc(&splitter);
        int inactive_left = active ? 0 : right_border, active_left = active ? right_border : 0;
        EXPECT_EQ(dc.GetPixel(active_left, 30), yellow) << active;
        EXPECT_EQ(dc.GetPixel(active_left + 1, 30), yellow) << active;
        EXPECT_EQ(dc.GetPixel(active_left + 20, 0), yellow) << active;
        EXPECT_NE(dc.GetPixel(inactive_left, 30), yellow) << active;
    }
    splitter.ToggleSide(1);
    splitter.RefreshSplitBars();
    splitter.UpdateWindow();
    CClientDC dc(&splitter);
    EXPECT_NE(dc.GetPixel(0, 30), yellow) << "a single pane has no active border";
}

TEST_F(StSplitterWndTest, DraggingSplitsAndDoubleClickingChangesNothing)
{
    TestSplitter splitter;
    Make(splitter, true);
    splitter.UpdateWindow();
    POINT drag[] = {{156, 40}, {176, 40}, {196, 44}};
    ASSERT_TRUE(TessivPostMouseGesture(splitter.m_hWnd, TessivMouseButton::Left, drag, 3));
    pump();
    EXPECT_EQ(column(splitter, 0), 190);
    EXPECT_TRUE(splitter.SplitWindow()) << "tracking ended";

    POINT click[] = {{196, 40}};
    ASSERT_TRUE(TessivPostMouseGesture(splitter.m_hWnd, TessivMouseButton::Left, click, 1));
    ASSERT_TRUE(TessivPostMouseGesture(splitter.m_hWnd, TessivMouseButton::Left, click, 1));
    pump();
    EXPECT_EQ(column(splitter, 0), 190);
    EXPECT_FALSE(splitter.m_bTracking);
    EXPECT_EQ(CWnd::GetCapture(), nullptr);

    splitter.SplitWindow() = false;
    SetCursorPos(5, 7);
    EXPECT_TRUE(splitter.DoAutomaticSplit());
    EXPECT_TRUE(splitter.SplitWindow());
    EXPECT_FALSE(splitter.m_bTracking);
    POINT cursor{};
    GetCursorPos(&cursor);
    EXPECT_EQ(cursor.x, 5);
    EXPECT_EQ(cursor.y, 7);
    EXPECT_EQ(column(splitter, 0), 190) << "accepted where it started";

    CWnd *kept = splitter.GetPane(0, 1);
    splitter.SetActivePane(0, 1);
    splitter.UndoSplit();
    EXPECT_FALSE(splitter.IsSplitted());
    EXPECT_EQ(splitter.GetPane(0, 0), kept);
    EXPECT_EQ(panes_alive, 1);
}

}  // namespace
