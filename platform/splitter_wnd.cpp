// The static splitter: grid layout, painting of bars and borders, hit
// testing and tracking of the split bars.
#include <tessiv/platform/cview.h>
#include <tessiv/platform/frame_wnd.h>
#include <tessiv/platform/splitter_wnd.h>

#include <algorithm>

IMPLEMENT_DYNAMIC(CSplitterWnd, CWnd)

BEGIN_MESSAGE_MAP(CSplitterWnd, CWnd)
    ON_WM_PAINT()
    ON_WM_SIZE()
    ON_WM_SETCURSOR()
    ON_WM_MOUSEMOVE()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONUP()
    ON_WM_KEYDOWN()
    ON_WM_CAPTURECHANGED()
    ON_MESSAGE(WM_CANCELMODE, OnCancelMode)
END_MESSAGE_MAP()

namespace {

constexpr int kMaxCells = 16;

bool is_row_bar(int ht) { return ht >= CSplitterWnd::vSplitterBar1 && ht <= CSplitterWnd::vSplitterBar15; }
bool is_column_bar(int ht) { return ht >= CSplitterWnd::hSplitterBar1 && ht <= CSplitterWnd::hSplitterBar15; }
bool is_crossing(int ht)
{
    return ht >= CSplitterWnd::splitterIntersection1 && ht <= CSplitterWnd::splitterIntersection225;
}

}  // namespace

CSplitterWnd::CSplitterWnd()
    : m_cxSplitter(7), m_cySplitter(7), m_cxBorderShare(0), m_cyBorderShare(0), m_cxSplitterGap(7),
      m_cySplitterGap(7), m_cxBorder(2), m_cyBorder(2)
{
}

CSplitterWnd::~CSplitterWnd()
{
    delete[] m_pColInfo;
    delete[] m_pRowInfo;
}

BOOL CSplitterWnd::CreateStatic(CWnd *pParentWnd, int nRows, int nCols, DWORD dwStyle, UINT nID)
{
    if (m_hWnd || !pParentWnd || nRows < 1 || nRows > kMaxCells || nCols < 1 || nCols > kMaxCells)
        return FALSE;
    delete[] m_pColInfo;
    delete[] m_pRowInfo;
    m_nRows = m_nMaxRows = nRows;
    m_nCols = m_nMaxCols = nCols;
    // A current size of -1 says the row or column has not been laid out yet.
    m_pRowInfo = new CRowColInfo[static_cast<std::size_t>(nRows)];
    m_pColInfo = new CRowColInfo[static_cast<std::size_t>(nCols)];
    std::fill_n(m_pRowInfo, nRows, CRowColInfo{0, 0, -1});
    std::fill_n(m_pColInfo, nCols, CRowColInfo{0, 0, -1});
    LPCSTR window_class =
        AfxRegisterWndClass(CS_DBLCLKS, LoadCursorA(nullptr, IDC_ARROW), GetSysColorBrush(COLOR_BTNFACE));
    return CreateEx(0, window_class, nullptr, dwStyle & ~(WS_HSCROLL | WS_VSCROLL), CRect(0, 0, 0, 0),
                    pParentWnd, nID);
}

BOOL CSplitterWnd::CreateView(int row, int col, CRuntimeClass *pViewClass, SIZE sizeInit,
                              CCreateContext *pContext)
{
    if (!m_hWnd || !pViewClass || row < 0 || row >= m_nRows || col < 0 || col >= m_nCols)
        return FALSE;
    m_pColInfo[col].nIdealSize = sizeInit.cx;
    m_pRowInfo[row].nIdealSize = sizeInit.cy;
    CObject *object = pViewClass->CreateObject();
    if (!object)
        return FALSE;
    if (!object->IsKindOf(RUNTIME_CLASS(CWnd))) {
        delete object;
        return FALSE;
    }
    auto *pane = static_cast<CWnd *>(object);
    // A view that fails to be created deletes itself in PostNcDestroy.
    if (!pane->Create(nullptr, nullptr, AFX_WS_DEFAULT_VIEW & ~WS_BORDER, CRect(0, 0, sizeInit.cx, sizeInit.cy),
                      this, static_cast<UINT>(IdFromRowCol(row, col)), pContext))
        return FALSE;
    if (GetStyle() & WS_VISIBLE)
        RecalcLayout();
    return TRUE;
}

