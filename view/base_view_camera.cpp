// Camera and projections of CBaseView.
#include <tessiv/view/base_view.h>

void CBaseView::SetModelView() {}
void CBaseView::SetViewDir() {}
void CBaseView::SetProjection() {}
void CBaseView::SetProjection(int, int, double) {}
void CBaseView::Translate(kolt::Pnt3 const &) {}
void CBaseView::Rotate(double, double, double) {}
void CBaseView::SetPerView(double) {}
void CBaseView::SetIdentityView() {}
void CBaseView::SetPerspectiveView() {}
void CBaseView::Zoom(double) {}
void CBaseView::RotAxis() {}
