// Cgl: conversions between window pixels and scene points, read from the
// current GL matrices and viewport.
#include <tessiv/render/cgl.h>

#include <tessiv/core/matrix.h>

#include <GL/gl.h>
#include <GL/glu.h>

#include <climits>
#include <cmath>
#include <cstdint>

namespace {

struct Clip {
    double x, y, z, w;
};

// m * (x, y, z, w) in OpenGL's column-major reading of the 16 elements.
Clip transform(double const *m, double x, double y, double z, double w)
{
    return Clip{m[0] * x + m[4] * y + m[8] * z + m[12] * w, m[1] * x + m[5] * y + m[9] * z + m[13] * w,
                m[2] * x + m[6] * y + m[10] * z + m[14] * w, m[3] * x + m[7] * y + m[11] * z + m[15] * w};
}

// The current matrices and viewport, and a scene point carried to clip
// coordinates by them.
struct Projection {
    double modelview[16];
    double projection[16];
    GLint viewport[4];
};

Projection read_projection()
{
    // Without a current context the queries write nothing, so start at zero.
    Projection current{};
    glGetDoublev(GL_MODELVIEW_MATRIX, current.modelview);
    glGetDoublev(GL_PROJECTION_MATRIX, current.projection);
    glGetIntegerv(GL_VIEWPORT, current.viewport);
    return current;
}

Clip to_clip(Projection const &current, kolt::Pnt3 const &p)
{
    Clip eye = transform(current.modelview, p.x, p.y, p.z, 1.0);
    return transform(current.projection, eye.x, eye.y, eye.z, eye.w);
}

// Truncation toward zero as the original x86 conversion does it: a value
// that is not a number or does not fit an int becomes INT_MIN.
int truncate_to_int(double value)
{
    if (!(value > -2147483649.0 && value < 2147483648.0))
        return INT_MIN;
    return static_cast<int>(value);
}

// a - b - c with 32-bit wrap-around, as the original integer arithmetic.
int wrapping_difference(int a, int b, int c)
{
    return static_cast<int>(static_cast<std::uint32_t>(a) - static_cast<std::uint32_t>(b) -
                            static_cast<std::uint32_t>(c));
}

// The least-squares solver's work arrays: module-level, as the system keeps
// them, so the mirror-pair conversion is not re-entrant.
double solver_q[3][4];
double solver_r[3][3];

// Solves the 4 x 3 system a * x = b in the least-squares sense by QR with
// modified Gram-Schmidt: no pivoting and no rank test.
kolt::Pnt3 least_squares(double a[4][3], double const b[4])
{
    double columns[3][4];
    for (int j = 0; j < 3; ++j)
        for (int i = 0; i < 4; ++i)
            columns[j][i] = a[i][j];
    for (int j = 0; j < 3; ++j) {
        double norm = 0;
        for (int i = 0; i < 4; ++i)
            norm += columns[j][i] * columns[j][i];
        solver_r[j][j] = std::sqrt(norm);
        for (int i = 0; i < 4; ++i)
            solver_q[j][i] = columns[j][i] / solver_r[j][j];
        for (int k = j + 1; k < 3; ++k) {
            double dot = 0;
            for (int i = 0; i < 4; ++i)
                dot += solver_q[j][i] * columns[k][i];
            solver_r[j][k] = dot;
            for (int i = 0; i < 4; ++i)
                columns[k][i] -= dot * solver_q[j][i];
        }
    }
    double y[3];
    for (int j = 0; j < 3; ++j) {
        y[j] = 0;
        for (int i = 0; i < 4; ++i)
            y[j] += solver_q[j][i] * b[i];
    }
    // Back-substitute from the last component.
    double x2 = y[2] / solver_r[2][2];
    double x1 = (y[1] - solver_r[1][2] * x2) / solver_r[1][1];
    double x0 = (y[0] - solver_r[0][1] * x1 - solver_r[0][2] * x2) / solver_r[0][0];
    return kolt::Pnt3(x0, x1, x2);
}

// One equation of the linear triangulation: the projection k of the point
// has normalised coordinate n along axis 0 (x) or 1 (y).
void triangulation_row(double const *k, double n, int axis, double row[3], double *rhs)
{
    row[0] = k[0 + axis] - n * k[3];
    row[1] = k[4 + axis] - n * k[7];
    row[2] = k[8 + axis] - n * k[11];
    *rhs = n * k[15] - k[12 + axis];
}

}  // namespace

void Cgl::MultMatrix(double const *mv, double const *p, double *out)
{
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c) {
            double sum = 0;
            for (int k = 0; k < 4; ++k)
                sum += mv[4 * r + k] * p[4 * k + c];
            out[4 * r + c] = sum;
        }
}