void CSplitterWnd::GetRowInfo(int row, int &cyCur, int &cyMin) const
{
    cyCur = m_pRowInfo[row].nCurSize;
    cyMin = m_pRowInfo[row].nMinSize;
}

void CSplitterWnd::GetColumnInfo(int col, int &cxCur, int &cxMin) const
{
    cxCur = m_pColInfo[col].nCurSize;
    cxMin = m_pColInfo[col].nMinSize;
}

void CSplitterWnd::SetRowInfo(int row, int cyIdeal, int cyMin)
{
    m_pRowInfo[row].nIdealSize = cyIdeal;
    m_pRowInfo[row].nMinSize = cyMin;
}

void CSplitterWnd::SetColumnInfo(int col, int cxIdeal, int cxMin)
{
    m_pColInfo[col].nIdealSize = cxIdeal;
    m_pColInfo[col].nMinSize = cxMin;
}

CWnd *CSplitterWnd::GetPane(int row, int col) const { return GetDlgItem(IdFromRowCol(row, col)); }

BOOL CSplitterWnd::IsChildPane(CWnd *pWnd, int *pRow, int *pCol)
{
    if (!m_hWnd || !pWnd || !pWnd->m_hWnd || ::GetParent(pWnd->m_hWnd) != m_hWnd)
        return FALSE;
    int offset = pWnd->GetDlgCtrlID() - static_cast<int>(AFX_IDW_PANE_FIRST);
    if (offset < 0)
        return FALSE;
    int row = offset / kMaxCells, col = offset % kMaxCells;
    if (row >= m_nRows || col >= m_nCols)
        return FALSE;
    if (pRow)
        *pRow = row;
    if (pCol)
        *pCol = col;
    return TRUE;
}

int CSplitterWnd::IdFromRowCol(int row, int col) const
{
    return static_cast<int>(AFX_IDW_PANE_FIRST) + row * kMaxCells + col;
}

CWnd *CSplitterWnd::GetActivePane(int *pRow, int *pCol)
{
    CWnd *pane = nullptr;
    if (CFrameWnd *frame = GetParentFrame())
        pane = frame->GetActiveView();
    if (!pane || !IsChildPane(pane, pRow, pCol)) {
        pane = GetFocus();
        if (pane && !IsChildPane(pane, pRow, pCol))
            pane = nullptr;
    }
    return pane;
}

void CSplitterWnd::SetActivePane(int row, int col, CWnd *pWnd)
{
    CWnd *pane = pWnd ? pWnd : GetPane(row, col);
    if (!pane)
        return;
    CFrameWnd *frame = GetParentFrame();
    if (frame && pane->IsKindOf(RUNTIME_CLASS(CView)))
        frame->SetActiveView(static_cast<CView *>(pane));
    else
        pane->SetFocus();
}

void CSplitterWnd::GetInsideRect(CRect &rect) const { GetClientRect(&rect); }

void CSplitterWnd::LayoutOne(CRowColInfo *info, int count, int space, int gap, int border)
{
    int position = 0;
    int last_shown = -1;
    for (int index = 0; index < count; ++index) {
        int left = std::max(0, space - position);
        int size;
        if (index == count - 1)
            size = left - 2 * border;
        else
            size = std::min(std::max(info[index].nIdealSize, 0), std::max(0, left - 2 * border));
        // Too small to be useful: the row or column is not shown at all.
        if (size < std::max(info[index].nMinSize, 1) && count > 1) {
            if (index == count - 1 && last_shown >= 0) {
                // The last one's space goes to the one shown before it.
                info[last_shown].nCurSize += left + gap;
            }
            info[index].nCurSize = 0;
            continue;
        }
        info[index].nCurSize = std::max(size, 0);
        position += info[index].nCurSize + 2 * border + gap;
        last_shown = index;
    }
}

