// Mouse navigation and cursors of CBaseView.
#include <tessiv/view/base_view.h>

LRESULT CBaseView::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    return CView::DefWindowProc(message, wParam, lParam);
}
void CBaseView::ZoomAll() {}
void CBaseView::SetCurCursor() {}
void CBaseView::DetectMouseOp(UINT) {}
void CBaseView::MouseClick(UINT, CPoint) {}
BOOL CBaseView::OnSetCursor(CWnd *, UINT, UINT) { return TRUE; }
void CBaseView::OnLButtonDblClk(UINT, CPoint) {}
void CBaseView::OnRButtonDblClk(UINT, CPoint) {}
void CBaseView::OnLButtonDown(UINT, CPoint) {}
void CBaseView::OnLButtonUp(UINT, CPoint) {}
void CBaseView::OnRButtonDown(UINT, CPoint) {}
void CBaseView::OnRButtonUp(UINT, CPoint) {}
void CBaseView::OnMouseMove(UINT, CPoint) {}
void CBaseView::OnMButtonDblClk(UINT, CPoint) {}
BOOL CBaseView::OnMouseWheel(UINT, short, CPoint) { return FALSE; }
void CBaseView::OnNcLButtonUp(UINT, CPoint) {}
void CBaseView::OnNcMButtonUp(UINT, CPoint) {}
void CBaseView::OnNcRButtonUp(UINT, CPoint) {}
void CBaseView::OnMButtonDown(UINT, CPoint) {}
void CBaseView::OnMButtonUp(UINT, CPoint) {}
void CBaseView::TakeCapture() {}
void CBaseView::ReleaseCaptureIfNoButton() {}
kolt::Pnt3 CBaseView::MouseReferencePoint() const { return {}; }
void CBaseView::ShowModuleCursor(int) {}
