// Camera and projections of CBaseView: a fixed orthographic camera on +z
// over a viewing node that turns and moves the scene.
#include <tessiv/view/base_view.h>

#include <GL/gl.h>
#include <GL/glu.h>

namespace {

constexpr double kMinZoom = 50;
constexpr double kMaxZoom = 4500;
constexpr double kDepthHalfRange = 20000;

}  // namespace

void CBaseView::SetModelView()
{
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    // The eye stands 300 units further out than the zoom value.
    gluLookAt(m_lookAt.x, m_lookAt.y, m_zoom + 300, m_lookAt.x, m_lookAt.y, 0, 0, 1, 0);
}

void CBaseView::SetProjection()
{
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    double const width = m_gl.Width();
    double const height = m_gl.Height();
    // A context not yet sized would give an infinite or zero aspect ratio.
    if (width > 0 && height > 0) {
        double const half_height = m_zoom / (width / height);
        glOrtho(-m_zoom, m_zoom, -half_height, half_height, -kDepthHalfRange, kDepthHalfRange);
    }
    glMatrixMode(GL_MODELVIEW);
}

void CBaseView::SetProjection(int x, int y, double size)
{
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    GLint viewport[4] = {0, 0, 0, 0};
    glGetIntegerv(GL_VIEWPORT, viewport);
    double const side = m_fixedPickSize ? 5.0 : size;
    // Window y runs down, OpenGL's up.
    gluPickMatrix(x, viewport[3] - y, side, side, viewport);
    double const width = m_gl.Width();
    double const height = m_gl.Height();
    if (width > 0 && height > 0) {
        double const half_height = m_zoom / (width / height);
        glOrtho(-m_zoom, m_zoom, -half_height, half_height, -kDepthHalfRange, kDepthHalfRange);
    }
    glMatrixMode(GL_MODELVIEW);
}

void CBaseView::SetPerView(double fovy)
{
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    double const width = m_gl.Width();
    double const height = m_gl.Height();
    if (width > 0 && height > 0)
        gluPerspective(fovy, width / height, 100.0, 20000.0);
    glMatrixMode(GL_MODELVIEW);
}

void CBaseView::RotAxis() { glMultMatrixd(m_viewNode.GetGlobalMatrix().m); }

void CBaseView::SetIdentityView() { m_viewNode.SetIdentity(); }

void CBaseView::SetPerspectiveView()
{
    m_viewNode.SetIdentity();
    m_viewNode.Rotate(&m_viewNode, kolt::Pnt3(0, 1, 0), 0.7853981633974483);
    m_viewNode.Rotate(nullptr, kolt::Pnt3(1, 0, 0), -0.17453292519943295);
    m_viewNode.Translate(nullptr, kolt::Pnt3(0, -75, 0));
    m_zoom = 300;
}

void CBaseView::SetViewDir()
{
    double const *m = m_viewNode.GetInvGlobalMatrix().m;
    m_viewSide = kolt::Pnt3(-m[0], -m[1], -m[2]);
    m_viewNormal = kolt::Pnt3(m[8], m[9], m[10]);
}

void CBaseView::Zoom(double delta)
{
    m_zoom += delta;
    if (m_zoom < kMinZoom)
        m_zoom = kMinZoom;
    else if (m_zoom > kMaxZoom)
        m_zoom = kMaxZoom;
}

void CBaseView::Translate(kolt::Pnt3 const &offset) { m_viewNode.Translate(nullptr, offset); }

void CBaseView::Rotate(double, double, double) {}
