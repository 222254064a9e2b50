#include <tessiv/core/intvec.h>
#include <tessiv/core/kmath.h>
#include <tessiv/core/point.h>
#include <tessiv/core/quat.h>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <random>

using kolt::Pnt2;
using kolt::Pnt3;
using kolt::Pnt4;

namespace {

constexpr double kPi = 3.14159265358979323846;

void ExpectNear(Pnt3 const &actual, Pnt3 const &expected, double tolerance = 1e-12)
{
    EXPECT_NEAR(actual.x, expected.x, tolerance);
    EXPECT_NEAR(actual.y, expected.y, tolerance);
    EXPECT_NEAR(actual.z, expected.z, tolerance);
}

// Rodrigues' formula: an independent statement of a right-handed rotation.
Pnt3 Rodrigues(Pnt3 const &v, Pnt3 axis, double angle)
{
    axis = axis.Normalize();
    double c = std::cos(angle), s = std::sin(angle);
    return v * c + axis.Cross(v) * s + axis * (axis.dotmultiple(v) * (1 - c));
}

TEST(PointTest, DefaultsAndIndexing)
{
    Pnt3 p;
    EXPECT_EQ(p.x, 0.0);
    EXPECT_EQ(p.y, 0.0);
    EXPECT_EQ(p.z, 0.0);
    Pnt4 q(1, 2, 3, 4);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(q[i], i + 1.0);
    q.e(3) = 9;
    EXPECT_EQ(q.w, 9.0);
    Pnt2 const r(5, 6);
    EXPECT_EQ(r.e(1), 6.0);

    kolt::IntVec3 triple;
    EXPECT_EQ(triple[0], -1);
    EXPECT_EQ(triple[2], -1) << "an unset index is -1";
    kolt::IntVec4 quad(1, 2, 3, 4);
    EXPECT_EQ(quad[3], 4);
    kolt::IntVec2 pair;
    EXPECT_EQ(pair.y, -1);

    kolt::CQuat quat;
    quat.Set(1, 2, 3, 4);
    EXPECT_EQ(quat.x, 1.0);
    EXPECT_EQ(quat.w, 4.0);
}

TEST(PointTest, ArithmeticAndMagnitudes)
{
    Pnt3 p(1, 2, 2);
    EXPECT_EQ(p.SquareMagnitude(), 9.0);
    EXPECT_EQ(p.Magnitude(), 3.0);
    EXPECT_EQ(p.GetLength(), 3.0);
    p += 1.0;
    EXPECT_EQ(p.z, 3.0) << "adding a scalar adds it to every component";
    p *= 2;
    p /= 4;
    EXPECT_EQ(p.x, 1.0);
    p -= Pnt3(1, 1, 1);
    EXPECT_EQ(p.y, 0.5);

    Pnt3 n = Pnt3(0, 3, 4).Normalize();
    EXPECT_DOUBLE_EQ(n.y, 0.6);
    ExpectNear(Pnt3(0, 0, 0).Normalize(), Pnt3(0, 0, 0), 0);
    EXPECT_TRUE(std::isnan(Pnt2(0, 0).Normalize().x)) << "Pnt2 divides without a check";
    EXPECT_TRUE(std::isnan(Pnt4().Normalize().w));

    Pnt3 tiny(0, 0, 1e-12);
    tiny.unit();
    ExpectNear(tiny, Pnt3(1, 0, 0), 0);
    Pnt3 u(0, 0, -2);
    u.unit();
    ExpectNear(u, Pnt3(0, 0, -1), 0);

    Pnt3 d(0, 0, -3);
    d.Scale_to_01();
    ExpectNear(d, Pnt3(0.5, 0.5, 0), 0);

    EXPECT_EQ(Pnt3(3, -7, 2).Min(), -7.0);
    EXPECT_EQ(Pnt4(3, -7, 2, 8).Max(), 8.0);
    EXPECT_EQ(Pnt2(-3, 1).Abs().x, 3.0);

    EXPECT_EQ(Pnt3(1, -1, 1).ClosestAxis(), 0) << "ties go to the lower index";
    EXPECT_EQ(Pnt3(0, 2, -2).ClosestAxis(), 1);
    EXPECT_EQ(Pnt3(0, 2, -3).ClosestAxis(), 2);

    EXPECT_FALSE(Pnt3(1, 1, 1).Equals(Pnt3(1, 1, 1), 0)) << "tolerance 0 is never met";
    EXPECT_TRUE(Pnt3(1, 1, 1).Equals(Pnt3(1, 1, 1.5), 0.6));
    EXPECT_FALSE(Pnt3(1, 1, 1).Equals(Pnt3(1, 1, 1.5), 0.5)) << "strictly less than";

    Pnt3 a(1, 2, 3), b(4, 5, 6);
    EXPECT_EQ(a.dotmultiple(b), 32.0);
    ExpectNear(a.Cross(b), Pnt3(-3, 6, -3), 0);
    ExpectNear(a.multiple(b), Pnt3(-3, 6, -3), 0);
    ExpectNear(a.Trans(1, 1, 1), Pnt3(2, 3, 4), 0);
}

TEST(PointTest, AxisRotationsAreRightHanded)
{
    ExpectNear(Pnt3(1, 0, 0).RotateZ(kPi / 2), Pnt3(0, 1, 0));
    ExpectNear(Pnt3(0, 1, 0).RotateX(kPi / 2), Pnt3(0, 0, 1));
    ExpectNear(Pnt3(0, 0, 1).RotateY(kPi / 2), Pnt3(1, 0, 0));
    ExpectNear(Pnt3(1, 0, 0).RotAxis(Pnt3(0, 0, 5), kPi / 2), Pnt3(0, 1, 0));
}

TEST(PointTest, ComputeGlbAngTurnsDirectionsOntoPlusZ)
{
    double a1 = 9, a2 = 9;
    Pnt3(0, 0, 1).ComputeGlbAng(a1, a2);
    EXPECT_EQ(a1, 0.0);
    EXPECT_EQ(a2, 0.0);
    Pnt3(0, 1, 0).ComputeGlbAng(a1, a2);
    EXPECT_EQ(a1, kPi / 2);
    Pnt3(1, 0, 0).ComputeGlbAng(a1, a2);
    EXPECT_EQ(a1, 0.0);
    EXPECT_EQ(a2, -kPi / 2);

    // The tolerance is the single-precision 1e-6: z = 9.9e-7 counts as zero.
    Pnt3(0, 1, 9.9e-7).ComputeGlbAng(a1, a2);
    EXPECT_EQ(a1, kPi / 2);
    Pnt3(0, 1, 1.0e-6).ComputeGlbAng(a1, a2);
    EXPECT_NE(a1, kPi / 2) << "1e-6 as a double is above the widened float";

    std::mt19937 random(12345);
    std::uniform_real_distribution<double> coordinate(-1, 1);
    for (int i = 0; i < 200; ++i) {
        Pnt3 dir(coordinate(random), coordinate(random), coordinate(random));
        dir.ComputeGlbAng(a1, a2);
        Pnt3 turned = dir.RotateX(a1).RotateY(a2);
        ExpectNear(turned, Pnt3(0, 0, dir.Magnitude()), 1e-12);
    }
}

TEST(PointTest, RotAxisMatchesRodrigues)
{
    std::mt19937 random(777);
    std::uniform_real_distribution<double> coordinate(-3, 3);
    std::uniform_real_distribution<double> angle(-kPi, kPi);
    for (int i = 0; i < 500; ++i) {
        Pnt3 v(coordinate(random), coordinate(random), coordinate(random));
        Pnt3 axis(coordinate(random), coordinate(random), coordinate(random));
        double a = angle(random);
        ExpectNear(v.RotAxis(axis, a), Rodrigues(v, axis, a), 1e-11);
    }
    // Axes along the coordinate directions take the tolerance branches.
    Pnt3 const axes[] = {Pnt3(0, 0, -1), Pnt3(0, -1, 0), Pnt3(-2, 0, 0), Pnt3(0, 3, 0)};
    for (Pnt3 const &axis : axes)
        ExpectNear(Pnt3(0.3, -0.2, 0.9).RotAxis(axis, 0.7), Rodrigues(Pnt3(0.3, -0.2, 0.9), axis, 0.7));
}

TEST(MathTest, ConversionsUseTheSystemsConstants)
{
    EXPECT_EQ(kolt::Math::Deg2Rad(180), 180 * 0.017453292519943295);
    EXPECT_EQ(kolt::Math::Rad2Deg(1), 57.29577951308232);
}

TEST(MathTest, RandomStaysInUnitRangeAndFollowsTheSeed)
{
    std::srand(20261206);
    double lowest = 1, highest = 0;
    for (int i = 0; i < 200000; ++i) {
        double r = kolt::Math::Random();
        ASSERT_GE(r, 0.0);
        ASSERT_LE(r, 1.0);
        lowest = std::min(lowest, r);
        highest = std::max(highest, r);
    }
    EXPECT_LT(lowest, 0.001) << "the whole range is used";
    EXPECT_GT(highest, 0.999);

    std::srand(42);
    double first = kolt::Math::Random(), second = kolt::Math::Random();
    std::srand(42);
    EXPECT_EQ(kolt::Math::Random(), first) << "srand reproduces the sequence";
    EXPECT_EQ(kolt::Math::Random(), second);
}

}  // namespace
