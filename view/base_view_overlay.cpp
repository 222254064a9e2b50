// CBaseView drawing aids (square around a point, arrow heads, arcs, the
// billboard bracket), pixel snapping, point-list conversion and the
// coordinate read-out in the host's status bar.
#include <tessiv/platform/status_bar.h>
#include <tessiv/siblings/fendral/base_operation.h>
#include <tessiv/siblings/zt_base/vector_functions.h>
#include <tessiv/view/base_view.h>

#include <GL/gl.h>

#include <climits>
#include <cmath>
#include <cstdlib>

namespace {

constexpr double kPi = 3.141592653589793;

// Truncation toward zero as the x86 conversion does it: a value that is not
// a number or does not fit an int becomes INT_MIN, as in the conversions.
int TruncateToInt(double value)
{
    if (!(value > -2147483649.0 && value < 2147483648.0))
        return INT_MIN;
    return static_cast<int>(value);
}

int SaturatingAdd(int a, int b)
{
    long long const sum = static_cast<long long>(a) + b;
    return sum < INT_MIN ? INT_MIN : sum > INT_MAX ? INT_MAX : static_cast<int>(sum);
}

void SetColour(DWORD colour)
{
    glColor3f(static_cast<float>((colour & 0xFF) / 255.0), static_cast<float>(((colour >> 8) & 0xFF) / 255.0),
              static_cast<float>(((colour >> 16) & 0xFF) / 255.0));
}

void Vertex(kolt::Pnt3 const &p) { glVertex3d(p.x, p.y, p.z); }

// The precision format of the operation object. An override that returns a
// format the view cannot pass one double to is replaced by the default, so
// a host's mistake shows as digits rather than as a crash.
CString ReadOutFormat(CBaseOperation const &operation)
{
    CString const format = operation.GetPrecision();
    CBaseOperation check;
    if (check.SetPrecision(format))
        return format;
    return CBaseOperation().GetPrecision();
}

CString ReadOutText(char const *prefix, CString const &format, double value)
{
    CString number;
    number.Format(format, value);
    return prefix + number;
}

}  // namespace

void CBaseView::DrawRectAroundPoint(CPoint pixel, kolt::Pnt3 point, double size, DWORD colour)
{
    kolt::Pnt3 const origin(0, 0, 0);
    kolt::Pnt3 const a = m_gl.Cvt2Dto3D(pixel.x, pixel.y, origin);
    int const half = TruncateToInt(size * 0.5);
    kolt::Pnt3 const b = m_gl.Cvt2Dto3D(SaturatingAdd(pixel.x, half), pixel.y, origin);
    // The single-precision 1.3 is part of the square's size on screen.
    double const corner = 1.3f * (b - a).GetLength();
    kolt::Pnt3 const u = kolt::RotAxis(m_viewNormal, m_viewSide, kPi / 4);
    kolt::Pnt3 const w = kolt::RotAxis(u, m_viewSide, kPi / 2);
    kolt::Pnt3 const centre = point + 2000 * m_viewSide;

    SetColour(colour);
    glLineWidth(1.0f);
    glBegin(GL_LINE_LOOP);
    Vertex(centre + corner * u);
    Vertex(centre + corner * w);
    Vertex(centre - corner * u);
    Vertex(centre - corner * w);
    glEnd();
}

bool CBaseView::GetHoriPointOrVertPoint(CPoint start, CPoint current, double tolerance, CPoint &snapped)
{
    if (current == start)
        return false;
    // 64-bit differences keep far-apart pixels from overflowing.
    long long const dx = static_cast<long long>(current.x) - start.x;
    long long const dy = static_cast<long long>(current.y) - start.y;
    if (dx * dx + dy * dy < 225)
        return false;
    long long const abs_dx = dx < 0 ? -dx : dx;
    long long const abs_dy = dy < 0 ? -dy : dy;
    if (abs_dx >= abs_dy) {
        if (!(tolerance * 0.5 > static_cast<double>(abs_dy)))
            return false;
        snapped = CPoint(current.x, start.y);
    } else {
        if (!(tolerance * 0.5 > static_cast<double>(abs_dx)))
            return false;
        snapped = CPoint(start.x, current.y);
    }
    kolt::Pnt3 const dragged(static_cast<double>(dx), static_cast<double>(dy), 0);
    kolt::Pnt3 const along(static_cast<double>(static_cast<long long>(snapped.x) - start.x),
                           static_cast<double>(static_cast<long long>(snapped.y) - start.y), 0);
    return kolt::GetAngleOf2Vector(dragged, along) <= 0.35;
}

