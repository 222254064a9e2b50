// Square matrices of doubles: kolt::MatX2, kolt::MatX3 and kolt::MatX4.
//
// Elements are stored row by row: element (r, c) of an n x n matrix is at
// index r*n + c. For MatX4 that is the layout of row vectors multiplied on the
// left (p' = p * M) with the translation in elements 12, 13 and 14, which is
// exactly the array glLoadMatrixd and glMultMatrixd take, so a matrix goes to
// OpenGL in its stored order. Default construction zeroes the elements (no
// operation depends on them). Element access by index is unchecked
// (TESSIV_CHECKED asserts it).
#pragma once

#include <cmath>
#include <cstring>
#include <utility>

#include <tessiv/core/checked.h>
#include <tessiv/core/point.h>

namespace kolt {

class MatX2 {
public:
    double m[4] = {};

    MatX2() = default;
    explicit MatX2(double const *elements) { std::memcpy(m, elements, sizeof m); }
    explicit MatX2(double const (&rows)[2][2]) { std::memcpy(m, rows, sizeof m); }

    double &operator[](int i) { TESSIV_ASSERT_BOUNDS(i >= 0 && i < 4); return m[i]; }
    double const &operator[](int i) const { TESSIV_ASSERT_BOUNDS(i >= 0 && i < 4); return m[i]; }

    void SetIdentity()
    {
        m[0] = 1; m[1] = 0;
        m[2] = 0; m[3] = 1;
    }
    void SetVec(Pnt2 const *rows)
    {
        m[0] = rows[0].x; m[1] = rows[0].y;
        m[2] = rows[1].x; m[3] = rows[1].y;
    }
    void SetVec(Pnt2 const &a, Pnt2 const &b)
    {
        m[0] = a.x; m[1] = a.y;
        m[2] = b.x; m[3] = b.y;
    }

    // Refuses (returns false, matrix unchanged) unless the determinant is
    // greater than 1e-6: a negative determinant is refused as well.
    bool Invert()
    {
        double d = m[3] * m[0] - m[2] * m[1];
        if (!(d > 1e-6))
            return false;
        double m0 = m[0], m1 = m[1], m2 = m[2], m3 = m[3];
        m[0] = m3 / d;
        m[1] = -m1 / d;
        m[2] = -m2 / d;
        m[3] = m0 / d;
        return true;
    }
};

class MatX3 {
public:
    double m[9] = {};

    MatX3() = default;
    explicit MatX3(double const *elements) { std::memcpy(m, elements, sizeof m); }
    explicit MatX3(double const (&rows)[3][3]) { std::memcpy(m, rows, sizeof m); }
    explicit MatX3(Pnt3 const *rows) { SetVec(rows); }

    double &operator[](int i) { TESSIV_ASSERT_BOUNDS(i >= 0 && i < 9); return m[i]; }
    double const &operator[](int i) const { TESSIV_ASSERT_BOUNDS(i >= 0 && i < 9); return m[i]; }

    void SetIdentity()
    {
        for (int i = 0; i < 9; ++i)
            m[i] = i % 4 == 0 ? 1 : 0;
    }
    void SetVec(Pnt3 const *rows) { SetVec(rows[0], rows[1], rows[2]); }
    void SetVec(Pnt3 const &a, Pnt3 const &b, Pnt3 const &c)
    {
        SetRowV(a, 0);
        SetRowV(b, 1);
        SetRowV(c, 2);
    }
    void SetRowV(Pnt3 const &v, int i)
    {
        TESSIV_ASSERT_BOUNDS(i >= 0 && i < 3);
        m[3 * i] = v.x;
        m[3 * i + 1] = v.y;
        m[3 * i + 2] = v.z;
    }
    void SetColV(Pnt3 const &v, int i)
    {
        TESSIV_ASSERT_BOUNDS(i >= 0 && i < 3);
        m[i] = v.x;
        m[i + 3] = v.y;
        m[i + 6] = v.z;
    }

