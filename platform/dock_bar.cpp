// Dock bars: rows of docked control bars along a frame's edge.
#include <tessiv/platform/cdc.h>
#include <tessiv/platform/dock_bar.h>
#include <tessiv/platform/dock_context.h>
#include <tessiv/platform/frame_wnd.h>

#include <algorithm>

IMPLEMENT_DYNAMIC(CDockBar, CControlBar)

BEGIN_MESSAGE_MAP(CDockBar, CControlBar)
    ON_WM_SIZE()
    ON_WM_PAINT()
END_MESSAGE_MAP()

namespace {

// The size a docked bar takes in a dock bar of the orientation.
CSize docked_size(CControlBar *bar, bool horizontal, bool floating)
{
    if (floating && (bar->GetBarStyle() & CBRS_SIZE_DYNAMIC))
        return bar->CalcDynamicLayout(-1, LM_HORZ | LM_MRUWIDTH);
    if (bar->GetBarStyle() & CBRS_SIZE_DYNAMIC)
        return bar->CalcDynamicLayout(-1, horizontal ? LM_HORZ | LM_HORZDOCK : LM_VERTDOCK);
    return bar->CalcFixedLayout(FALSE, horizontal);
}

}  // namespace

CDockBar::CDockBar(BOOL bFloating) : m_bFloating(bFloating)
{
    m_cxLeftBorder = m_cxRightBorder = m_cyTopBorder = m_cyBottomBorder = 0;
}

BOOL CDockBar::Create(CWnd *pParentWnd, DWORD dwStyle, UINT nID)
{
    if (!pParentWnd || !pParentWnd->m_hWnd)
        return FALSE;
    m_dwStyle = dwStyle & CBRS_ALL;
    LPCSTR window_class = AfxRegisterWndClass(CS_DBLCLKS, LoadCursorA(nullptr, IDC_ARROW),
                                              GetSysColorBrush(COLOR_BTNFACE));
    return CWnd::Create(window_class, nullptr, (dwStyle & ~CBRS_ALL) | WS_CHILD | WS_CLIPCHILDREN,
                        CRect(0, 0, 0, 0), pParentWnd, nID);
}

int CDockBar::FindBar(CControlBar *pBar, int nPosExclude) const
{
    for (std::size_t index = 0; index < m_arrBars.size(); ++index)
        if (m_arrBars[index] == pBar && static_cast<int>(index) != nPosExclude)
            return static_cast<int>(index);
    return -1;
}

int CDockBar::GetDockedCount() const
{
    return static_cast<int>(std::count_if(m_arrBars.begin(), m_arrBars.end(), [](CControlBar *bar) { return bar; }));
}

int CDockBar::GetDockedVisibleCount() const
{
    return static_cast<int>(std::count_if(m_arrBars.begin(), m_arrBars.end(),
                                          [](CControlBar *bar) { return bar && bar->IsVisible(); }));
}

BOOL CDockBar::RemoveControlBar(CControlBar *pBar, int nPosExclude, int nAddPlaceHolder)
{
    int index = FindBar(pBar, nPosExclude);
    if (index < 0)
        return FALSE;
    auto at = static_cast<std::size_t>(index);
    if (nAddPlaceHolder) {
        m_arrBars[at] = nullptr;
    } else {
        m_arrBars.erase(m_arrBars.begin() + index);
        m_arrPositions.erase(m_arrPositions.begin() + index);
        // A row left empty goes with the break before it.
        if (at > 0 && m_arrBars[at - 1] == nullptr && (at == m_arrBars.size() || m_arrBars[at] == nullptr)) {
            m_arrBars.erase(m_arrBars.begin() + index - 1);
            m_arrPositions.erase(m_arrPositions.begin() + index - 1);
        }
    }
    if (pBar->m_pDockBar == this)
        pBar->m_pDockBar = nullptr;
    if (m_hWnd)
        LayoutBars();
    return TRUE;
}