void CSplitterWnd::CellExtent(CRowColInfo const *info, int count, int index, int gap, int &start, int &end) const
{
    int border = info == m_pColInfo ? m_cxBorder : m_cyBorder;
    int position = 0;
    for (int i = 0; i < index && i < count; ++i) {
        if (info[i].nCurSize > 0)
            position += info[i].nCurSize + 2 * border + gap;
    }
    start = position;
    end = info[index].nCurSize > 0 ? position + info[index].nCurSize + 2 * border : position;
}

void CSplitterWnd::RecalcLayout()
{
    if (!m_hWnd || !m_pColInfo || !m_pRowInfo)
        return;
    CRect inside;
    GetInsideRect(inside);
    LayoutOne(m_pColInfo, m_nCols, inside.Width(), m_cxSplitterGap, m_cxBorder);
    LayoutOne(m_pRowInfo, m_nRows, inside.Height(), m_cySplitterGap, m_cyBorder);
    for (int row = 0; row < m_nRows; ++row) {
        int top, bottom;
        CellExtent(m_pRowInfo, m_nRows, row, m_cySplitterGap, top, bottom);
        for (int col = 0; col < m_nCols; ++col) {
            HWND pane = ::GetDlgItem(m_hWnd, IdFromRowCol(row, col));
            if (!pane)
                continue;
            int left, right;
            CellExtent(m_pColInfo, m_nCols, col, m_cxSplitterGap, left, right);
            if (m_pRowInfo[row].nCurSize <= 0 || m_pColInfo[col].nCurSize <= 0) {
                ::MoveWindow(pane, 0, 0, 0, 0, TRUE);
                continue;
            }
            ::MoveWindow(pane, inside.left + left + m_cxBorder, inside.top + top + m_cyBorder,
                         m_pColInfo[col].nCurSize, m_pRowInfo[row].nCurSize, TRUE);
        }
    }
    DrawAllSplitBars(nullptr, inside.right, inside.bottom);
}

void CSplitterWnd::DrawAllSplitBars(CDC *pDC, int cxInside, int cyInside)
{
    if (!m_pColInfo || !m_pRowInfo)
        return;
    // Bars after every shown column and row that has a shown one after it.
    for (int col = 0; col + 1 < m_nCols; ++col) {
        int start, end, next_start, next_end;
        CellExtent(m_pColInfo, m_nCols, col, m_cxSplitterGap, start, end);
        CellExtent(m_pColInfo, m_nCols, col + 1, m_cxSplitterGap, next_start, next_end);
        if (end > start && next_start > end)
            OnDrawSplitter(pDC, splitBar, CRect(end, 0, next_start, cyInside));
    }
    for (int row = 0; row + 1 < m_nRows; ++row) {
        int start, end, next_start, next_end;
        CellExtent(m_pRowInfo, m_nRows, row, m_cySplitterGap, start, end);
        CellExtent(m_pRowInfo, m_nRows, row + 1, m_cySplitterGap, next_start, next_end);
        if (end > start && next_start > end)
            OnDrawSplitter(pDC, splitBar, CRect(0, end, cxInside, next_start));
    }
    if (m_cxBorder <= 0 && m_cyBorder <= 0)
        return;
    for (int row = 0; row < m_nRows; ++row) {
        int top, bottom;
        CellExtent(m_pRowInfo, m_nRows, row, m_cySplitterGap, top, bottom);
        for (int col = 0; col < m_nCols; ++col) {
            int left, right;
            CellExtent(m_pColInfo, m_nCols, col, m_cxSplitterGap, left, right);
            if (right > left && bottom > top)
                OnDrawSplitter(pDC, splitBorder, CRect(left, top, right, bottom));
        }
    }
}

