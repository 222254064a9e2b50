// Overlay aids and the status read-out.
#include <tessiv/view/base_view.h>

void CBaseView::ShowStatusCoordinateInfo(kolt::Pnt3 const &) {}

void CBaseView::ShowStatusCoordinateInfo(CPoint const &) {}

void CBaseView::DrawRectAroundPoint(CPoint, kolt::Pnt3, double, DWORD) {}

bool CBaseView::GetHoriPointOrVertPoint(CPoint, CPoint, double, CPoint &) { return false; }

void CBaseView::DrawArrow(double, double, double, int, double) {}

void CBaseView::DrawArc(double, double) {}

void CBaseView::billboardCheatSphericalBegin() {}

void CBaseView::billboardEnd() {}

void CBaseView::ConvertVecToPoint(kolt::cvector<kolt::Pnt3> &, kolt::cvector<CPoint> &) {}
