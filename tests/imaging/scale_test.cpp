#include <tessiv/imaging/scale.h>

#include <gtest/gtest.h>

#include <vector>

namespace {

using kolt::ColorI;
using kolt::PixelImage;

// A one-row image whose red channel holds the values; the other channels
// hold the same values so that all four are checked alike.
PixelImage Row(std::vector<int> const &values)
{
    PixelImage image;
    image.SetSize(static_cast<unsigned int>(values.size()), 1);
    for (unsigned int x = 0; x < values.size(); ++x)
        image(x, 0) = ColorI(static_cast<unsigned long>(values[x]) * 0x01010101ul);
    return image;
}

std::vector<int> Values(PixelImage const &image)
{
    std::vector<int> values;
    for (unsigned int x = 0; x < image.Width(); ++x) {
        ColorI const c = image(x, 0);
        EXPECT_TRUE(c[0] == c[1] && c[1] == c[2] && c[2] == c[3]) << "channels differ at " << x;
        values.push_back(c[2]);
    }
    return values;
}

template <class Scaler>
std::vector<int> Scale(std::vector<int> const &values, unsigned int width)
{
    PixelImage src = Row(values);
    PixelImage dest;
    dest.SetSize(width, 1);
    Scaler scaler;
    EXPECT_TRUE(scaler(dest, src, 0, 0, static_cast<int>(values.size()), 1));
    return Values(dest);
}

TEST(Scale, BilinearInterpolatesBetweenCentresAndRepeatsEdges)
{
    EXPECT_EQ(Scale<kolt::BiLinearScaleFunction>({0, 200}, 4), (std::vector<int>{0, 50, 150, 200}));
    // Halving widens the triangle to two source pixels each side:
    // weights 0.5, 0.375, 0.125 at the left edge (the pixel past it repeats),
    // 0.125, 0.375, 0.5 at the right.
    EXPECT_EQ(Scale<kolt::BiLinearScaleFunction>({0, 100, 200, 40}, 2), (std::vector<int>{63, 108}));
    EXPECT_EQ(Scale<kolt::BiLinearScaleFunction>({7, 9, 11}, 3), (std::vector<int>{7, 9, 11}));
}

TEST(Scale, BicubicOvershootIsClampedAndBSplineSmoothsEvenAtScaleOne)
{
    // Keys weights at a quarter pixel: -0.0703125, 0.8671875, 0.2265625, -0.0234375.
    EXPECT_EQ(Scale<kolt::BiCubicScaleFunction>({0, 255}, 4), (std::vector<int>{0, 52, 203, 255}));
    EXPECT_EQ(Scale<kolt::BiCubicScaleFunction>({3, 250, 17, 90}, 4), (std::vector<int>{3, 250, 17, 90}))
        << "at scale 1 the Keys kernel interpolates";
    // The B-spline smooths even at scale 1: weights 1/6, 4/6, 1/6 at whole-pixel offsets.
    EXPECT_EQ(Scale<kolt::BiCubicSplineScaleFunction>({0, 60, 0}, 3), (std::vector<int>{10, 40, 10}));
}

TEST(Scale, NearestPicksThePixelUnderEachCentre)
{
    EXPECT_EQ(Scale<kolt::NormalScaleFunction>({1, 2}, 5), (std::vector<int>{1, 1, 2, 2, 2}));
    EXPECT_EQ(Scale<kolt::NormalScaleFunction>({1, 2, 3, 4, 5, 6}, 3), (std::vector<int>{2, 4, 6}));
}

TEST(Scale, RectangleSelectsTheSourceAndBadRequestsFail)
{
    PixelImage src;
    src.SetSize(4, 3);
    for (unsigned int y = 0; y < 3; ++y)
        for (unsigned int x = 0; x < 4; ++x)
            src(x, y) = ColorI(static_cast<unsigned long>(0xFF000000u + 16 * y + x));
    PixelImage dest;
    dest.SetSize(2, 1);
    kolt::NormalScaleFunction nearest;
    ASSERT_TRUE(nearest(dest, src, 2, 1, 2, 1));
    EXPECT_EQ(static_cast<unsigned long>(dest(0, 0)), 0xFF000012ul);
    EXPECT_EQ(static_cast<unsigned long>(dest(1, 0)), 0xFF000013ul);

    kolt::BiLinearScaleFunction bilinear;
    dest(0, 0) = ColorI(0x12345678ul);
    EXPECT_FALSE(bilinear(dest, src, 3, 0, 2, 1)) << "rectangle past the right edge";
    EXPECT_FALSE(bilinear(dest, src, -1, 0, 2, 1));
    EXPECT_FALSE(bilinear(dest, src, 0, 0, 0, 1));
    EXPECT_EQ(static_cast<unsigned long>(dest(0, 0)), 0x12345678ul) << "a refused request leaves dest alone";
    PixelImage empty;
    EXPECT_FALSE(bilinear(empty, src, 0, 0, 4, 3));

    // Scaling an image into itself works on a copy of it.
    kolt::BiCubicScaleFunction bicubic;
    PixelImage same = src;
    ASSERT_TRUE(bicubic(same, same, 0, 0, 4, 3));
    EXPECT_EQ(static_cast<unsigned long>(same(3, 2)), static_cast<unsigned long>(src(3, 2)));
}

}  // namespace
