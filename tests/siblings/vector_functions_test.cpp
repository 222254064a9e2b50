#include <tessiv/siblings/zt_base/vector_functions.h>

#include <gtest/gtest.h>

#include <cmath>

namespace {

constexpr double kPi = 3.14159265358979323846;

void ExpectNear(kolt::Pnt3 const &actual, kolt::Pnt3 const &expected, char const *what)
{
    EXPECT_NEAR(actual.x, expected.x, 1e-12) << what;
    EXPECT_NEAR(actual.y, expected.y, 1e-12) << what;
    EXPECT_NEAR(actual.z, expected.z, 1e-12) << what;
}

TEST(RotAxis, AgreesWithThePointRotation)
{
    kolt::Pnt3 const axes[] = {{0, 0, 1}, {1, 0, 0}, {0, -2, 0}, {1, 2, 3}, {-0.3, 0.1, -4}};
    kolt::Pnt3 const v(0.7, -1.2, 2.5);
    for (kolt::Pnt3 const &axis : axes)
        for (double angle : {0.0, 0.3, -1.1, kPi, 4.0})
            ExpectNear(kolt::RotAxis(v, axis, angle), v.RotAxis(axis, angle), "against Pnt3::RotAxis");
}

TEST(RotAxis, IsCounterClockwiseAboutTheAxis)
{
    ExpectNear(kolt::RotAxis({1, 0, 0}, {0, 0, 1}, kPi / 2), {0, 1, 0}, "x about z");
    ExpectNear(kolt::RotAxis({0, 1, 0}, {1, 0, 0}, kPi / 2), {0, 0, 1}, "y about x");
    ExpectNear(kolt::RotAxis({0, 0, 1}, {0, 3, 0}, kPi / 2), {1, 0, 0}, "z about a long y");
    ExpectNear(kolt::RotAxis({1, 2, 3}, {0, 0, 0}, 1.0), {1, 2, 3}, "a zero axis leaves v");
}

TEST(RotAxis, MatchesTheRotationMatrix)
{
    // The rotation matrix about a unit axis k: c I + s [k]x + (1 - c) k k^T.
    kolt::Pnt3 const k = kolt::Pnt3(2, -1, 0.5).Normalize();
    double const angle = 0.8, c = std::cos(angle), s = std::sin(angle);
    double const m[3][3] = {
        {c + k.x * k.x * (1 - c), k.x * k.y * (1 - c) - k.z * s, k.x * k.z * (1 - c) + k.y * s},
        {k.y * k.x * (1 - c) + k.z * s, c + k.y * k.y * (1 - c), k.y * k.z * (1 - c) - k.x * s},
        {k.z * k.x * (1 - c) - k.y * s, k.z * k.y * (1 - c) + k.x * s, c + k.z * k.z * (1 - c)},
    };
    kolt::Pnt3 const v(-1, 4, 2);
    kolt::Pnt3 expected(m[0][0] * v.x + m[0][1] * v.y + m[0][2] * v.z,
                        m[1][0] * v.x + m[1][1] * v.y + m[1][2] * v.z,
                        m[2][0] * v.x + m[2][1] * v.y + m[2][2] * v.z);
    ExpectNear(kolt::RotAxis(v, kolt::Pnt3(2, -1, 0.5), angle), expected, "matrix");
}

TEST(GetAngleOf2Vector, RightAnglesParallelsAndZero)
{
    EXPECT_NEAR(kolt::GetAngleOf2Vector({1, 0, 0}, {0, 5, 0}), kPi / 2, 1e-15);
    EXPECT_NEAR(kolt::GetAngleOf2Vector({1, 1, 0}, {-2, -2, 0}), kPi, 1e-15);
    EXPECT_EQ(kolt::GetAngleOf2Vector({1, 2, 3}, {2, 4, 6}), 0);
    EXPECT_EQ(kolt::GetAngleOf2Vector({0, 0, 0}, {1, 0, 0}), 0);
    // acos of the normalised dot product would give 0 here.
    EXPECT_NEAR(kolt::GetAngleOf2Vector({1, 0, 0}, {1, 1e-9, 0}), 1e-9, 1e-20);
    double const nearly_opposite = kolt::GetAngleOf2Vector({1, 0, 0}, {-1, 1e-9, 0});
    EXPECT_NEAR(kPi - nearly_opposite, 1e-9, 1e-15) << "pi itself carries only 4e-16";
}

}  // namespace
