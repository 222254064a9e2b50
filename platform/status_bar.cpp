// The status bar: panes, their texts and their layout.
#include <tessiv/platform/cdc.h>
#include <tessiv/platform/status_bar.h>

#include <algorithm>
#include <cstring>

IMPLEMENT_DYNAMIC(CStatusBar, CControlBar)

BEGIN_MESSAGE_MAP(CStatusBar, CControlBar)
    ON_MESSAGE(WM_SETTEXT, OnSetText)
    ON_MESSAGE(WM_GETTEXT, OnGetText)
    ON_MESSAGE(WM_GETTEXTLENGTH, OnGetTextLength)
    ON_WM_PAINT()
END_MESSAGE_MAP()

namespace {
constexpr int kDefaultPaneWidth = 100;
constexpr DWORD kBarStyleBits = 0x0000FFFF;
}  // namespace

BOOL CStatusBar::Create(CWnd *pParentWnd, DWORD dwStyle, UINT nID)
{
    if (!pParentWnd || !pParentWnd->m_hWnd)
        return FALSE;
    m_dwStyle = dwStyle & kBarStyleBits;
    m_panes.assign(1, Pane{ID_SEPARATOR, SBPS_NOBORDERS | SBPS_STRETCH, 0, CString()});
    CRect client;
    pParentWnd->GetClientRect(&client);
    CRect place(client.left, std::max(client.top, client.bottom - kHeight), client.right, client.bottom);
    LPCSTR window_class = AfxRegisterWndClass(0, LoadCursorA(nullptr, IDC_ARROW), GetSysColorBrush(COLOR_BTNFACE));
    return CWnd::Create(window_class, nullptr, (dwStyle & ~kBarStyleBits) | WS_CHILD, place, pParentWnd, nID);
}

BOOL CStatusBar::SetIndicators(UINT const *lpIDArray, int nIDCount)
{
    if (nIDCount < 0 || (!lpIDArray && nIDCount > 0))
        return FALSE;
    std::vector<Pane> panes;
    panes.reserve(static_cast<std::size_t>(nIDCount));
    for (int index = 0; index < nIDCount; ++index)
        panes.push_back(Pane{lpIDArray[index], SBPS_NORMAL, kDefaultPaneWidth, CString()});
    m_panes = std::move(panes);
    if (m_hWnd)
        Invalidate();
    return TRUE;
}

BOOL CStatusBar::SetPaneText(int nIndex, LPCTSTR lpszNewText, BOOL bUpdate)
{
    if (nIndex < 0 || nIndex >= GetCount())
        return FALSE;
    CString text(lpszNewText);
    Pane &pane = m_panes[static_cast<std::size_t>(nIndex)];
    if (pane.text == text)
        return TRUE;
    pane.text = text;
    if (bUpdate && m_hWnd) {
        CRect rect;
        GetItemRect(nIndex, &rect);
        InvalidateRect(&rect, TRUE);
    }
    return TRUE;
}

CString CStatusBar::GetPaneText(int nIndex) const
{
    if (nIndex < 0 || nIndex >= GetCount())
        return CString();
    return m_panes[static_cast<std::size_t>(nIndex)].text;
}

void CStatusBar::GetPaneText(int nIndex, CString &rString) const { rString = GetPaneText(nIndex); }

int CStatusBar::CommandToIndex(UINT nIDFind) const
{
    for (int index = 0; index < GetCount(); ++index)
        if (m_panes[static_cast<std::size_t>(index)].id == nIDFind)
            return index;
    return -1;
}

UINT CStatusBar::GetItemID(int nIndex) const
{
    return nIndex >= 0 && nIndex < GetCount() ? m_panes[static_cast<std::size_t>(nIndex)].id : ID_SEPARATOR;
}

void CStatusBar::SetPaneInfo(int nIndex, UINT nID, UINT nStyle, int cxWidth)
{
    if (nIndex < 0 || nIndex >= GetCount())
        return;
    Pane &pane = m_panes[static_cast<std::size_t>(nIndex)];
    pane.id = nID;
    pane.style = nStyle;
    pane.width = std::max(0, cxWidth);
    if (m_hWnd)
        Invalidate();
}

