#include <tessiv/imaging/blend.h>

#include <gtest/gtest.h>

namespace {

using kolt::ColorI;

// Blue, green, red, alpha: the memory order the blenders work in.
ColorI Bgra(int b, int g, int r, int a)
{
    return ColorI(static_cast<unsigned char>(r), static_cast<unsigned char>(g), static_cast<unsigned char>(b),
                  static_cast<unsigned char>(a));
}

void ExpectBgra(ColorI const &c, int b, int g, int r, int a)
{
    EXPECT_EQ(c[0], b);
    EXPECT_EQ(c[1], g);
    EXPECT_EQ(c[2], r);
    EXPECT_EQ(c[3], a);
}

TEST(Blend, CopyAddAndDecWorkOnAllFourChannels)
{
    ColorI dest = Bgra(200, 100, 50, 255);
    kolt::AddBlendFunction add;
    add(dest, Bgra(100, 100, 100, 10));
    ExpectBgra(dest, 255, 200, 150, 255);

    dest = Bgra(50, 100, 0, 30);
    kolt::DecBlendFunction dec;
    dec(dest, Bgra(100, 50, 0, 10));
    ExpectBgra(dest, 0, 50, 0, 20);

    kolt::CopyBlendFunction copy;
    copy(dest, Bgra(1, 2, 3, 4));
    ExpectBgra(dest, 1, 2, 3, 4);
}

TEST(Blend, AlphaDividesBy256)
{
    kolt::AlphaBlendFunction blend;
    ColorI dest = Bgra(0, 0, 0, 0);
    blend(dest, Bgra(255, 255, 255, 255));
    ExpectBgra(dest, 254, 254, 254, 255);

    dest = Bgra(100, 255, 0, 77);
    blend(dest, Bgra(255, 255, 255, 0));
    ExpectBgra(dest, 99, 254, 0, 77);

    dest = Bgra(100, 100, 100, 200);
    blend(dest, Bgra(200, 200, 200, 128));
    ExpectBgra(dest, 149, 149, 149, 255);

    // Through the base: the blenders are used polymorphically.
    kolt::AddBlendFunction add;
    kolt::PixelBlender &any = add;
    dest = Bgra(1, 1, 1, 1);
    any(dest, Bgra(1, 1, 1, 1));
    ExpectBgra(dest, 2, 2, 2, 2);
}

}  // namespace
