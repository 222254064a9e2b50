// The two-pane splitter: hidden sides with their control-ID renumbering,
// several views per side, sub-divisions and the stored layout.
#include <tessiv/platform/win_app.h>
#include <tessiv/shell/st_splitter_wnd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>

IMPLEMENT_DYNAMIC(ST_SplitterWnd, CSplitterWnd)

BEGIN_MESSAGE_MAP(ST_SplitterWnd, CSplitterWnd)
    ON_WM_LBUTTONDBLCLK()
END_MESSAGE_MAP()

namespace {

constexpr char const *kDefaultLayout = "-1 150 -1 150";
constexpr COLORREF kActiveBorder = RGB(255, 255, 0);

// Reads up to count decimal integers separated by white space, as "%d %d %d
// %d" does, stopping at the first that is missing, not a number or out of
// the int range; returns how many were read.
int read_integers(char const *text, int *values, int count)
{
    int read = 0;
    while (read < count) {
        char *end = nullptr;
        errno = 0;
        long value = std::strtol(text, &end, 10);
        if (end == text || errno == ERANGE || value < INT_MIN || value > INT_MAX)
            break;
        values[read++] = static_cast<int>(value);
        text = end;
    }
    return read;
}

}  // namespace

ST_SplitterWnd::ST_SplitterWnd(int level) : m_registrySection("SplitterWnd"), m_level(level)
{
    m_cxSplitter = 6;
    m_cySplitter = 6;
    m_cySplitterGap = 6;
}

ST_SplitterWnd::~ST_SplitterWnd()
{
    SaveToRegistry();
    // Side 1 last, so its layout stays the shared entry of its level, as the
    // save above left it.
    for (ST_SplitterWnd *&sub : m_subDivision) {
        delete sub;
        sub = nullptr;
    }
}

bool ST_SplitterWnd::Create(CWnd *parent, CRuntimeClass *view0, CRuntimeClass *view1, CCreateContext *context,
                            bool vertical, int id)
{
    m_vertical = vertical;
    CreateStatic(parent, vertical ? 1 : 2, vertical ? 2 : 1, WS_CHILD | WS_VISIBLE | WS_BORDER,
                 static_cast<UINT>(id));
    if (view0)
        CreateView(0, 0, view0, CSize(100, 100), context);
    if (view1)
        CreateView(vertical ? 0 : 1, vertical ? 1 : 0, view1, CSize(100, 100), context);
    return true;
}

ST_SplitterWnd *ST_SplitterWnd::AddSubDivision(int side, CRuntimeClass *view0, CRuntimeClass *view1,
                                               CCreateContext *context, bool vertical)
{
    int row, col;
    SideToRowCol(side, &row, &col);
    int id = IdFromRowCol(row, col);
    delete m_subDivision[side];
    m_subDivision[side] = new ST_SplitterWnd(m_level + 1);
    m_subDivision[side]->Create(this, view0, view1, context, vertical, id);
    return m_subDivision[side];
}

int ST_SplitterWnd::AddView(int side, CRuntimeClass *viewClass, CCreateContext *context)
{
    int row, col;
    SideToRowCol(side, &row, &col);
    if (m_hWnd && ::GetDlgItem(m_hWnd, IdFromRowCol(row, col)))
        HideView(row, col);
    if (!CreateView(row, col, viewClass, CSize(10, 10), context))
        return -1;
    CWnd *view = GetPane(row, col);
    m_views[side].push_back(view);
    m_currentView[side] = static_cast<int>(m_views[side].size()) - 1;
    ShowView(row, col, view);
    RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    return m_currentView[side];
}

