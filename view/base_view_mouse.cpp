// Mouse navigation and cursors of CBaseView: button flags and capture,
// rotate, pan and zoom by drag and wheel, the navigation cursors from the
// module's resources, and the context menu.
#include <tessiv/view/base_view.h>

#include <tessiv/platform/cmenu.h>
#include <tessiv/platform/resource_chain.h>
#include <tessiv/platform/winuser.h>
#include <tessiv/view/module_resource.h>

#include <cmath>

namespace {

// Cursor resources of the module (the numbers shell/resource.h names; the
// view may not include shell/).
constexpr int kRotateCursor = 144;
constexpr int kPanCursor = 5111;
constexpr int kZoomCursor = 149;

bool KeyHeld(int virtual_key) { return GetAsyncKeyState(virtual_key) < 0; }

// The world point under (x, y) at the depth of reference; the origin when the
// scene could not begin, since no matrices can be read without a context.
kolt::Pnt3 WorldPoint(Cgl &gl, int x, int y, kolt::Pnt3 const &reference)
{
    if (!gl.IsInScene())
        return kolt::Pnt3(0, 0, 0);
    return gl.Cvt2Dto3D(x, y, reference);
}

}  // namespace

void CBaseView::TakeCapture()
{
    if (CWnd::FromHandle(::GetCapture()) != this)
        ::SetCapture(m_hWnd);
}

void CBaseView::ReleaseCaptureIfNoButton()
{
    if (!m_lButtonDown && !m_mButtonDown && !m_rButtonDown)
        ::ReleaseCapture();
}

kolt::Pnt3 CBaseView::MouseReferencePoint() const
{
    double const *m = m_viewNode.GetInvGlobalMatrix().m;
    double const distance = m_zoom - 50;
    return kolt::Pnt3(m[8] * distance, m[9] * distance, m[10] * distance);
}

// The caller has the module resource instance current.
void CBaseView::ShowModuleCursor(int id)
{
    ::SetCursor(LoadCursorA(AfxFindResourceHandle(MAKEINTRESOURCE(id), RT_GROUP_CURSOR), MAKEINTRESOURCE(id)));
}

void CBaseView::DetectMouseOp(UINT flags)
{
    m_mouseOp = kMouseNone;
    m_lButtonDown = (flags & MK_LBUTTON) != 0;
    m_rButtonDown = (flags & MK_RBUTTON) != 0;
    m_mButtonDown = (flags & MK_MBUTTON) != 0;
    if (!KeyHeld(VK_MENU))
        return;
    if (m_lButtonDown && m_rButtonDown)
        m_mouseOp = kMouseZoom;
    else if (m_mButtonDown)
        m_mouseOp = kMouseZoom;
    else if (m_lButtonDown)
        m_mouseOp = kMouseRotate;
    else if (m_rButtonDown)
        m_mouseOp = kMousePan;
}

void CBaseView::OnLButtonDown(UINT, CPoint point)
{
    m_lButtonDown = true;
    m_lastPoint = point;
    BeginScene();
    SetProjection();
    // Only the projection is loaded: the model-view is what the last frame left.
    m_lastPoint3D = WorldPoint(m_gl, point.x, point.y, MouseReferencePoint());
    m_gl.SceneEnd();
    if (KeyHeld(VK_MENU))
        TakeCapture();
    Default();
}

void CBaseView::OnRButtonDown(UINT, CPoint point)
{
    m_rButtonDown = true;
    m_lastPoint = point;
    if (KeyHeld(VK_MENU))
        TakeCapture();
    Default();
}

void CBaseView::OnMButtonDown(UINT, CPoint point)
{
    m_mButtonDown = true;
    m_lastPoint = point;
    TakeCapture();
}

void CBaseView::OnLButtonUp(UINT, CPoint)
{
    m_lButtonDown = false;
    ReleaseCaptureIfNoButton();
    Default();
}

void CBaseView::OnRButtonUp(UINT, CPoint)
{
    m_rButtonDown = false;
    ReleaseCaptureIfNoButton();
    Default();
}

void CBaseView::OnMButtonUp(UINT, CPoint)
{
    m_mButtonDown = false;
    ReleaseCaptureIfNoButton();
}

LRESULT CBaseView::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_MBUTTONDOWN) {
        m_mButtonDown = true;
        auto const bits = static_cast<std::uintptr_t>(lParam);
        m_lastPoint = CPoint(LOWORD(bits), HIWORD(bits));
        TakeCapture();
    } else if (message == WM_MBUTTONUP) {
        m_mButtonDown = false;
        ReleaseCaptureIfNoButton();
    }
    return CView::DefWindowProc(message, wParam, lParam);
}

void CBaseView::OnNcLButtonUp(UINT, CPoint)
{
    m_lButtonDown = false;
    Default();
}

void CBaseView::OnNcMButtonUp(UINT, CPoint)
{
    m_mButtonDown = false;
    Default();
}