void CSplitterWnd::OnDrawSplitter(CDC *pDC, ESplitType nType, CRect const &rect)
{
    if (!pDC) {
        RedrawWindow(&rect, nullptr, RDW_INVALIDATE | RDW_NOCHILDREN);
        return;
    }
    if (nType == splitBorder) {
        // Sunken: dark on the top and left, light on the bottom and right.
        CRect inner = rect;
        pDC->Draw3dRect(&inner, GetSysColor(COLOR_BTNSHADOW), GetSysColor(COLOR_BTNHIGHLIGHT));
        inner.DeflateRect(1, 1);
        pDC->Draw3dRect(&inner, GetSysColor(COLOR_3DDKSHADOW), GetSysColor(COLOR_3DLIGHT));
        return;
    }
    pDC->FillSolidRect(&rect, GetSysColor(COLOR_BTNFACE));
}

void CSplitterWnd::OnInvertTracker(CRect const &rect)
{
    if (!m_hWnd || rect.IsRectEmpty())
        return;
    CDC *dc = GetDC();
    if (!dc)
        return;
    dc->PatBlt(rect.left, rect.top, rect.Width(), rect.Height(), DSTINVERT);
    ReleaseDC(dc);
}

int CSplitterWnd::HitTest(CPoint pt) const
{
    if (!m_pColInfo || !m_pRowInfo)
        return noHit;
    CRect inside;
    GetInsideRect(inside);
    if (!inside.PtInRect(pt))
        return noHit;
    auto bar_under = [this](CRowColInfo const *info, int count, int gap, int at) {
        for (int index = 0; index + 1 < count; ++index) {
            int start, end, next_start, next_end;
            CellExtent(info, count, index, gap, start, end);
            CellExtent(info, count, index + 1, gap, next_start, next_end);
            if (end > start && at >= end && at < next_start)
                return index;
        }
        return -1;
    };
    int col = bar_under(m_pColInfo, m_nCols, m_cxSplitterGap, pt.x - inside.left);
    int row = bar_under(m_pRowInfo, m_nRows, m_cySplitterGap, pt.y - inside.top);
    if (col >= 0 && row >= 0)
        return splitterIntersection1 + row * 15 + col;
    if (col >= 0)
        return hSplitterBar1 + col;
    if (row >= 0)
        return vSplitterBar1 + row;
    return noHit;
}

void CSplitterWnd::GetHitRect(int ht, CRect &rect) const
{
    CRect inside;
    GetInsideRect(inside);
    rect.SetRectEmpty();
    int start, end;
    if (is_column_bar(ht) && ht - hSplitterBar1 < m_nCols) {
        CellExtent(m_pColInfo, m_nCols, ht - hSplitterBar1, m_cxSplitterGap, start, end);
        rect = CRect(inside.left + end, inside.top, inside.left + end + m_cxSplitter, inside.bottom);
    } else if (is_row_bar(ht) && ht - vSplitterBar1 < m_nRows) {
        CellExtent(m_pRowInfo, m_nRows, ht - vSplitterBar1, m_cySplitterGap, start, end);
        rect = CRect(inside.left, inside.top + end, inside.right, inside.top + end + m_cySplitter);
    }
}

void CSplitterWnd::TrackRowSize(int y, int row)
{
    int start, end;
    CellExtent(m_pRowInfo, m_nRows, row, m_cySplitterGap, start, end);
    CRect inside;
    GetInsideRect(inside);
    m_pRowInfo[row].nIdealSize = std::max(0, y - inside.top - start - 2 * m_cyBorder);
}

void CSplitterWnd::TrackColumnSize(int x, int col)
{
    int start, end;
    CellExtent(m_pColInfo, m_nCols, col, m_cxSplitterGap, start, end);
    CRect inside;
    GetInsideRect(inside);
    m_pColInfo[col].nIdealSize = std::max(0, x - inside.left - start - 2 * m_cxBorder);
}

