#include "viewer_view.h"

#include "model_gl.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>

IMPLEMENT_DYNCREATE(CViewerView, CBaseView)

BEGIN_MESSAGE_MAP(CViewerView, CBaseView)
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONUP()
    ON_WM_RBUTTONDOWN()
    ON_WM_RBUTTONUP()
    ON_WM_MBUTTONDOWN()
    ON_WM_MBUTTONUP()
END_MESSAGE_MAP()

namespace {

bool AltHeld()
{
    return GetAsyncKeyState(VK_MENU) < 0;
}

}  // namespace

void CViewerView::OnLButtonDown(UINT flags, CPoint point)
{
    DetectMouseOp(flags);
    CBaseView::OnLButtonDown(flags, point);
    // A plain click picks; with Alt the press starts a navigation drag.
    if (!AltHeld())
        PickFace(point);
}

void CViewerView::OnLButtonUp(UINT flags, CPoint point)
{
    DetectMouseOp(flags);
    CBaseView::OnLButtonUp(flags, point);
}

void CViewerView::OnRButtonDown(UINT flags, CPoint point)
{
    DetectMouseOp(flags);
    CBaseView::OnRButtonDown(flags, point);
}

void CViewerView::OnRButtonUp(UINT flags, CPoint point)
{
    DetectMouseOp(flags);
    CBaseView::OnRButtonUp(flags, point);
}

void CViewerView::OnMButtonDown(UINT flags, CPoint point)
{
    DetectMouseOp(flags);
    CBaseView::OnMButtonDown(flags, point);
}

void CViewerView::OnMButtonUp(UINT flags, CPoint point)
{
    DetectMouseOp(flags);
    CBaseView::OnMButtonUp(flags, point);
}

int CViewerView::FindFace(CPoint point)
{
    m_lastHits.clear();
    m_lastRunsDrawn = 0;
    if (!m_model)
        return -1;
    // First the runs of faces near the point, one name each; then the faces
    // of the nearest run, one name each.
    BeginPicking(point, 5.0);
    m_lastRunsDrawn = viewer::DrawRunsForPicking(*m_model);
    int run = EndPicking_Plane();
    if (run < 0 || run >= static_cast<int>(m_model->groups.size()))
        return -1;
    BeginPicking(point, 5.0);
    viewer::DrawRunFacesForPicking(*m_model, run);
    EndPickingOnView(m_lastHits);
    // Every face drawn carries its own name, so the base name never comes
    // back as a hit.
    int face = m_lastHits.size() == 0 ? -1 : m_lastHits[0];
    return face < m_model->FaceCount() ? face : -1;
}

void CViewerView::SetPose(Pose pose)
{
    if (pose == Pose::Standard)
        SetPerspectiveView();
    else
        SetIdentityView();
    ZoomAll();
}

int CViewerView::PickFace(CPoint point)
{
    m_pickedFace = FindFace(point);
    Render();
    return m_pickedFace;
}

void CViewerView::DrawPickMarker()
{
    double centre[3];
    m_model->FaceCentre(m_pickedFace, centre);
    kolt::Pnt3 point(centre[0], centre[1], centre[2]);
    int x = 0, y = 0;
    double depth = 0;
    m_gl.Cvt3Dto2D(&x, &y, &depth, &point);

    glDisable(GL_LIGHTING);
    // The face itself, outlined in front of the surface.
    glDisable(GL_DEPTH_TEST);
    glLineWidth(3.0f);
    glColor3f(1.0f, 0.9f, 0.1f);
    glBegin(GL_LINE_LOOP);
    for (int corner = 0; corner < 3; ++corner) {
        std::size_t index = static_cast<std::size_t>(m_pickedFace) * 3 + static_cast<std::size_t>(corner);
        std::uint32_t v = m_model->indices[index];
        glVertex3fv(&m_model->positions[v * 3]);
    }
    glEnd();
    DrawRectAroundPoint(CPoint(x, y), point, 16.0, RGB(255, 230, 25));

    // A square of 20 pixels facing the viewer, so even a sub-pixel face shows.
    CRect client;
    GetClientRect(&client);
    double half = client.Width() > 0 ? 10.0 * 2.0 * m_zoom / client.Width() : 0.0;
    glPushMatrix();
    glTranslated(point.x, point.y, point.z);
    billboardCheatSphericalBegin();
    glLineWidth(2.0f);
    glBegin(GL_LINE_LOOP);
    glVertex3d(-half, -half, 0);
    glVertex3d(half, -half, 0);
    glVertex3d(half, half, 0);
    glVertex3d(-half, half, 0);
    glEnd();
    // The label starts just right of the square, in the same screen-aligned frame.
    m_label.SetText(CString("face ") + CString(std::to_string(m_pickedFace).c_str()));
    m_label.SetColor(RGB(255, 255, 255));
    m_label.Show(m_textAgent, kolt::Pnt3(1.4 * half, -0.5 * half, 0));
    billboardEnd();
    glPopMatrix();
    glLineWidth(1.0f);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_LIGHTING);
}

void CViewerView::Render()
{
    BeginScene();
    SetProjection();
    glClearColor(0.10f, 0.12f, 0.16f, 0.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    SetModelView();
    RotAxis();
    if (m_model) {
        viewer::DrawModel(*m_model);
        if (m_pickedFace >= 0)
            DrawPickMarker();
    }
    m_gl.Flip();
    m_gl.SceneEnd();
}

void CViewerView::ZoomAll()
{
    if (!m_model)
        return;
    CRect client;
    GetClientRect(&client);
    double aspect = client.Height() > 0 ? static_cast<double>(client.Width()) / client.Height() : 1.0;
    double wanted = m_model->radius * 1.05 * std::max(1.0, aspect);
    Zoom(wanted - m_zoom);
    Render();
}