void CBaseView::OnNcRButtonUp(UINT, CPoint)
{
    m_rButtonDown = false;
    Default();
}

void CBaseView::OnMouseMove(UINT, CPoint point)
{
    CModuleResourceSwitch resources;
    double const dx = point.x - m_lastPoint.x;
    double const dy = point.y - m_lastPoint.y;
    bool drawn = false;

    // The world point under the cursor for the camera as it was before this move.
    BeginScene();
    SetProjection();
    kolt::Pnt3 const under_cursor = WorldPoint(m_gl, point.x, point.y, MouseReferencePoint());
    m_gl.SceneEnd();

    int operation = kMouseNone;
    if (m_mouseOp != kMouseNone)
        operation = m_mouseOp;
    else if (m_lButtonDown)
        operation = m_mouseMode;

    if (operation != kMouseNone)
        TakeCapture();
    if (operation == kMouseZoom) {
        // The dominant direction decides, ties to dx: right or up zooms in.
        Zoom(std::fabs(dx) - std::fabs(dy) >= 0 ? -dx : dy);
        ShowModuleCursor(kZoomCursor);
        drawn = true;
        Render();
    } else if (operation == kMouseRotate) {
        // 0.01 radian per pixel, the factor in single precision.
        double const a = -0.01f * dx;
        double const b = -0.01f * dy;
        bool const ctrl = KeyHeld(VK_CONTROL);
        kolt::Pnt3 const x_axis(1, 0, 0), y_axis(0, 1, 0), z_axis(0, 0, 1);
        if (m_rotateAxis == 1) {
            m_viewNode.Rotate(nullptr, x_axis, b);
        } else if (m_rotateAxis == 2 || ctrl) {
            m_viewNode.Rotate(&m_viewNode, y_axis, a);
        } else if (m_rotateAxis == 3) {
            m_viewNode.Rotate(&m_viewNode, z_axis, a);
        } else {
            m_viewNode.Rotate(&m_viewNode, y_axis, a);
            m_viewNode.Rotate(nullptr, x_axis, b);
        }
        SetViewDir();
        ShowModuleCursor(kRotateCursor);
        drawn = true;
        Render();
    } else if (operation == kMousePan) {
        // Without the viewing node's matrix the conversion works in its parent frame.
        m_gl.SceneBegin();
        SetProjection();
        SetModelView();
        kolt::Pnt3 const origin(0, 0, 0);
        kolt::Pnt3 const from = WorldPoint(m_gl, m_lastPoint.x, m_lastPoint.y, origin);
        kolt::Pnt3 const to = WorldPoint(m_gl, point.x, point.y, origin);
        m_gl.SceneEnd();
        m_viewNode.Translate(nullptr, kolt::Pnt3(to.x - from.x, to.y - from.y, to.z - from.z));
        SetViewDir();
        ShowModuleCursor(kPanCursor);
        drawn = true;
        Render();
    }

    m_lastPoint3D = under_cursor;
    m_lastPoint = point;
    if (!drawn && m_mouseMode != kMouseRotate && m_mouseMode != kMousePan && m_mouseMode != kMouseZoom)
        SetCurCursor();
    if (m_pStatusBar)
        ShowStatusCoordinateInfo(point);
    Default();
}

BOOL CBaseView::OnMouseWheel(UINT, short zDelta, CPoint)
{
    // Forward (positive) zooms in; one notch of 120 is about 12 world units.
    Zoom(-(zDelta * 0.1f));
    Render();
    return static_cast<BOOL>(Default());
}

void CBaseView::OnMButtonDblClk(UINT, CPoint) { ZoomAll(); }

void CBaseView::OnLButtonDblClk(UINT, CPoint) {}

void CBaseView::OnRButtonDblClk(UINT, CPoint) {}

BOOL CBaseView::OnSetCursor(CWnd *, UINT, UINT) { return TRUE; }

void CBaseView::ZoomAll() {}

void CBaseView::SetCurCursor()
{
    CModuleResourceSwitch resources;
    switch (m_mouseMode) {
    case kMouseRotate:
        ShowModuleCursor(kRotateCursor);
        break;
    case kMousePan:
        ShowModuleCursor(kPanCursor);
        break;
    case kMouseZoom:
        ShowModuleCursor(kZoomCursor);
        break;
    default:
        ::SetCursor(LoadCursorA(nullptr, IDC_ARROW));
        break;
    }
}

void CBaseView::MouseClick(UINT menuId, CPoint point)
{
    // The menu comes from the host's resource chain, without the module switch.
    LPCSTR const name = MAKEINTRESOURCE(LOWORD(menuId));
    CMenu menu;
    if (menu.Attach(LoadMenuA(AfxFindResourceHandle(name, RT_MENU), name))) {
        if (CMenu *popup = menu.GetSubMenu(0)) {
            popup->TrackPopupMenu(TPM_RIGHTBUTTON, point.x, point.y, this);
            popup->DestroyMenu();
        }
    }
    menu.DestroyMenu();
}