void CSplitterWnd::SetTrackerCursor(int ht)
{
    LPCSTR shape = is_crossing(ht) ? IDC_SIZEALL : is_column_bar(ht) ? IDC_SIZEWE : IDC_SIZENS;
    SetCursor(LoadCursorA(nullptr, shape));
}

void CSplitterWnd::StartTracking(int ht)
{
    if (ht == noHit || m_bTracking || !m_hWnd)
        return;
    GetInsideRect(m_rectLimit);
    m_htTrack = ht;
    m_bTracking2 = FALSE;
    // A crossing moves a row bar (the first tracker) and a column bar (the second).
    if (is_crossing(ht)) {
        int row = (ht - splitterIntersection1) / 15, col = (ht - splitterIntersection1) % 15;
        GetHitRect(vSplitterBar1 + row, m_rectTracker);
        GetHitRect(hSplitterBar1 + col, m_rectTracker2);
        m_bTracking2 = TRUE;
    } else {
        GetHitRect(ht, m_rectTracker);
    }
    // The tracker may go anywhere across the two cells beside the bar.
    if (is_column_bar(ht) || is_crossing(ht)) {
        int col = is_crossing(ht) ? (ht - splitterIntersection1) % 15 : ht - hSplitterBar1;
        int start, end, next_start, next_end;
        CellExtent(m_pColInfo, m_nCols, col, m_cxSplitterGap, start, end);
        CellExtent(m_pColInfo, m_nCols, std::min(col + 1, m_nCols - 1), m_cxSplitterGap, next_start, next_end);
        m_rectLimit.left = m_rectLimit.left + start;
        m_rectLimit.right = std::max(m_rectLimit.left, m_rectLimit.left - start + next_end);
    }
    if (is_row_bar(ht) || is_crossing(ht)) {
        int row = is_crossing(ht) ? (ht - splitterIntersection1) / 15 : ht - vSplitterBar1;
        int start, end, next_start, next_end;
        CellExtent(m_pRowInfo, m_nRows, row, m_cySplitterGap, start, end);
        CellExtent(m_pRowInfo, m_nRows, std::min(row + 1, m_nRows - 1), m_cySplitterGap, next_start, next_end);
        m_rectLimit.top = m_rectLimit.top + start;
        m_rectLimit.bottom = std::max(m_rectLimit.top, m_rectLimit.top - start + next_end);
    }
    POINT cursor{};
    ::GetCursorPos(&cursor);
    ScreenToClient(&cursor);
    CRect const &horizontal = m_bTracking2 ? m_rectTracker2 : m_rectTracker;
    m_ptTrackOffset = CPoint(cursor.x - horizontal.left, cursor.y - m_rectTracker.top);
    HWND focus = ::GetFocus();
    m_focusBeforeTracking = focus == m_hWnd ? nullptr : focus;
    m_bTracking = TRUE;
    SetCapture();
    SetFocus();
    SetTrackerCursor(ht);
    OnInvertTracker(m_rectTracker);
    if (m_bTracking2)
        OnInvertTracker(m_rectTracker2);
}

void CSplitterWnd::MoveTracker(CPoint pt)
{
    auto place = [](CRect &tracker, int along_x, int position, CRect const &limit) {
        if (along_x) {
            int width = tracker.Width();
            int left = std::clamp(position, static_cast<int>(limit.left),
                                  std::max(static_cast<int>(limit.left), static_cast<int>(limit.right) - width));
            tracker.OffsetRect(left - tracker.left, 0);
        } else {
            int height = tracker.Height();
            int top = std::clamp(position, static_cast<int>(limit.top),
                                 std::max(static_cast<int>(limit.top), static_cast<int>(limit.bottom) - height));
            tracker.OffsetRect(0, top - tracker.top);
        }
    };
    CRect tracker = m_rectTracker, tracker2 = m_rectTracker2;
    if (is_column_bar(m_htTrack))
        place(tracker, 1, pt.x - m_ptTrackOffset.x, m_rectLimit);
    else
        place(tracker, 0, pt.y - m_ptTrackOffset.y, m_rectLimit);
    if (m_bTracking2)
        place(tracker2, 1, pt.x - m_ptTrackOffset.x, m_rectLimit);
    if (tracker != m_rectTracker) {
        OnInvertTracker(m_rectTracker);
        m_rectTracker = tracker;
        OnInvertTracker(m_rectTracker);
    }
    if (m_bTracking2 && tracker2 != m_rectTracker2) {
        OnInvertTracker(m_rectTracker2);
        m_rectTracker2 = tracker2;
        OnInvertTracker(m_rectTracker2);
    }
}