void CStatusBar::GetPaneInfo(int nIndex, UINT &nID, UINT &nStyle, int &cxWidth) const
{
    if (nIndex < 0 || nIndex >= GetCount()) {
        nID = ID_SEPARATOR;
        nStyle = 0;
        cxWidth = 0;
        return;
    }
    Pane const &pane = m_panes[static_cast<std::size_t>(nIndex)];
    nID = pane.id;
    nStyle = pane.style;
    cxWidth = pane.width;
}

UINT CStatusBar::GetPaneStyle(int nIndex) const
{
    return nIndex >= 0 && nIndex < GetCount() ? m_panes[static_cast<std::size_t>(nIndex)].style : 0;
}

void CStatusBar::SetPaneStyle(int nIndex, UINT nStyle)
{
    if (nIndex >= 0 && nIndex < GetCount())
        m_panes[static_cast<std::size_t>(nIndex)].style = nStyle;
}

void CStatusBar::GetItemRect(int nIndex, LPRECT lpRect) const
{
    if (!lpRect)
        return;
    *lpRect = RECT{};
    if (nIndex < 0 || nIndex >= GetCount())
        return;
    CRect client;
    GetClientRect(&client);
    // Fixed panes take their widths; stretching panes share what is left.
    long long fixed = 0;
    int stretching = 0;
    for (Pane const &pane : m_panes) {
        if (pane.style & SBPS_STRETCH)
            ++stretching;
        else
            fixed += pane.width;
    }
    long long spare = std::max(0LL, static_cast<long long>(client.Width()) - fixed);
    long long x = client.left;
    for (int index = 0; index < GetCount(); ++index) {
        Pane const &pane = m_panes[static_cast<std::size_t>(index)];
        long long width = (pane.style & SBPS_STRETCH) ? spare / stretching : pane.width;
        if (index == nIndex) {
            *lpRect = RECT{static_cast<LONG>(std::min<long long>(x, client.right)), client.top,
                           static_cast<LONG>(std::min<long long>(x + width, client.right)), client.bottom};
            return;
        }
        x += width;
    }
}

CSize CStatusBar::CalcFixedLayout(BOOL bStretch, BOOL)
{
    long long width = 0;
    for (Pane const &pane : m_panes)
        width += pane.width;
    return CSize(bStretch ? 32767 : static_cast<int>(std::min<long long>(width, 32767)), kHeight);
}

LRESULT CStatusBar::OnSetText(WPARAM, LPARAM lParam)
{
    if (m_panes.empty())
        return FALSE;
    return SetPaneText(0, reinterpret_cast<LPCTSTR>(lParam));
}

LRESULT CStatusBar::OnGetText(WPARAM wParam, LPARAM lParam)
{
    auto *buffer = reinterpret_cast<char *>(lParam);
    auto size = static_cast<std::size_t>(wParam);
    if (!buffer || size == 0)
        return 0;
    CString text = GetPaneText(0);
    std::size_t length = std::min(static_cast<std::size_t>(text.GetLength()), size - 1);
    std::memcpy(buffer, static_cast<char const *>(text), length);
    buffer[length] = '\0';
    return static_cast<LRESULT>(length);
}

LRESULT CStatusBar::OnGetTextLength(WPARAM, LPARAM) { return GetPaneText(0).GetLength(); }

void CStatusBar::OnPaint()
{
    CPaintDC dc(this);
    CRect client;
    GetClientRect(&client);
    dc.FillSolidRect(&client, GetSysColor(COLOR_BTNFACE));
    for (int index = 0; index < GetCount(); ++index) {
        if (m_panes[static_cast<std::size_t>(index)].style & SBPS_NOBORDERS)
            continue;
        CRect pane;
        GetItemRect(index, &pane);
        UINT style = m_panes[static_cast<std::size_t>(index)].style;
        COLORREF shadow = GetSysColor(COLOR_BTNSHADOW);
        COLORREF highlight = GetSysColor(COLOR_BTNHIGHLIGHT);
        if (style & SBPS_POPOUT)
            dc.Draw3dRect(&pane, highlight, shadow);
        else
            dc.Draw3dRect(&pane, shadow, highlight);
    }
}
