// Tool bars: buttons, their image lists and their layout.
#include <tessiv/platform/cdc.h>
#include <tessiv/platform/frame_wnd.h>
#include <tessiv/platform/tool_bar.h>

#include <algorithm>

IMPLEMENT_DYNAMIC(CToolBar, CControlBar)

BEGIN_MESSAGE_MAP(CToolBar, CControlBar)
    ON_WM_PAINT()
END_MESSAGE_MAP()

namespace {
// A button is this much larger than its image.
constexpr int kButtonExtraWidth = 7;
constexpr int kButtonExtraHeight = 6;
}  // namespace

// ---- the control wrapper ------------------------------------------------------

namespace {
LPARAM list_handle(CImageList *list) { return reinterpret_cast<LPARAM>(list ? list->GetSafeHandle() : nullptr); }
}  // namespace

HIMAGELIST CToolBarCtrl::SetImageList(CImageList *pImageList)
{
    return reinterpret_cast<HIMAGELIST>(::SendMessageA(m_hWnd, TB_SETIMAGELIST, 0, list_handle(pImageList)));
}
HIMAGELIST CToolBarCtrl::SetHotImageList(CImageList *pImageList)
{
    return reinterpret_cast<HIMAGELIST>(::SendMessageA(m_hWnd, TB_SETHOTIMAGELIST, 0, list_handle(pImageList)));
}
HIMAGELIST CToolBarCtrl::SetDisabledImageList(CImageList *pImageList)
{
    return reinterpret_cast<HIMAGELIST>(
        ::SendMessageA(m_hWnd, TB_SETDISABLEDIMAGELIST, 0, list_handle(pImageList)));
}
HIMAGELIST CToolBarCtrl::GetImageList() const
{
    return reinterpret_cast<HIMAGELIST>(::SendMessageA(m_hWnd, TB_GETIMAGELIST, 0, 0));
}
HIMAGELIST CToolBarCtrl::GetHotImageList() const
{
    return reinterpret_cast<HIMAGELIST>(::SendMessageA(m_hWnd, TB_GETHOTIMAGELIST, 0, 0));
}
HIMAGELIST CToolBarCtrl::GetDisabledImageList() const
{
    return reinterpret_cast<HIMAGELIST>(::SendMessageA(m_hWnd, TB_GETDISABLEDIMAGELIST, 0, 0));
}
BOOL CToolBarCtrl::EnableButton(int nID, BOOL bEnable)
{
    return static_cast<BOOL>(::SendMessageA(m_hWnd, TB_ENABLEBUTTON, static_cast<WPARAM>(nID), bEnable));
}
BOOL CToolBarCtrl::CheckButton(int nID, BOOL bCheck)
{
    return static_cast<BOOL>(::SendMessageA(m_hWnd, TB_CHECKBUTTON, static_cast<WPARAM>(nID), bCheck));
}
BOOL CToolBarCtrl::IsButtonEnabled(int nID) const
{
    return static_cast<BOOL>(::SendMessageA(m_hWnd, TB_ISBUTTONENABLED, static_cast<WPARAM>(nID), 0));
}
BOOL CToolBarCtrl::IsButtonChecked(int nID) const
{
    return static_cast<BOOL>(::SendMessageA(m_hWnd, TB_ISBUTTONCHECKED, static_cast<WPARAM>(nID), 0));
}
BOOL CToolBarCtrl::SetState(int nID, UINT nState)
{
    return static_cast<BOOL>(::SendMessageA(m_hWnd, TB_SETSTATE, static_cast<WPARAM>(nID), nState));
}
int CToolBarCtrl::GetState(int nID) const
{
    return static_cast<int>(::SendMessageA(m_hWnd, TB_GETSTATE, static_cast<WPARAM>(nID), 0));
}
int CToolBarCtrl::GetButtonCount() const { return static_cast<int>(::SendMessageA(m_hWnd, TB_BUTTONCOUNT, 0, 0)); }
int CToolBarCtrl::GetHotItem() const { return static_cast<int>(::SendMessageA(m_hWnd, TB_GETHOTITEM, 0, 0)); }
int CToolBarCtrl::SetHotItem(int nHot)
{
    return static_cast<int>(::SendMessageA(m_hWnd, TB_SETHOTITEM, static_cast<WPARAM>(nHot), 0));
}
BOOL CToolBarCtrl::GetItemRect(int nIndex, LPRECT lpRect) const
{
    return static_cast<BOOL>(
        ::SendMessageA(m_hWnd, TB_GETITEMRECT, static_cast<WPARAM>(nIndex), reinterpret_cast<LPARAM>(lpRect)));
}