int Cgl::Cvt3Dto2D(int *x, int *y, double *depth, kolt::Pnt3 *p)
{
    Projection current = read_projection();
    GLint const *viewport = current.viewport;
    Clip clip = to_clip(current, *p);
    double d = (clip.z / clip.w + 1) * 0.5;
    *depth = d;
    if (!(d >= 0 && d <= 1))
        return 0;
    // The viewport size is halved as an integer: an odd size loses its half pixel.
    int half_width = viewport[2] >> 1;
    int half_height = viewport[3] >> 1;
    *x = static_cast<int>(static_cast<std::uint32_t>(truncate_to_int((clip.x / clip.w + 1) * half_width)) +
                          static_cast<std::uint32_t>(viewport[0]));
    *y = wrapping_difference(m_height, truncate_to_int((clip.y / clip.w + 1) * half_height), viewport[1]);
    return 1;
}

int Cgl::Cvt3Dto2D(kolt::Pnt3 *out, kolt::Pnt3 *p)
{
    Projection current = read_projection();
    GLint const *viewport = current.viewport;
    Clip clip = to_clip(current, *p);
    double d = (clip.z / clip.w + 1) * 0.5;
    out->z = d;
    if (!(d >= 0 && d <= 1))
        return 0;
    // The client size, not the viewport's, scales this form.
    out->x = (clip.x / clip.w + 1) * m_width * 0.5 + viewport[0];
    out->y = m_height - (clip.y / clip.w + 1) * m_height * 0.5 - viewport[1];
    return 1;
}

kolt::Pnt3 Cgl::Cvt2Dto3D(int x, int y)
{
    Projection current = read_projection();
    double window_y = static_cast<double>(current.viewport[3]) - y;
    GLfloat depth = 0;
    glReadPixels(x, static_cast<GLint>(window_y), 1, 1, GL_DEPTH_COMPONENT, GL_FLOAT, &depth);
    // A failed unprojection leaves the scene origin.
    double object_x = 0, object_y = 0, object_z = 0;
    gluUnProject(x, window_y, depth, current.modelview, current.projection, current.viewport, &object_x,
                 &object_y, &object_z);
    return kolt::Pnt3(object_x, object_y, object_z);
}

kolt::Pnt3 Cgl::Cvt2Dto3D(CPoint pt) { return Cvt2Dto3D(static_cast<int>(pt.x), static_cast<int>(pt.y)); }

kolt::Pnt3 Cgl::Cvt2Dto3D(int x, int y, kolt::Pnt3 const &ref) { return UnprojectAtDepthOf(x, y, ref); }

kolt::Pnt3 Cgl::Cvt2Dto3D(kolt::Pnt3 const &win) { return UnprojectAtDepthOf(win.x, win.y, kolt::Pnt3()); }

kolt::Pnt3 Cgl::UnprojectAtDepthOf(double x, double y, kolt::Pnt3 const &ref)
{
    double modelview[16] = {}, projection[16] = {};  // zero without a current context
    glGetDoublev(GL_MODELVIEW_MATRIX, modelview);
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    kolt::MatX4 combined;
    MultMatrix(modelview, projection, combined.m);
    kolt::MatX4 inverse = combined;
    // A singular matrix is not reported: Invert then returns false and leaves
    // a finite, partly reduced matrix, which is used as it is.
    inverse.Invert();
    Clip c = transform(combined.m, ref.x, ref.y, ref.z, 1.0);
    double half_width = m_width * 0.5;
    double half_height = m_height * 0.5;
    double clip_x = (x - half_width) * c.w / half_width;
    double clip_y = (half_height - y) * c.w / half_height;
    Clip result = transform(inverse.m, clip_x, clip_y, c.z, c.w);
    return kolt::Pnt3(result.x, result.y, result.z);
}

kolt::Pnt3 Cgl::Cvt2Dto3D(kolt::Pnt3 const &a, kolt::Pnt3 const &b)
{
    // Integer halving of the client size, then real arithmetic.
    double half_width = m_width / 2;
    double half_height = m_height / 2;
    double ax = (a.x - half_width) / half_width;
    double ay = (half_height - a.y) / half_height;
    double bx = (b.x - half_width) / half_width;
    double by = (half_height - b.y) / half_height;

    double modelview[16] = {}, projection[16] = {};  // zero without a current context
    glGetDoublev(GL_MODELVIEW_MATRIX, modelview);
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    double g[16], h[16];
    MultMatrix(modelview, projection, g);
    // The same projection applied to the mirrored point (-x, y, z).
    for (int i = 0; i < 16; ++i)
        h[i] = i < 4 ? -g[i] : g[i];

    double rows[4][3], rhs[4];
    triangulation_row(g, ax, 0, rows[0], &rhs[0]);
    triangulation_row(g, ay, 1, rows[1], &rhs[1]);
    triangulation_row(h, bx, 0, rows[2], &rhs[2]);
    triangulation_row(h, by, 1, rows[3], &rhs[3]);
    return least_squares(rows, rhs);
}