void ST_SplitterWnd::SwitchToView(int side, int view)
{
    if (side < 0 || side > 1 || m_views[side].empty())
        return;
    int count = static_cast<int>(m_views[side].size());
    if (view == -1) {
        view = m_currentView[side] + 1;
        if (view >= count)
            view = 0;
    }
    if (view < 0 || view >= count)
        return;
    CWnd *target = m_views[side][static_cast<std::size_t>(view)];
    // A view whose pane was deleted (UndoSplit) is gone; only a window that
    // is still one of ours is shown.
    bool alive = false;
    for (HWND child = ::GetWindow(m_hWnd, GW_CHILD); child && !alive; child = ::GetWindow(child, GW_HWNDNEXT))
        alive = CWnd::FromHandlePermanent(child) == target;
    if (!alive)
        return;
    int row = 0, col = 0;
    bool first_hidden = m_vertical ? m_hiddenColumn == 0 : m_hiddenRow == 0;
    if (!first_hidden)
        SideToRowCol(side, &row, &col);
    if (::GetDlgItem(m_hWnd, IdFromRowCol(row, col)))
        HideView(row, col);
    ShowView(row, col, target);
    m_currentView[side] = view;
    RecalcLayout();
    RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

void ST_SplitterWnd::ToggleSide(int side)
{
    if (m_vertical) {
        if (m_hiddenColumn == -1)
            HideColumn(side);
        else if (m_hiddenColumn == side)
            ShowColumn();
    } else {
        if (m_hiddenRow == -1)
            HideRow(side);
        else if (m_hiddenRow == side)
            ShowRow();
    }
}

bool ST_SplitterWnd::IsSideHidden(int side) const
{
    return m_vertical ? m_hiddenColumn == side : m_hiddenRow == side;
}

void ST_SplitterWnd::SetMinSize(int side, int size)
{
    if (side == 0 || side == 1)
        m_minSize[side] = size;
}

void ST_SplitterWnd::SetRegistryKey(char const *section) { m_registrySection = section ? section : ""; }

bool ST_SplitterWnd::IsSplitted() const { return m_hWnd && ::IsWindow(m_hWnd) && (m_nRows > 1 || m_nCols > 1); }

void ST_SplitterWnd::SideToRowCol(int side, int *row, int *col) const
{
    *row = m_vertical ? 0 : side;
    *col = m_vertical ? side : 0;
}

bool ST_SplitterWnd::HideView(int row, int col)
{
    CWnd *pane = GetPane(row, col);
    if (!pane)
        return false;
    pane->SetDlgCtrlID(0);
    pane->ShowWindow(SW_HIDE);
    return true;
}

bool ST_SplitterWnd::ShowView(int row, int col, CWnd *window)
{
    window->SetDlgCtrlID(IdFromRowCol(row, col));
    window->ShowWindow(SW_SHOW);
    return true;
}

void ST_SplitterWnd::HideColumn(int col)
{
    if (m_hiddenColumn != -1 || col < 0 || col >= m_nCols || m_nCols < 2)
        return;
    RememberSize();
    m_hiddenColumn = col;
    int active_row = 0, active_col = 0;
    if (GetActivePane(&active_row, &active_col) && active_col == col)
        SetActivePane(active_row, col + 1 >= m_nCols ? 0 : col + 1);
    for (int row = 0; row < m_nRows; ++row) {
        if (CWnd *hidden = GetPane(row, col)) {
            hidden->ShowWindow(SW_HIDE);
            hidden->SetDlgCtrlID(IdFromRowCol(row, m_nCols));
        }
        for (int right = col + 1; right < m_nCols; ++right) {
            if (CWnd *pane = GetPane(row, right))
                pane->SetDlgCtrlID(IdFromRowCol(row, right - 1));
        }
    }
    --m_nCols;
    m_pColInfo[m_nCols].nCurSize = m_pColInfo[col].nCurSize;
    RecalcLayout();
}

void ST_SplitterWnd::ShowColumn()
{
    if (m_hiddenColumn == -1 || m_nCols >= m_nMaxCols)
        return;
    ++m_nCols;
    int col = m_hiddenColumn;
    m_hiddenColumn = -1;
    for (int row = 0; row < m_nRows; ++row) {
        CWnd *shown = GetDlgItem(IdFromRowCol(row, m_nCols));
        if (shown)
            shown->ShowWindow(SW_SHOWNA);
        for (int c = m_nCols - 2; c >= col; --c) {
            if (CWnd *pane = GetPane(row, c))
                pane->SetDlgCtrlID(IdFromRowCol(row, c + 1));
        }
        if (shown)
            shown->SetDlgCtrlID(IdFromRowCol(row, col));
    }
    RecalcLayout();
}

void ST_SplitterWnd::HideRow(int row)
{
    if (m_hiddenRow != -1 || row < 0 || row >= m_nRows || m_nRows < 2)
        return;
    RememberSize();
    m_hiddenRow = row;
    int active_row = 0, active_col = 0;
    if (GetActivePane(&active_row, &active_col) && active_row == row)
        SetActivePane(row + 1 >= m_nRows ? 0 : row + 1, active_col);
    for (int col = 0; col < m_nCols; ++col) {
        if (CWnd *hidden = GetPane(row, col)) {
            hidden->ShowWindow(SW_HIDE);
            hidden->SetDlgCtrlID(IdFromRowCol(m_nRows, col));
        }
        for (int below = row + 1; below < m_nRows; ++below) {
            if (CWnd *pane = GetPane(below, col))
                pane->SetDlgCtrlID(IdFromRowCol(below - 1, col));
        }
    }
    --m_nRows;
    m_pRowInfo[m_nRows].nCurSize = m_pRowInfo[row].nCurSize;
    RecalcLayout();
}

void ST_SplitterWnd::ShowRow()
{
    if (m_hiddenRow == -1 || m_nRows >= m_nMaxRows)
        return;
    ++m_nRows;
    int row = m_hiddenRow;
    m_hiddenRow = -1;
    for (int col = 0; col < m_nCols; ++col) {
        CWnd *shown = GetDlgItem(IdFromRowCol(m_nRows, col));
        if (shown)
            shown->ShowWindow(SW_SHOWNA);
        for (int r = m_nRows - 2; r >= row; --r) {
            if (CWnd *pane = GetPane(r, col))
                pane->SetDlgCtrlID(IdFromRowCol(r + 1, col));
        }
        if (shown)
            shown->SetDlgCtrlID(IdFromRowCol(row, col));
    }
    RecalcLayout();
}

void ST_SplitterWnd::RememberSize()
{
    for (ST_SplitterWnd *sub : m_subDivision) {
        if (sub)
            sub->RememberSize();
    }
    if (!m_pColInfo || !m_pRowInfo)
        return;
    if (m_vertical && m_hiddenColumn == -1 && m_nMaxCols >= 2) {
        for (int i = 0; i < 2; ++i)
            GetColumnInfo(i, m_paneSize[i], m_minSize[i]);
    } else if (!m_vertical && m_hiddenRow == -1 && m_nMaxRows >= 2) {
        for (int i = 0; i < 2; ++i)
            GetRowInfo(i, m_paneSize[i], m_minSize[i]);
    }
}

void ST_SplitterWnd::SaveToRegistry()
{
    CString entry;
    entry.Format("Panes_%d", m_level);
    RememberSize();
    for (int &size : m_paneSize) {
        if (size == -1)
            size = 100;
    }
    CString value;
    value.Format("%d %d %d %d", m_hiddenColumn, m_paneSize[0], m_hiddenRow, m_paneSize[1]);
    CWinApp *app = AfxGetApp();
    // The sub-divisions' entries go out with this one in one write.
    TessivProfileBatch batch(app);
    if (app)
        app->WriteProfileString(m_registrySection, entry, value);
    for (ST_SplitterWnd *sub : m_subDivision) {
        if (sub)
            sub->SaveToRegistry();
    }
}

void ST_SplitterWnd::SetInitialStatus()
{
    CString entry;
    entry.Format("Panes_%d", m_level);
    CWinApp *app = AfxGetApp();
    CString value = app ? app->GetProfileString(m_registrySection, entry, kDefaultLayout) : CString(kDefaultLayout);
    // What is not there keeps its value; a hidden index not read is none.
    int numbers[4] = {-1, m_paneSize[0], -1, m_paneSize[1]};
    read_integers(value, numbers, 4);
    m_paneSize[0] = numbers[1];
    m_paneSize[1] = numbers[3];
    int hidden = m_vertical ? numbers[0] : numbers[2];
    // Only the two sides can be hidden; any other stored index means none.
    if (hidden != 0 && hidden != 1)
        hidden = -1;
    if (m_pColInfo && m_pRowInfo) {
        if (m_vertical && m_nMaxCols >= 2) {
            SetColumnInfo(0, m_paneSize[0], m_minSize[0]);
            SetColumnInfo(1, m_paneSize[1], m_minSize[1]);
        } else if (!m_vertical && m_nMaxRows >= 2) {
            SetRowInfo(0, m_paneSize[0], m_minSize[0]);
            SetRowInfo(1, m_paneSize[1], m_minSize[1]);
        }
        if (hidden > -1)
            ToggleSide(hidden);
        else
            RecalcLayout();
    }
    for (ST_SplitterWnd *sub : m_subDivision) {
        if (sub)
            sub->SetInitialStatus();
    }
}

void ST_SplitterWnd::UndoSplit()
{
    if (!m_hWnd || (m_nRows < 2 && m_nCols < 2))
        return;
    int active_row = 0, active_col = 0;
    if (!GetActivePane(&active_row, &active_col)) {
        active_row = 0;
        active_col = 0;
    }
    for (int row = 0; row < m_nRows; ++row) {
        if (row != active_row)
            DeleteRow(row);
    }
    for (int col = 0; col < m_nCols; ++col) {
        if (col != active_col)
            DeleteColumn(col);
    }
}

BOOL ST_SplitterWnd::DoAutomaticSplit()
{
    GetActivePane();
    POINT cursor{};
    ::GetCursorPos(&cursor);
    m_splitDone = false;
    m_automaticSplit = true;
    BOOL result = CSplitterWnd::DoKeyboardSplit();
    StopTracking(TRUE);
    ::SetCursorPos(cursor.x, cursor.y);
    return result;
}

BOOL ST_SplitterWnd::DoKeyboardSplit()
{
    m_splitDone = false;
    m_automaticSplit = false;
    return CSplitterWnd::DoKeyboardSplit();
}

void ST_SplitterWnd::RefreshSplitBars()
{
    CRect inside;
    GetInsideRect(inside);
    DrawAllSplitBars(nullptr, inside.right, inside.bottom);
}

void ST_SplitterWnd::StartTracking(int ht)
{
    m_trackingCursor = ::GetCursor();
    CSplitterWnd::StartTracking(ht);
    if (m_automaticSplit)
        ::SetCursor(m_trackingCursor);
}

void ST_SplitterWnd::StopTracking(BOOL accept)
{
    CSplitterWnd::StopTracking(accept);
    m_automaticSplit = false;
    m_splitDone = true;
}

void ST_SplitterWnd::OnDrawSplitter(CDC *pDC, ESplitType nType, CRect const &rect)
{
    if ((m_nRows > 1 || m_nCols > 1) && nType == splitBorder) {
        int active_row = 0, active_col = 0;
        if (GetActivePane(&active_row, &active_col) && (rect.left != 0) == (active_col != 0) &&
            (rect.top != 0) == (active_row != 0)) {
            if (pDC) {
                pDC->Draw3dRect(&rect, kActiveBorder, kActiveBorder);
                CRect inner = rect;
                inner.DeflateRect(GetSystemMetrics(SM_CXBORDER), GetSystemMetrics(SM_CYBORDER));
                pDC->Draw3dRect(&inner, kActiveBorder, kActiveBorder);
            } else {
                RedrawWindow(&rect, nullptr, RDW_INVALIDATE | RDW_NOCHILDREN);
            }
            return;
        }
    }
    CSplitterWnd::OnDrawSplitter(pDC, nType, rect);
}

void ST_SplitterWnd::OnMouseMove(UINT nFlags, CPoint pt)
{
    if ((m_vertical ? m_hiddenColumn : m_hiddenRow) != -1)
        Default();
    else if (m_automaticSplit)
        StopTracking(TRUE);
    else
        CSplitterWnd::OnMouseMove(nFlags, pt);
}

void ST_SplitterWnd::OnLButtonDown(UINT nFlags, CPoint pt)
{
    if ((m_vertical ? m_hiddenColumn : m_hiddenRow) != -1)
        Default();
    else
        CSplitterWnd::OnLButtonDown(nFlags, pt);
}

BOOL ST_SplitterWnd::OnSetCursor(CWnd *pWnd, UINT nHitTest, UINT message)
{
    if ((m_vertical ? m_hiddenColumn : m_hiddenRow) != -1)
        return static_cast<BOOL>(Default());
    return CSplitterWnd::OnSetCursor(pWnd, nHitTest, message);
}

void ST_SplitterWnd::OnLButtonDblClk(UINT, CPoint) {}