void CSplitterWnd::StopTracking(BOOL bAccept)
{
    if (!m_bTracking)
        return;
    OnInvertTracker(m_rectTracker);
    if (m_bTracking2)
        OnInvertTracker(m_rectTracker2);
    // Cleared first: giving up the capture reports back through WM_CAPTURECHANGED.
    m_bTracking = FALSE;
    if (::GetCapture() == m_hWnd)
        ReleaseCapture();
    if (m_focusBeforeTracking && ::IsWindow(m_focusBeforeTracking))
        ::SetFocus(m_focusBeforeTracking);
    m_focusBeforeTracking = nullptr;
    if (!bAccept)
        return;
    if (is_column_bar(m_htTrack)) {
        TrackColumnSize(m_rectTracker.left, m_htTrack - hSplitterBar1);
    } else if (is_row_bar(m_htTrack)) {
        TrackRowSize(m_rectTracker.top, m_htTrack - vSplitterBar1);
    } else if (is_crossing(m_htTrack)) {
        TrackRowSize(m_rectTracker.top, (m_htTrack - splitterIntersection1) / 15);
        TrackColumnSize(m_rectTracker2.left, (m_htTrack - splitterIntersection1) % 15);
    }
    RecalcLayout();
}

BOOL CSplitterWnd::DoKeyboardSplit()
{
    int ht;
    if (m_nRows > 1 && m_nCols > 1)
        ht = splitterIntersection1;
    else if (m_nRows > 1)
        ht = vSplitterBar1;
    else if (m_nCols > 1)
        ht = hSplitterBar1;
    else
        return FALSE;
    StartTracking(ht);
    if (!m_bTracking)
        return FALSE;
    CRect const &horizontal = m_bTracking2 ? m_rectTracker2 : m_rectTracker;
    CPoint centre(horizontal.CenterPoint().x, m_rectTracker.CenterPoint().y);
    m_ptTrackOffset = CPoint(centre.x - horizontal.left, centre.y - m_rectTracker.top);
    POINT screen = centre;
    ClientToScreen(&screen);
    ::SetCursorPos(screen.x, screen.y);
    return TRUE;
}

void CSplitterWnd::DeleteRow(int rowDelete)
{
    if (!m_hWnd || m_nRows <= 1 || rowDelete < 0 || rowDelete >= m_nRows)
        return;
    int active_row = -1, active_col = -1;
    bool active_deleted = GetActivePane(&active_row, &active_col) && active_row == rowDelete;
    for (int col = 0; col < m_nCols; ++col) {
        if (HWND pane = ::GetDlgItem(m_hWnd, IdFromRowCol(rowDelete, col)))
            ::DestroyWindow(pane);
    }
    for (int row = rowDelete + 1; row < m_nRows; ++row) {
        for (int col = 0; col < m_nCols; ++col) {
            if (HWND pane = ::GetDlgItem(m_hWnd, IdFromRowCol(row, col)))
                SetWindowLongPtrA(pane, GWLP_ID, IdFromRowCol(row - 1, col));
        }
    }
    std::copy(m_pRowInfo + rowDelete + 1, m_pRowInfo + m_nRows, m_pRowInfo + rowDelete);
    --m_nRows;
    if (active_deleted)
        SetActivePane(std::min(rowDelete, m_nRows - 1), active_col);
    RecalcLayout();
}

