// The two colour value types of every raster: kolt::ColorI, one 32-bit word
// of four 8-bit channels, and kolt::ColorF, four single-precision floats,
// with the HSV and YUV conversions. Everything here is inline.
//
// Byte order of a ColorI in memory is blue, green, red, alpha, so read as a
// little-endian number it is 0xAARRGGBB. That is not a Windows COLORREF
// (0x00BBGGRR): a ColorI built from a number takes it as 0xAARRGGBB.
#pragma once

#include <bit>
#include <cstdint>

#include <tessiv/core/checked.h>

namespace kolt {

static_assert(std::endian::native == std::endian::little,
              "ColorI's byte order assumes a little-endian host");

// The single-precision values of the conversion constants, widened to double.
// They decide the last unit of the results, so they are written out exactly.
namespace color_constants {
inline constexpr double kInv255 = 0.003921568859368563;       // 1/255 as float
inline constexpr double kLumaRed = 0.29899999499320984;       // 0.299f
inline constexpr double kLumaGreen = 0.5870000123977661;      // 0.587f
inline constexpr double kLumaBlue = 0.11400000005960464;      // 0.114f
inline constexpr double kChromaU = 0.492000013589859;         // 0.492f
inline constexpr double kChromaV = 0.8769999742507935;        // 0.877f
inline constexpr double kInvChromaV = 1.1402509212493896;     // 1/0.877 as float
inline constexpr double kInvChromaU = 2.032520294189453;      // 1/0.492 as float
inline constexpr double kInvLumaGreen = 1.7035775184631348;   // 1/0.587 as float
}  // namespace color_constants

// A colour of four 8-bit channels in one 32-bit word (blue, green, red,
// alpha in memory). Alpha 0 is fully transparent, 255 fully opaque. The
// default constructor leaves the value uninitialised.
class ColorI {
public:
    ColorI() {}
    // Takes the number as 0xAARRGGBB; only its low 32 bits count.
    ColorI(unsigned long value) : value_(static_cast<std::uint32_t>(value)) {}
    // Red, green, blue, alpha: the argument order is not the memory order.
    ColorI(unsigned char red, unsigned char green, unsigned char blue, unsigned char alpha)
    {
        Set(red, green, blue, alpha);
    }

    void Set(unsigned char red, unsigned char green, unsigned char blue, unsigned char alpha)
    {
        value_ = static_cast<std::uint32_t>(blue) | (static_cast<std::uint32_t>(green) << 8) |
                 (static_cast<std::uint32_t>(red) << 16) | (static_cast<std::uint32_t>(alpha) << 24);
    }

    operator unsigned long() const { return value_; }

    // Byte i in memory order: 0 blue, 1 green, 2 red, 3 alpha. Unchecked.
    unsigned char &operator[](int i)
    {
        TESSIV_ASSERT_BOUNDS(i >= 0 && i < 4);
        return reinterpret_cast<unsigned char *>(&value_)[i];
    }
    unsigned char const &operator[](int i) const
    {
        TESSIV_ASSERT_BOUNDS(i >= 0 && i < 4);
        return reinterpret_cast<unsigned char const *>(&value_)[i];
    }

    ColorI &operator=(ColorI const &other) = default;
    ColorI(ColorI const &other) = default;

    bool IsTrans() const { return value_ < 0x01000000u; }
    bool IsBlack() const { return (value_ & 0xFFFFFFu) == 0; }
    bool IsWhite() const { return (value_ & 0xFFFFFFu) == 0xFFFFFFu; }

    void InvertRGB() { value_ ^= 0xFFFFFFu; }
    ColorI GetInvertRGB() const { return ColorI(static_cast<unsigned long>(value_ ^ 0xFFFFFFu)); }