    // Expansion along row 0.
    double Determinant() const
    {
        return m[0] * (m[4] * m[8] - m[5] * m[7]) - m[1] * (m[3] * m[8] - m[5] * m[6]) +
               m[2] * (m[3] * m[7] - m[4] * m[6]);
    }

    // Adjugate over the determinant. Always returns true: a singular matrix
    // yields infinite or NaN elements, as callers of the system expect.
    bool Invert()
    {
        double const d = Determinant();
        double const *a = m;
        double r[9] = {
            (a[4] * a[8] - a[5] * a[7]) / d, (a[2] * a[7] - a[1] * a[8]) / d,
            (a[1] * a[5] - a[2] * a[4]) / d, (a[5] * a[6] - a[3] * a[8]) / d,
            (a[0] * a[8] - a[2] * a[6]) / d, (a[2] * a[3] - a[0] * a[5]) / d,
            (a[3] * a[7] - a[4] * a[6]) / d, (a[1] * a[6] - a[0] * a[7]) / d,
            (a[0] * a[4] - a[1] * a[3]) / d,
        };
        std::memcpy(m, r, sizeof m);
        return true;
    }
};

class MatX4 {
public:
    double m[16] = {};

    MatX4() = default;
    explicit MatX4(double const *elements) { std::memcpy(m, elements, sizeof m); }
    explicit MatX4(double const (&rows)[4][4]) { std::memcpy(m, rows, sizeof m); }

    double &operator[](int i) { TESSIV_ASSERT_BOUNDS(i >= 0 && i < 16); return m[i]; }
    double const &operator[](int i) const { TESSIV_ASSERT_BOUNDS(i >= 0 && i < 16); return m[i]; }
    double &e(int r, int c) { TESSIV_ASSERT_BOUNDS(r >= 0 && r < 4 && c >= 0 && c < 4); return m[4 * r + c]; }
    double const &e(int r, int c) const { TESSIV_ASSERT_BOUNDS(r >= 0 && r < 4 && c >= 0 && c < 4); return m[4 * r + c]; }

    void SetIdentity()
    {
        for (int i = 0; i < 16; ++i)
            m[i] = i % 5 == 0 ? 1 : 0;
    }
    void SetTranslate(Pnt3 const &t)
    {
        SetIdentity();
        m[12] = t.x;
        m[13] = t.y;
        m[14] = t.z;
    }
    void SetScale(Pnt3 const &s)
    {
        SetIdentity();
        m[0] = s.x;
        m[5] = s.y;
        m[10] = s.z;
    }

    // Counter-clockwise about the axis, the sense of glRotated.
    void SetRotateX(double a)
    {
        SetIdentity();
        m[5] = std::cos(a);
        m[6] = std::sin(a);
        m[9] = -std::sin(a);
        m[10] = std::cos(a);
    }
    void SetRotateY(double a)
    {
        SetIdentity();
        m[0] = std::cos(a);
        m[2] = -std::sin(a);
        m[8] = std::sin(a);
        m[10] = std::cos(a);
    }
    void SetRotateZ(double a)
    {
        SetIdentity();
        m[0] = std::cos(a);
        m[1] = std::sin(a);
        m[4] = -std::sin(a);
        m[5] = std::cos(a);
    }

    // Rotation about an axis taken as unit length (not normalised here). This
    // is the transpose of SetRotateX/Y/Z for the same angle, so it turns the
    // other way under p * M: SetRotate((0, 0, 1), a) equals SetRotateZ(-a).
    void SetRotate(Pnt3 const &axis, double a)
    {
        double const x = axis.x, y = axis.y, z = axis.z;
        double const c = std::cos(a), s = std::sin(a), t = 1 - c;
        SetIdentity();
        m[0] = x * x + (1 - x * x) * c;
        m[5] = y * y + (1 - y * y) * c;
        m[10] = z * z + (1 - z * z) * c;
        m[1] = x * y * t - z * s;
        m[4] = x * y * t + z * s;
        m[2] = x * z * t + y * s;
        m[8] = x * z * t - y * s;
        m[6] = y * z * t - x * s;
        m[9] = y * z * t + x * s;
    }