void CBaseView::DrawArrow(double x, double y, double z, int direction, double size)
{
    double angle = 0;
    switch (direction) {
    case 1: angle = 180; break;
    case 2: angle = -90; break;
    case 3: angle = 90; break;
    default: break;
    }
    // The single-precision 1.732 sets the wings' 30-degree opening.
    double const k = 1.732f;
    glPushMatrix();
    glTranslated(x, y, z);
    glRotated(angle, 0, 0, 1);
    glBegin(GL_LINES);
    glVertex3d(0, 0, 0);
    glVertex3d(k * size, size, 0);
    glVertex3d(0, 0, 0);
    glVertex3d(k * size, -size, 0);
    glEnd();
    glPopMatrix();
}

void CBaseView::DrawArc(double radius, double sweep)
{
    int const steps = TruncateToInt(sweep * 0.5);
    auto point_at = [radius](int degrees) {
        double const angle = degrees / 180.0 * kPi;
        glVertex3d(radius * std::cos(angle), radius * std::sin(angle), 0);
    };
    glBegin(GL_LINES);
    for (int k = steps; k >= 1; --k) {
        point_at(k);
        point_at(k - 1);
        point_at(-k);
        point_at(-(k - 1));
    }
    glEnd();
}

void CBaseView::billboardCheatSphericalBegin()
{
    GLint mode = GL_MODELVIEW;
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    double matrix[16];
    glGetDoublev(GL_MODELVIEW_MATRIX, matrix);
    // Rotation and scale go, the position stays.
    for (int column = 0; column < 3; ++column)
        for (int row = 0; row < 3; ++row)
            matrix[column * 4 + row] = column == row ? 1.0 : 0.0;
    glLoadMatrixd(matrix);
    glMatrixMode(static_cast<GLenum>(mode));
}

void CBaseView::billboardEnd() { glPopMatrix(); }

void CBaseView::ConvertVecToPoint(kolt::cvector<kolt::Pnt3> &points, kolt::cvector<CPoint> &pixels)
{
    pixels.clear();
    if (points.size() == 0)
        return;
    pixels.reserve(points.size());
    pixels.resize(points.size());
    BeginScene();
    SetProjection();
    // A point outside the depth range leaves x and y as the previous point
    // had them.
    int x = 0;
    int y = 0;
    for (unsigned int i = 0; i < points.size(); ++i) {
        double depth = 0;
        m_gl.Cvt3Dto2D(&x, &y, &depth, &points[i]);
        pixels[i] = CPoint(x, y);
    }
    m_gl.SceneEnd();
}

void CBaseView::ShowStatusCoordinateInfo(const CPoint &pixel)
{
    if (m_pStatusBar == nullptr || m_pOperation == nullptr)
        return;
    BeginScene();
    SetProjection();
    kolt::Pnt3 const point = m_gl.Cvt2Dto3D(pixel.x, pixel.y, kolt::Pnt3(0, 0, 0));
    m_gl.SceneEnd();

    double const scale = m_pOperation->GetUnitScale();
    CString const format = ReadOutFormat(*m_pOperation);
    m_pStatusBar->SetPaneText(1, ReadOutText("x:", format, point.x / scale), TRUE);
    m_pStatusBar->SetPaneText(2, ReadOutText("y:", format, point.y / scale), TRUE);
    m_pStatusBar->SetPaneText(3, ReadOutText("z:", format, point.z / scale), TRUE);
}

void CBaseView::ShowStatusCoordinateInfo(const kolt::Pnt3 &point)
{
    if (m_pStatusBar == nullptr || m_pOperation == nullptr)
        return;
    double const scale = m_pOperation->GetUnitScale();
    CString const format = ReadOutFormat(*m_pOperation);
    CString const x_text = ReadOutText("x:", format, point.x / scale);
    CString const y_text = ReadOutText("y:", format, point.y / scale);
    CString const z_text = ReadOutText("z:", format, point.z / scale);
    m_pStatusBar->SetPaneText(1, x_text, TRUE);
    m_pStatusBar->SetPaneText(2, y_text, TRUE);
    m_pStatusBar->SetPaneText(3, z_text, TRUE);
}