void CSplitterWnd::DeleteColumn(int colDelete)
{
    if (!m_hWnd || m_nCols <= 1 || colDelete < 0 || colDelete >= m_nCols)
        return;
    int active_row = -1, active_col = -1;
    bool active_deleted = GetActivePane(&active_row, &active_col) && active_col == colDelete;
    for (int row = 0; row < m_nRows; ++row) {
        if (HWND pane = ::GetDlgItem(m_hWnd, IdFromRowCol(row, colDelete)))
            ::DestroyWindow(pane);
    }
    for (int row = 0; row < m_nRows; ++row) {
        for (int col = colDelete + 1; col < m_nCols; ++col) {
            if (HWND pane = ::GetDlgItem(m_hWnd, IdFromRowCol(row, col)))
                SetWindowLongPtrA(pane, GWLP_ID, IdFromRowCol(row, col - 1));
        }
    }
    std::copy(m_pColInfo + colDelete + 1, m_pColInfo + m_nCols, m_pColInfo + colDelete);
    --m_nCols;
    if (active_deleted)
        SetActivePane(active_row, std::min(colDelete, m_nCols - 1));
    RecalcLayout();
}

void CSplitterWnd::OnPaint()
{
    CPaintDC dc(this);
    CRect inside;
    GetInsideRect(inside);
    DrawAllSplitBars(&dc, inside.right, inside.bottom);
}

void CSplitterWnd::OnSize(UINT nType, int cx, int cy)
{
    CWnd::OnSize(nType, cx, cy);
    if (nType != SIZE_MINIMIZED && cx > 0 && cy > 0)
        RecalcLayout();
}

BOOL CSplitterWnd::OnSetCursor(CWnd *pWnd, UINT nHitTest, UINT message)
{
    if (pWnd == this && nHitTest == HTCLIENT && !m_bTracking) {
        POINT cursor{};
        ::GetCursorPos(&cursor);
        ScreenToClient(&cursor);
        int ht = HitTest(cursor);
        if (ht != noHit) {
            SetTrackerCursor(ht);
            return TRUE;
        }
    }
    return CWnd::OnSetCursor(pWnd, nHitTest, message);
}

void CSplitterWnd::OnMouseMove(UINT, CPoint pt)
{
    if (m_bTracking)
        MoveTracker(pt);
}

void CSplitterWnd::OnLButtonDown(UINT, CPoint pt)
{
    if (m_bTracking)
        return;
    StartTracking(HitTest(pt));
}

void CSplitterWnd::OnLButtonUp(UINT, CPoint)
{
    if (m_bTracking)
        StopTracking(TRUE);
}

void CSplitterWnd::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    if (!m_bTracking) {
        CWnd::OnKeyDown(nChar, nRepCnt, nFlags);
        return;
    }
    // Arrow keys move the tracker by 8 pixels, by 1 with Ctrl held.
    int step = GetKeyState(VK_CONTROL) < 0 ? 1 : 8;
    POINT cursor{};
    ::GetCursorPos(&cursor);
    switch (static_cast<int>(nChar)) {
    case VK_ESCAPE:
        StopTracking(FALSE);
        return;
    case VK_RETURN:
        StopTracking(TRUE);
        return;
    case VK_LEFT:
        cursor.x -= step;
        break;
    case VK_RIGHT:
        cursor.x += step;
        break;
    case VK_UP:
        cursor.y -= step;
        break;
    case VK_DOWN:
        cursor.y += step;
        break;
    default:
        return;
    }
    ::SetCursorPos(cursor.x, cursor.y);
    ScreenToClient(&cursor);
    MoveTracker(cursor);
}

void CSplitterWnd::OnCaptureChanged(CWnd *pWnd)
{
    if (m_bTracking && pWnd != this)
        StopTracking(FALSE);
}

LRESULT CSplitterWnd::OnCancelMode(WPARAM, LPARAM)
{
    if (m_bTracking)
        StopTracking(FALSE);
    return Default();
}