    // Rows u, v, u x v used as given: neither normalised nor orthogonalised.
    void SetOrientation(Pnt3 const &u, Pnt3 const &v)
    {
        Pnt3 const w = u.Cross(v);
        double const rows[16] = {u.x, u.y, u.z, 0, v.x, v.y, v.z, 0, w.x, w.y, w.z, 0, 0, 0, 0, 1};
        std::memcpy(m, rows, sizeof m);
    }

    void Transpose()
    {
        for (int r = 0; r < 4; ++r) {
            for (int c = r + 1; c < 4; ++c) {
                double t = m[4 * r + c];
                m[4 * r + c] = m[4 * c + r];
                m[4 * c + r] = t;
            }
        }
    }

    // General inverse by Gauss-Jordan elimination. The pivot is the first
    // row with |A(r, k)| > 1e-7, not the largest: results match the system's
    // to the last bit. On false the matrix holds a partly reduced identity
    // and is unusable.
    bool Invert()
    {
        double a[16];
        std::memcpy(a, m, sizeof a);
        SetIdentity();
        double *b = m;
        for (int k = 0; k < 4; ++k) {
            // Find the pivot.
            int r = k;
            while (r < 4 && !(std::fabs(a[4 * r + k]) > 1e-7))
                ++r;
            if (r == 4)
                return false;

            // Scale the pivot row, then bring it to row k.
            double const pivot = a[4 * r + k];
            for (int c = 0; c < 4; ++c) {
                a[4 * r + c] /= pivot;
                b[4 * r + c] /= pivot;
            }
            if (r != k) {
                for (int c = 0; c < 4; ++c) {
                    std::swap(a[4 * r + c], a[4 * k + c]);
                    std::swap(b[4 * r + c], b[4 * k + c]);
                }
            }

            // Eliminate column k from every other row.
            for (int i = 0; i < 4; ++i) {
                if (i == k)
                    continue;
                double const f = a[4 * i + k];
                for (int c = 0; c < 4; ++c) {
                    a[4 * i + c] -= f * a[4 * k + c];
                    b[4 * i + c] -= f * b[4 * k + c];
                }
            }
        }
        return true;
    }

    // Inverse of an affine matrix. Refuses (false, matrix unchanged) when the
    // last column differs from (0, 0, 0, 1) by more than the single-precision
    // 0.001; the 3x3 block is inverted by its adjugate without a zero check.
    bool InvertFast()
    {
        constexpr double tolerance = static_cast<double>(0.001f);
        if (std::fabs(m[15] - 1) > tolerance || std::fabs(m[3]) > tolerance ||
            std::fabs(m[7]) > tolerance || std::fabs(m[11]) > tolerance)
            return false;

        MatX3 block;
        block.SetVec(Pnt3(m[0], m[1], m[2]), Pnt3(m[4], m[5], m[6]), Pnt3(m[8], m[9], m[10]));
        block.Invert();
        double const *r = block.m;
        double const tx = m[12], ty = m[13], tz = m[14];
        double const rows[16] = {
            r[0], r[1], r[2], 0,
            r[3], r[4], r[5], 0,
            r[6], r[7], r[8], 0,
            -(tx * r[0] + ty * r[3] + tz * r[6]),
            -(tx * r[1] + ty * r[4] + tz * r[7]),
            -(tx * r[2] + ty * r[5] + tz * r[8]),
            1,
        };
        std::memcpy(m, rows, sizeof m);
        return true;
    }
};

// The product a * b: under p' = p * M, the transform a followed by b.
inline MatX4 operator*(MatX4 const &a, MatX4 const &b)
{
    MatX4 product;
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c) {
            product.m[4 * r + c] = a.m[4 * r] * b.m[c] + a.m[4 * r + 1] * b.m[4 + c] +
                                   a.m[4 * r + 2] * b.m[8 + c] + a.m[4 * r + 3] * b.m[12 + c];
        }
    }
    return product;
}

}  // namespace kolt
