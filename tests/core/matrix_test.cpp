#include <tessiv/core/matrix.h>

#include <gtest/gtest.h>

#include <cmath>
#include <random>

using kolt::MatX2;
using kolt::MatX3;
using kolt::MatX4;
using kolt::Pnt3;

namespace {

constexpr double kPi = 3.14159265358979323846;

// p' = p * M for a row vector (x, y, z, 1), without the division by w.
Pnt3 Apply(Pnt3 const &p, MatX4 const &m)
{
    return Pnt3(p.x * m[0] + p.y * m[4] + p.z * m[8] + m[12],
                p.x * m[1] + p.y * m[5] + p.z * m[9] + m[13],
                p.x * m[2] + p.y * m[6] + p.z * m[10] + m[14]);
}

void ExpectIdentity(MatX4 const &m, double tolerance)
{
    for (int i = 0; i < 16; ++i)
        EXPECT_NEAR(m[i], i % 5 == 0 ? 1.0 : 0.0, tolerance) << "element " << i;
}

MatX4 RandomMatrix(std::mt19937 &random)
{
    std::uniform_real_distribution<double> element(-2, 2);
    MatX4 m;
    for (double &e : m.m)
        e = element(random);
    return m;
}

TEST(MatX4Test, SettersFillTheDocumentedElements)
{
    MatX4 m;
    m.SetTranslate(Pnt3(1, 2, 3));
    EXPECT_EQ(m[12], 1.0);
    EXPECT_EQ(m[14], 3.0);
    EXPECT_EQ(m[15], 1.0);
    EXPECT_EQ(m[3], 0.0);

    m.SetScale(Pnt3(2, 3, 4));
    EXPECT_EQ(m[0], 2.0);
    EXPECT_EQ(m[10], 4.0);
    EXPECT_EQ(m[12], 0.0) << "each setter overwrites all 16 elements";

    m.SetOrientation(Pnt3(1, 0, 0), Pnt3(0, 1, 0));
    ExpectIdentity(m, 0);
    m.SetOrientation(Pnt3(2, 0, 0), Pnt3(0, 3, 0));
    EXPECT_EQ(m[0], 2.0) << "the vectors are used unchanged";
    EXPECT_EQ(m[10], 6.0);

    double const rows[4][4] = {{1, 2, 3, 4}, {5, 6, 7, 8}, {9, 10, 11, 12}, {13, 14, 15, 16}};
    MatX4 t(rows);
    t.Transpose();
    EXPECT_EQ(t[1], 5.0);
    EXPECT_EQ(t[4], 2.0);
    EXPECT_EQ(t[15], 16.0);
    EXPECT_EQ(t.e(3, 0), 4.0);
}

TEST(MatX4Test, RotationSenses)
{
    MatX4 rx;
    rx.SetRotateX(kPi / 2);
    Pnt3 a = Apply(Pnt3(0, 1, 0), rx);
    EXPECT_NEAR(a.z, 1, 1e-15) << "SetRotateX turns +y to +z like glRotated";

    MatX4 r;
    r.SetRotate(Pnt3(1, 0, 0), kPi / 2);
    Pnt3 b = Apply(Pnt3(0, 1, 0), r);
    EXPECT_NEAR(b.z, -1, 1e-15) << "SetRotate is the transpose: +y goes to -z";

    std::mt19937 random(5);
    std::uniform_real_distribution<double> angle(-kPi, kPi);
    for (int i = 0; i < 50; ++i) {
        double t = angle(random);
        MatX4 byAxis, byZ, byX, byY;
        byZ.SetRotateZ(-t);
        byAxis.SetRotate(Pnt3(0, 0, 1), t);
        for (int k = 0; k < 16; ++k)
            EXPECT_NEAR(byAxis[k], byZ[k], 1e-15);
        byX.SetRotateX(-t);
        byAxis.SetRotate(Pnt3(1, 0, 0), t);
        for (int k = 0; k < 16; ++k)
            EXPECT_NEAR(byAxis[k], byX[k], 1e-15);
        byY.SetRotateY(-t);
        byAxis.SetRotate(Pnt3(0, 1, 0), t);
        for (int k = 0; k < 16; ++k)
            EXPECT_NEAR(byAxis[k], byY[k], 1e-15);
    }

    // The point rotations of Pnt3 and the matrices agree.
    MatX4 rz;
    rz.SetRotateZ(0.3);
    Pnt3 p(0.2, -1, 4);
    Pnt3 viaMatrix = Apply(p, rz), viaPoint = p.RotateZ(0.3);
    EXPECT_NEAR(viaMatrix.x, viaPoint.x, 1e-15);
    EXPECT_NEAR(viaMatrix.y, viaPoint.y, 1e-15);
}

TEST(MatX4Test, InvertTakesTheFirstAcceptablePivot)
{
    // Element (0, 0) is below 1e-7, so row 1 becomes the first pivot.
    double const rows[4][4] = {{1e-8, 2, 0, 0}, {3, 1, 0, 0}, {0, 0, 4, 0}, {1, 2, 3, 1}};
    MatX4 const original(rows);
    MatX4 inverse = original;
    ASSERT_TRUE(inverse.Invert());
    ExpectIdentity(original * inverse, 1e-14);
    ExpectIdentity(inverse * original, 1e-14);

    // A small but acceptable pivot is kept even though a larger one lies below.
    double const small[4][4] = {{2e-7, 1, 0, 0}, {1, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}};
    MatX4 s(small);
    ASSERT_TRUE(s.Invert());
    ExpectIdentity(MatX4(small) * s, 1e-9);

    double const singular[4][4] = {{1, 2, 3, 4}, {1, 2, 3, 4}, {0, 1, 0, 0}, {0, 0, 1, 0}};
    MatX4 m(singular);
    EXPECT_FALSE(m.Invert());

    std::mt19937 random(99);
    for (int i = 0; i < 200; ++i) {
        MatX4 a = RandomMatrix(random);
        MatX4 inv = a;
        if (!inv.Invert())
            continue;
        ExpectIdentity(a * inv, 1e-8);
    }
}

TEST(MatX4Test, InvertFastHandlesAffineMatricesOnly)
{
    MatX4 perspective;
    perspective.SetIdentity();
    perspective[11] = -1;
    MatX4 before = perspective;
    EXPECT_FALSE(perspective.InvertFast());
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(perspective[i], before[i]) << "a refused matrix is unchanged";

    MatX4 nearly;
    nearly.SetIdentity();
    nearly[15] = 1.001;  // within the single-precision 0.001 after widening
    EXPECT_TRUE(nearly.InvertFast());
    nearly.SetIdentity();
    nearly[3] = 0.0010001;
    EXPECT_FALSE(nearly.InvertFast());

    MatX4 t;
    t.SetTranslate(Pnt3(1, 2, 3));
    ASSERT_TRUE(t.InvertFast());
    EXPECT_EQ(t[12], -1.0);
    EXPECT_EQ(t[13], -2.0);
    EXPECT_EQ(t[14], -3.0);

    // On random affine matrices it agrees with the general inverse.
    std::mt19937 random(3);
    for (int i = 0; i < 200; ++i) {
        MatX4 a = RandomMatrix(random);
        a[3] = a[7] = a[11] = 0;
        a[15] = 1;
        MatX4 fast = a, general = a;
        ASSERT_TRUE(fast.InvertFast());
        if (!general.Invert())
            continue;
        for (int k = 0; k < 16; ++k)
            EXPECT_NEAR(fast[k], general[k], 1e-7 * (1 + std::fabs(general[k])));
    }
}

TEST(MatX3Test, DeterminantAndAdjugateInverse)
{
    double const rows[3][3] = {{2, 0, 1}, {1, 3, 2}, {1, 1, 2}};
    MatX3 m(rows);
    EXPECT_EQ(m.Determinant(), 6.0);
    EXPECT_TRUE(m.Invert());
    double const expected[9] = {4 / 6.0, 1 / 6.0, -0.5, 0, 0.5, -0.5, -1 / 3.0, -1 / 3.0, 1};
    for (int i = 0; i < 9; ++i)
        EXPECT_DOUBLE_EQ(m[i], expected[i]) << "element " << i;

    MatX3 singular;
    singular.SetVec(Pnt3(1, 2, 3), Pnt3(2, 4, 6), Pnt3(0, 1, 0));
    EXPECT_TRUE(singular.Invert()) << "no singularity test";
    EXPECT_FALSE(std::isfinite(singular[0]));

    MatX3 c;
    c.SetIdentity();
    c.SetColV(Pnt3(7, 8, 9), 2);
    EXPECT_EQ(c[2], 7.0);
    EXPECT_EQ(c[8], 9.0);
    c.SetRowV(Pnt3(4, 5, 6), 0);
    EXPECT_EQ(c[2], 6.0);

    Pnt3 const vectors[3] = {Pnt3(1, 2, 3), Pnt3(4, 5, 6), Pnt3(7, 8, 9)};
    MatX3 fromVectors(vectors);
    EXPECT_EQ(fromVectors[5], 6.0);
}

TEST(MatX2Test, InvertRefusesSmallAndNegativeDeterminants)
{
    double const negative[2][2] = {{-1, 0}, {0, 1}};
    MatX2 n(negative);
    EXPECT_FALSE(n.Invert());
    EXPECT_EQ(n[0], -1.0) << "a refused matrix is unchanged";

    double const diag[4] = {2, 0, 0, 4};
    MatX2 d(diag);
    ASSERT_TRUE(d.Invert());
    EXPECT_EQ(d[0], 0.5);
    EXPECT_EQ(d[3], 0.25);

    MatX2 tiny;
    tiny.SetVec(kolt::Pnt2(1e-3, 0), kolt::Pnt2(0, 1e-3));
    EXPECT_FALSE(tiny.Invert()) << "a determinant of exactly 1e-6 is not greater";

    MatX2 general;
    general.SetVec(kolt::Pnt2(4, 7), kolt::Pnt2(2, 6));
    ASSERT_TRUE(general.Invert());
    EXPECT_DOUBLE_EQ(general[0], 0.6);
    EXPECT_DOUBLE_EQ(general[1], -0.7);
    EXPECT_DOUBLE_EQ(general[2], -0.2);
    EXPECT_DOUBLE_EQ(general[3], 0.4);
}

#if defined(TESSIV_CHECKED) && TESSIV_CHECKED
TEST(MatrixDeathTest, CheckedBuildCatchesOutOfRangeIndex)
{
    MatX4 m;
    EXPECT_DEATH((void)m[16], "bounds check failed");
    kolt::Pnt3 p;
    EXPECT_DEATH((void)p[3], "bounds check failed");
}
#endif

}  // namespace