    // Hue in degrees [0, 360), saturation [0, 1], value max/255 computed with
    // the single-precision 1/255 (so pure red has value 1.0000000591389835).
    // A colour whose three channels are equal, black included, has no hue:
    // it reports hue -1 and saturation 0 (the steps would otherwise reach
    // 240 for a gray and divide 0 by 0 for black).
    void HSV(double &h, double &s, double &v) const
    {
        double const r = Red(), g = Green(), b = Blue();
        double const max = r > g ? (r > b ? r : b) : (g > b ? g : b);
        double const min = r < g ? (r < b ? r : b) : (g < b ? g : b);
        v = max * color_constants::kInv255;
        if (max == min) {
            h = -1;
            s = 0;
            return;
        }
        s = (max - min) / max;
        double const divisor = max - min;
        // Three separate tests, each overwriting the hue; where two channels
        // share the maximum both give the same hue. One of them always holds,
        // the 0 only keeps compilers from warning in callers' loops.
        double hue = 0;
        if (r == max)
            hue = (g - b) / divisor;
        if (g == max)
            hue = (b - r) / divisor + 2;
        if (b == max)
            hue = (r - g) / divisor + 4;
        hue *= 60;
        if (hue < 0)
            hue += 360;
        h = hue;
    }

    // Y about 0 to 255, U and V centred on 128; no rounding or clamping.
    void YUV(double &y, double &u, double &v) const
    {
        using namespace color_constants;
        double const r = Red(), g = Green(), b = Blue();
        y = g * kLumaGreen + r * kLumaRed;
        y = y + b * kLumaBlue;
        u = (b - y) * kChromaU + 128;
        v = (r - y) * kChromaV + 128;
    }

    // Clamps each channel to [0, 255] and truncates; alpha becomes 255. The
    // round trip through YUV can lose one unit (white comes back 254, 255, 254).
    void FromYUV(double y, double u, double v)
    {
        using namespace color_constants;
        double const r = (v - 128) * kInvChromaV + y;
        double const b = (u - 128) * kInvChromaU + y;
        double const g = (y - r * kLumaRed - b * kLumaBlue) * kInvLumaGreen;
        Set(ToByte(r), ToByte(g), ToByte(b), 255);
    }

private:
    double Red() const { return (value_ >> 16) & 0xFF; }
    double Green() const { return (value_ >> 8) & 0xFF; }
    double Blue() const { return value_ & 0xFF; }

    static unsigned char ToByte(double c)
    {
        if (c > 255)
            return 255;
        if (c < 0)
            return 0;
        return static_cast<unsigned char>(c);
    }

    std::uint32_t value_;
};

static_assert(sizeof(ColorI) == 4);

// A colour of four floats, component i in argument order. Which channel a
// component holds is the user's choice; ConvertToColorI writes components
// 0, 1, 2 into bytes 0, 1, 2 (blue, green, red) of a ColorI. The default
// constructor leaves the value uninitialised.
class ColorF {
public:
    ColorF() {}
    ColorF(float c0, float c1, float c2, float c3) { Set(c0, c1, c2, c3); }

    void Set(float c0, float c1, float c2, float c3)
    {
        c_[0] = c0;
        c_[1] = c1;
        c_[2] = c2;
        c_[3] = c3;
    }

    float &operator[](int i)
    {
        TESSIV_ASSERT_BOUNDS(i >= 0 && i < 4);
        return c_[i];
    }
    float const &operator[](int i) const
    {
        TESSIV_ASSERT_BOUNDS(i >= 0 && i < 4);
        return c_[i];
    }

    ColorF &operator=(ColorF const &other) = default;
    ColorF(ColorF const &other) = default;

    // Writes the proportions of the first three components (not their
    // magnitude): (1, 1, 1) gives 85, 85, 85. The sum is rounded to float,
    // nothing is clamped, alpha and component 3 are untouched. A zero sum has
    // no defined result.
    void ConvertToColorI(ColorI &target) const
    {
        double const sum = static_cast<float>(static_cast<double>(c_[0]) + c_[1] + c_[2]);
        for (int i = 0; i < 3; ++i)
            target[i] = TruncateToByte(c_[i] / sum * 255);
    }

private:
    // Truncates toward zero and keeps the low 8 bits, as an unclamped
    // conversion does; values no integer can hold give 0.
    static unsigned char TruncateToByte(double value)
    {
        if (!(value > -9.0e18 && value < 9.0e18))
            return 0;
        return static_cast<unsigned char>(static_cast<std::int64_t>(value) & 0xFF);
    }

    float c_[4];
};

static_assert(sizeof(ColorF) == 16);

}  // namespace kolt
