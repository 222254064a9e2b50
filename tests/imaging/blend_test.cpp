#include <tessiv/imaging/blend.h>

#include <gtest/gtest.h>

namespace {

using kolt::ColorI;

// Blue, green, red, alpha: the memory order the blenders work in.
ColorI Bgra(int const (&c)[4])
{
    return ColorI(static_cast<unsigned char>(c[2]), static_cast<unsigned char>(c[1]), static_cast<unsigned char>(c[0]),
                  static_cast<unsigned char>(c[3]));
}

TEST(Blend, EachBlenderOnAllFourChannelsAndAlphaDividesBy256)
{
    kolt::CopyBlendFunction copy;
    kolt::AddBlendFunction add;
    kolt::DecBlendFunction dec;
    kolt::AlphaBlendFunction alpha;
    // Called through the base: hosts use the blenders polymorphically.
    struct Case {
        kolt::PixelBlender *blender;
        int dest[4], src[4], out[4];
    } const cases[] = {
        {&add, {200, 100, 50, 255}, {100, 100, 100, 10}, {255, 200, 150, 255}},
        {&dec, {50, 100, 0, 30}, {100, 50, 0, 10}, {0, 50, 0, 20}},
        {&copy, {0, 50, 0, 20}, {1, 2, 3, 4}, {1, 2, 3, 4}},
        {&alpha, {0, 0, 0, 0}, {255, 255, 255, 255}, {254, 254, 254, 255}},
        {&alpha, {100, 255, 0, 77}, {255, 255, 255, 0}, {99, 254, 0, 77}},
        {&alpha, {100, 100, 100, 200}, {200, 200, 200, 128}, {149, 149, 149, 255}},
    };
    for (Case const &c : cases) {
        ColorI dest = Bgra(c.dest);
        (*c.blender)(dest, Bgra(c.src));
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(dest[i], c.out[i]) << "case " << &c - cases << " channel " << i;
    }
}

}  // namespace