// ---- the bar ------------------------------------------------------------------

CToolBar::CToolBar()
{
    m_cxLeftBorder = m_cxRightBorder = 4;
    m_cyTopBorder = m_cyBottomBorder = 2;
}

BOOL CToolBar::Create(CWnd *pParentWnd, DWORD dwStyle, UINT nID)
{
    if (!pParentWnd || !pParentWnd->m_hWnd)
        return FALSE;
    m_dwStyle = dwStyle & CBRS_ALL;
    LPCSTR window_class = AfxRegisterWndClass(CS_DBLCLKS, LoadCursorA(nullptr, IDC_ARROW),
                                              GetSysColorBrush(COLOR_BTNFACE));
    if (!CWnd::Create(window_class, nullptr, (dwStyle & ~CBRS_ALL) | WS_CHILD, CRect(0, 0, 0, 0), pParentWnd, nID))
        return FALSE;
    m_ctrl.m_hWnd = m_hWnd;
    CSize size = CalcFixedLayout(FALSE, (m_dwStyle & CBRS_ORIENT_VERT) == 0);
    SetWindowPos(nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    return TRUE;
}

BOOL CToolBar::CreateEx(CWnd *pParentWnd, DWORD, DWORD dwStyle, CRect rcBorders, UINT nID)
{
    SetBorders(rcBorders.left, rcBorders.top, rcBorders.right, rcBorders.bottom);
    return Create(pParentWnd, dwStyle, nID);
}

BOOL CToolBar::SetButtons(UINT const *lpIDArray, int nIDCount)
{
    if (nIDCount < 0)
        return FALSE;
    std::vector<Button> buttons(static_cast<std::size_t>(nIDCount));
    int image = 0;
    for (Button &button : buttons) {
        std::size_t index = static_cast<std::size_t>(&button - buttons.data());
        button.id = lpIDArray ? lpIDArray[index] : 0;
        if (lpIDArray && button.id == 0) {
            button.style = TBBS_SEPARATOR;
        } else {
            button.image = image++;
        }
    }
    m_buttons = std::move(buttons);
    m_iHot = m_iPressed = -1;
    LayoutButtons(-1, m_bHorzLayout);
    if (m_hWnd)
        Invalidate();
    return TRUE;
}

void CToolBar::SetSizes(SIZE sizeButton, SIZE sizeImage)
{
    m_sizeImage = CSize(std::max(1, static_cast<int>(sizeImage.cx)), std::max(1, static_cast<int>(sizeImage.cy)));
    m_sizeButton = CSize(std::max(static_cast<int>(sizeButton.cx), m_sizeImage.cx + kButtonExtraWidth),
                         std::max(static_cast<int>(sizeButton.cy), m_sizeImage.cy + kButtonExtraHeight));
    LayoutButtons(-1, m_bHorzLayout);
    if (m_hWnd)
        Invalidate();
}

int CToolBar::CommandToIndex(UINT nIDFind) const
{
    for (std::size_t index = 0; index < m_buttons.size(); ++index)
        if (m_buttons[index].id == nIDFind && m_buttons[index].style != TBBS_SEPARATOR)
            return static_cast<int>(index);
    return -1;
}

UINT CToolBar::GetItemID(int nIndex) const
{
    if (nIndex < 0 || nIndex >= GetCount())
        return 0;
    return m_buttons[static_cast<std::size_t>(nIndex)].id;
}

void CToolBar::GetItemRect(int nIndex, LPRECT lpRect) const
{
    if (!lpRect)
        return;
    if (nIndex < 0 || nIndex >= GetCount())
        *lpRect = CRect(0, 0, 0, 0);
    else
        *lpRect = m_buttons[static_cast<std::size_t>(nIndex)].rect;
}

UINT CToolBar::GetButtonStyle(int nIndex) const
{
    if (nIndex < 0 || nIndex >= GetCount())
        return 0;
    Button const &button = m_buttons[static_cast<std::size_t>(nIndex)];
    UINT style = button.style;
    if (button.state & TBSTATE_CHECKED)
        style |= TBBS_CHECKED;
    if (button.state & TBSTATE_PRESSED)
        style |= TBBS_PRESSED;
    if (!(button.state & TBSTATE_ENABLED))
        style |= TBBS_DISABLED;
    return style;
}

void CToolBar::SetButtonStyle(int nIndex, UINT nStyle)
{
    if (nIndex < 0 || nIndex >= GetCount())
        return;
    Button &button = m_buttons[static_cast<std::size_t>(nIndex)];
    button.style = nStyle & 0xFFFF;
    BYTE state = button.state & TBSTATE_HIDDEN;
    if (nStyle & TBBS_CHECKED)
        state |= TBSTATE_CHECKED;
    if (nStyle & TBBS_PRESSED)
        state |= TBSTATE_PRESSED;
    if (!(nStyle & TBBS_DISABLED))
        state |= TBSTATE_ENABLED;
    button.state = state;
    if (m_hWnd)
        Invalidate();
}

CSize CToolBar::LayoutButtons(int nLength, BOOL bHorz)
{
    m_bHorzLayout = bHorz;
    CRect inside(0, 0, 10000, 10000);
    CalcInsideRect(inside, bHorz);
    int right_margin = 10000 - inside.right;
    int bottom_margin = 10000 - inside.bottom;
    int x = inside.left, y = inside.top, row_height = 0;
    int extent_x = inside.left, extent_y = inside.top;
    for (Button &button : m_buttons) {
        if (button.state & TBSTATE_HIDDEN) {
            button.rect = CRect(0, 0, 0, 0);
            continue;
        }
        bool separator = button.style == TBBS_SEPARATOR;
        if (bHorz) {
            int width = separator ? kSeparatorWidth : m_sizeButton.cx;
            // Wrap to a new row when a length is given and the button would pass it.
            if (nLength > 0 && !separator && x > inside.left && x + width + right_margin > nLength) {
                x = inside.left;
                y += row_height;
                row_height = 0;
            }
            button.rect = CRect(x, y, x + width, y + m_sizeButton.cy);
            x += width;
            row_height = std::max(row_height, static_cast<int>(m_sizeButton.cy));
        } else {
            int height = separator ? kSeparatorWidth : m_sizeButton.cy;
            button.rect = CRect(x, y, x + m_sizeButton.cx, y + height);
            y += height;
        }
        extent_x = std::max(extent_x, static_cast<int>(button.rect.right));
        extent_y = std::max(extent_y, static_cast<int>(button.rect.bottom));
    }
    if (m_buttons.empty()) {
        extent_x = inside.left + (bHorz ? 0 : m_sizeButton.cx);
        extent_y = inside.top + (bHorz ? m_sizeButton.cy : 0);
    }
    return CSize(extent_x + right_margin, extent_y + bottom_margin);
}

CSize CToolBar::CalcFixedLayout(BOOL bStretch, BOOL bHorz)
{
    CSize size = LayoutButtons(-1, bHorz);
    if (bStretch) {
        // A stretched bar takes its frame's whole length.
        CWnd *parent = GetParent();
        CRect client(0, 0, 0, 0);
        if (parent)
            parent->GetClientRect(&client);
        if (bHorz)
            size.cx = std::max(static_cast<int>(size.cx), client.Width());
        else
            size.cy = std::max(static_cast<int>(size.cy), client.Height());
    }
    return size;
}

CSize CToolBar::CalcDynamicLayout(int nLength, DWORD nMode)
{
    if (nMode & (LM_HORZDOCK | LM_VERTDOCK))
        return CalcFixedLayout((nMode & LM_STRETCH) != 0, (nMode & LM_HORZDOCK) != 0);
    bool horizontal = (nMode & LM_HORZ) != 0;
    int length = (nMode & LM_MRUWIDTH) ? m_nMRUWidth : nLength;
    if (nMode & LM_LENGTHY) {
        // A height: the narrowest single row or wrapping that fits in it.
        CSize one_row = LayoutButtons(-1, TRUE);
        int rows = std::max(1, (nLength - (one_row.cy - m_sizeButton.cy)) / std::max(1, static_cast<int>(m_sizeButton.cy)));
        int per_row = (static_cast<int>(m_buttons.size()) + rows - 1) / rows;
        length = (one_row.cx - static_cast<int>(m_buttons.size()) * m_sizeButton.cx) + per_row * m_sizeButton.cx;
        horizontal = true;
    }
    CSize size = LayoutButtons(horizontal ? length : -1, horizontal);
    if (nMode & LM_COMMIT)
        m_nMRUWidth = size.cx;
    return size;
}

int CToolBar::HitTestButton(CPoint point) const
{
    for (std::size_t index = 0; index < m_buttons.size(); ++index) {
        Button const &button = m_buttons[index];
        if (button.style != TBBS_SEPARATOR && !(button.state & TBSTATE_HIDDEN) && button.rect.PtInRect(point))
            return static_cast<int>(index);
    }
    return -1;
}

int CToolBar::OnToolHitTest(CPoint point) const { return HitTestButton(point); }

void CToolBar::PaintButtons(CDC *pDC)
{
    for (std::size_t index = 0; index < m_buttons.size(); ++index) {
        Button const &button = m_buttons[index];
        if (button.style == TBBS_SEPARATOR || (button.state & TBSTATE_HIDDEN) || button.image < 0)
            continue;
        bool enabled = (button.state & TBSTATE_ENABLED) != 0;
        HIMAGELIST list = m_hNormalList;
        if (!enabled && m_hDisabledList)
            list = m_hDisabledList;
        else if (enabled && static_cast<int>(index) == m_iHot && m_hHotList)
            list = m_hHotList;
        if (button.state & (TBSTATE_CHECKED | TBSTATE_PRESSED))
            pDC->Draw3dRect(&button.rect, GetSysColor(COLOR_BTNSHADOW), GetSysColor(COLOR_BTNHIGHLIGHT));
        if (!list)
            continue;
        int cx = 0, cy = 0;
        ImageList_GetIconSize(list, &cx, &cy);
        int x = button.rect.left + (button.rect.Width() - cx) / 2;
        int y = button.rect.top + (button.rect.Height() - cy) / 2;
        ImageList_Draw(list, button.image, pDC->GetSafeHdc(), x, y, ILD_TRANSPARENT);
    }
}

void CToolBar::OnPaint()
{
    CPaintDC dc(this);
    DoPaint(&dc);
    PaintButtons(&dc);
}

LRESULT CToolBar::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    auto set_list = [this](HIMAGELIST &slot, LPARAM value) {
        HIMAGELIST previous = slot;
        slot = reinterpret_cast<HIMAGELIST>(value);
        if (m_hWnd)
            Invalidate();
        return reinterpret_cast<LRESULT>(previous);
    };
    auto button_of = [this](WPARAM id) -> Button * {
        int index = CommandToIndex(static_cast<UINT>(id));
        return index < 0 ? nullptr : &m_buttons[static_cast<std::size_t>(index)];
    };
    switch (message) {
    case TB_SETIMAGELIST: {
        auto list = reinterpret_cast<HIMAGELIST>(lParam);
        int cx = 0, cy = 0;
        // The buttons follow the size of the normal images.
        if (list && ImageList_GetIconSize(list, &cx, &cy))
            SetSizes(CSize(cx + kButtonExtraWidth, cy + kButtonExtraHeight), CSize(cx, cy));
        return set_list(m_hNormalList, lParam);
    }
    case TB_GETIMAGELIST:
        return reinterpret_cast<LRESULT>(m_hNormalList);
    case TB_SETHOTIMAGELIST:
        return set_list(m_hHotList, lParam);
    case TB_GETHOTIMAGELIST:
        return reinterpret_cast<LRESULT>(m_hHotList);
    case TB_SETDISABLEDIMAGELIST:
        return set_list(m_hDisabledList, lParam);
    case TB_GETDISABLEDIMAGELIST:
        return reinterpret_cast<LRESULT>(m_hDisabledList);
    case TB_ENABLEBUTTON:
    case TB_CHECKBUTTON:
    case TB_HIDEBUTTON:
    case TB_PRESSBUTTON: {
        Button *button = button_of(wParam);
        if (!button)
            return FALSE;
        BYTE flag = message == TB_ENABLEBUTTON  ? TBSTATE_ENABLED
                    : message == TB_CHECKBUTTON ? TBSTATE_CHECKED
                    : message == TB_HIDEBUTTON  ? TBSTATE_HIDDEN
                                                : TBSTATE_PRESSED;
        button->state = static_cast<BYTE>(LOWORD(static_cast<DWORD>(lParam)) ? button->state | flag : button->state & ~flag);
        if (message == TB_HIDEBUTTON)
            LayoutButtons(-1, m_bHorzLayout);
        Invalidate();
        return TRUE;
    }
    case TB_ISBUTTONENABLED:
    case TB_ISBUTTONCHECKED: {
        Button *button = button_of(wParam);
        BYTE flag = message == TB_ISBUTTONENABLED ? TBSTATE_ENABLED : TBSTATE_CHECKED;
        return button && (button->state & flag) ? TRUE : FALSE;
    }
    case TB_SETSTATE: {
        Button *button = button_of(wParam);
        if (!button)
            return FALSE;
        button->state = static_cast<BYTE>(lParam);
        Invalidate();
        return TRUE;
    }
    case TB_GETSTATE: {
        Button *button = button_of(wParam);
        return button ? button->state : -1;
    }
    case TB_BUTTONCOUNT:
        return GetCount();
    case TB_COMMANDTOINDEX:
        return CommandToIndex(static_cast<UINT>(wParam));
    case TB_GETITEMRECT: {
        int index = static_cast<int>(wParam);
        if (index < 0 || index >= GetCount() || !lParam)
            return FALSE;
        GetItemRect(index, reinterpret_cast<RECT *>(lParam));
        return TRUE;
    }
    case TB_GETHOTITEM:
        return m_iHot;
    case TB_SETHOTITEM: {
        int previous = m_iHot;
        int hot = static_cast<int>(wParam);
        m_iHot = hot >= 0 && hot < GetCount() ? hot : -1;
        if (m_iHot != previous)
            Invalidate();
        return previous;
    }
    case WM_MOUSEMOVE: {
        int hot = HitTestButton(CPoint(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)));
        if (hot >= 0 && !(m_buttons[static_cast<std::size_t>(hot)].state & TBSTATE_ENABLED))
            hot = -1;
        if (hot != m_iHot) {
            m_iHot = hot;
            Invalidate();
        }
        return 0;
    }
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
        int index = HitTestButton(CPoint(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)));
        if (index < 0 || !(m_buttons[static_cast<std::size_t>(index)].state & TBSTATE_ENABLED))
            return 0;
        m_iPressed = index;
        m_buttons[static_cast<std::size_t>(index)].state |= TBSTATE_PRESSED;
        SetCapture();
        Invalidate();
        return 0;
    }
    case WM_LBUTTONUP: {
        if (m_iPressed < 0)
            return 0;
        int pressed = m_iPressed;
        m_iPressed = -1;
        Button &button = m_buttons[static_cast<std::size_t>(pressed)];
        button.state &= static_cast<BYTE>(~TBSTATE_PRESSED);
        if (::GetCapture() == m_hWnd)
            ReleaseCapture();
        Invalidate();
        int index = HitTestButton(CPoint(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)));
        if (index != pressed || !(button.state & TBSTATE_ENABLED))
            return 0;
        if (button.style == TBBS_CHECKBOX)
            button.state ^= TBSTATE_CHECKED;
        // The command goes to the owner, else the frame the bar docks in.
        HWND target = m_hWndOwner;
        if (!target)
            if (CFrameWnd *frame = GetDockingFrame())
                target = frame->m_hWnd;
        if (target)
            ::SendMessageA(target, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(button.id), 0),
                           reinterpret_cast<LPARAM>(m_hWnd));
        return 0;
    }
    default:
        return CControlBar::DefWindowProc(message, wParam, lParam);
    }
}