void CDockBar::DockControlBar(CControlBar *pBar, LPCRECT lpRect)
{
    if (!pBar || !pBar->m_hWnd || !m_hWnd || pBar == this)
        return;
    CDockBar *previous = pBar->m_pDockBar;
    if (previous)
        previous->RemoveControlBar(pBar);
    bool horizontal = (m_dwStyle & CBRS_ORIENT_HORZ) != 0;

    // The bar takes the dock bar's alignment and becomes its child.
    DWORD style = (pBar->GetBarStyle() & ~(CBRS_ALIGN_ANY | CBRS_FLOATING)) | (m_dwStyle & CBRS_ALIGN_ANY);
    if (m_bFloating)
        style |= CBRS_FLOATING;
    pBar->SetBarStyle(style);
    if (pBar->GetParent() != this)
        pBar->SetParent(this);
    pBar->m_pDockBar = this;
    if (!pBar->m_pDockSite)
        pBar->m_pDockSite = m_pDockSite ? m_pDockSite : GetParentFrame();

    // Rows as they are now: the range each covers across the dock bar.
    struct Row {
        std::size_t begin, end;  // indices in m_arrBars, end exclusive
        int from, to;            // across the dock bar
    };
    std::vector<Row> rows;
    int across = 0;
    for (std::size_t begin = 0; begin <= m_arrBars.size();) {
        std::size_t end = begin;
        int thickness = 0;
        while (end < m_arrBars.size() && m_arrBars[end]) {
            if (m_arrBars[end]->IsVisible()) {
                CSize size = docked_size(m_arrBars[end], horizontal, m_bFloating);
                thickness = std::max(thickness, static_cast<int>(horizontal ? size.cy : size.cx));
            }
            ++end;
        }
        if (end > begin)
            rows.push_back(Row{begin, end, across, across + thickness});
        across += thickness;
        begin = end + 1;
    }

    CPoint place(0, 0);
    std::size_t insert_at = m_arrBars.size();
    bool new_row = true;
    if (lpRect) {
        CRect rect(*lpRect);
        ScreenToClient(&rect);
        place = CPoint(std::max(0, static_cast<int>(rect.left)), std::max(0, static_cast<int>(rect.top)));
        int where = horizontal ? rect.top : rect.left;
        int along = horizontal ? place.x : place.y;
        if (where < 0 && !rows.empty()) {
            insert_at = 0;  // a new first row
        } else {
            for (Row const &row : rows) {
                if (where >= row.from && where < row.to) {
                    insert_at = row.end;
                    for (std::size_t index = row.begin; index < row.end; ++index) {
                        CPoint const &other = m_arrPositions[index];
                        if ((horizontal ? other.x : other.y) > along) {
                            insert_at = index;
                            break;
                        }
                    }
                    new_row = false;
                    break;
                }
            }
        }
        if (new_row)
            place = horizontal ? CPoint(place.x, 0) : CPoint(0, place.y);
    }
    if (new_row) {
        // A new row: its bar and a break, before the row at insert_at or last.
        if (insert_at == 0) {
            m_arrBars.insert(m_arrBars.begin(), {pBar, nullptr});
            m_arrPositions.insert(m_arrPositions.begin(), {place, CPoint()});
        } else {
            if (!m_arrBars.empty() && m_arrBars.back()) {
                m_arrBars.push_back(nullptr);
                m_arrPositions.emplace_back();
            }
            m_arrBars.push_back(pBar);
            m_arrPositions.push_back(place);
        }
    } else {
        m_arrBars.insert(m_arrBars.begin() + static_cast<std::ptrdiff_t>(insert_at), pBar);
        m_arrPositions.insert(m_arrPositions.begin() + static_cast<std::ptrdiff_t>(insert_at), place);
    }
    LayoutBars();
    if (!m_bFloating && pBar->m_pDockContext) {
        // Where the bar now sits is where it goes back to from floating.
        CRect rect;
        pBar->GetWindowRect(&rect);
        ScreenToClient(&rect);
        pBar->m_pDockContext->m_uMRUDockID = static_cast<UINT>(GetDlgCtrlID());
        pBar->m_pDockContext->m_rectMRUDockPos = rect;
    }

    // A floating frame left without bars goes away.
    if (previous && previous != this && previous->m_bFloating && previous->GetDockedCount() == 0) {
        if (CWnd *frame = previous->GetParent())
            frame->DestroyWindow();
    }
}

CSize CDockBar::CalcFixedLayout(BOOL bStretch, BOOL bHorz)
{
    bool horizontal = (m_dwStyle & CBRS_ORIENT_HORZ) != 0;
    int across = 0, longest = 0;
    for (std::size_t begin = 0; begin < m_arrBars.size();) {
        int along = 0, thickness = 0;
        std::size_t index = begin;
        for (; index < m_arrBars.size() && m_arrBars[index]; ++index) {
            CControlBar *bar = m_arrBars[index];
            if (!bar->IsVisible())
                continue;
            CSize size = docked_size(bar, horizontal, m_bFloating);
            int desired = horizontal ? m_arrPositions[index].x : m_arrPositions[index].y;
            along = std::max(along, desired) + static_cast<int>(horizontal ? size.cx : size.cy);
            thickness = std::max(thickness, static_cast<int>(horizontal ? size.cy : size.cx));
        }
        across += thickness;
        longest = std::max(longest, along);
        begin = index + 1;
    }
    if (bStretch && !m_bFloating) {
        CWnd *parent = GetParent();
        CRect client(0, 0, 0, 0);
        if (parent)
            parent->GetClientRect(&client);
        longest = std::max(longest, static_cast<int>(bHorz ? client.Width() : client.Height()));
    }
    return horizontal ? CSize(longest, across) : CSize(across, longest);
}

void CDockBar::LayoutBars()
{
    if (!m_hWnd)
        return;
    bool horizontal = (m_dwStyle & CBRS_ORIENT_HORZ) != 0;
    int across = 0;
    for (std::size_t begin = 0; begin < m_arrBars.size();) {
        int along = 0, thickness = 0;
        std::size_t index = begin;
        for (; index < m_arrBars.size() && m_arrBars[index]; ++index) {
            CControlBar *bar = m_arrBars[index];
            if (!bar->IsVisible())
                continue;
            CSize size = docked_size(bar, horizontal, m_bFloating);
            int desired = horizontal ? m_arrPositions[index].x : m_arrPositions[index].y;
            int start = std::max(along, desired);
            if (horizontal)
                bar->MoveWindow(start, across, size.cx, size.cy);
            else
                bar->MoveWindow(across, start, size.cx, size.cy);
            along = start + static_cast<int>(horizontal ? size.cx : size.cy);
            thickness = std::max(thickness, static_cast<int>(horizontal ? size.cy : size.cx));
        }
        across += thickness;
        begin = index + 1;
    }
}

void CDockBar::OnSize(UINT nType, int cx, int cy)
{
    CControlBar::OnSize(nType, cx, cy);
    LayoutBars();
}

void CDockBar::OnPaint()
{
    CPaintDC dc(this);
    CRect rect;
    GetClientRect(&rect);
    dc.FillSolidRect(&rect, GetSysColor(COLOR_BTNFACE));
}
