// Picking through the selection buffer.
#include <tessiv/view/base_view.h>

void CBaseView::BeginPicking(CPoint const &, double) {}

int CBaseView::EndPicking() { return -1; }

int CBaseView::EndPicking_Plane() { return -1; }

void CBaseView::EndPicking(int &nearest, int &farthest)
{
    nearest = -1;
    farthest = -1;
}

bool CBaseView::EndPicking(kolt::cvector<int> &) { return false; }

bool CBaseView::EndPickingOnView(kolt::cvector<int> &) { return false; }
