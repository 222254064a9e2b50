// CColor: one colour held as a Windows COLORREF and as hue, luminance and
// saturation, converted lazily between the two. The conversions fix the
// exact look of the tool-bar effects, so every step keeps the precision it
// is written with here: single-precision values where a float() appears,
// double precision in between, truncation toward zero into bytes.
// Every member is inline so that per-pixel processors can use it in their
// inner loops; the byte truncation and the per-channel conversion are also
// offered to CImageHigh's pixel loop, which must agree with CColor exactly.
#pragma once

#include <algorithm>

#include <tessiv/platform/windef.h>

namespace tessiv::detail {

// A real value becomes a byte by truncation toward zero, keeping the low
// byte of the integer; beyond the int range (or NaN) the 32-bit platform's
// conversion yielded 0x80000000, whose low byte is 0.
inline BYTE TruncateToByte(double value)
{
    if (!(value > -2147483649.0 && value < 2147483648.0))
        return 0;
    return static_cast<BYTE>(static_cast<int>(value));
}

// One channel of the HLS to RGB conversion (shared with the pixel loop of
// CImageHigh): the channel's hue h is shifted into range once at most; the
// ramps are rounded to float once before the scaling by 255.
inline BYTE HlsChannel(float m1, float m2, float h)
{
    if (h > 360)
        h = static_cast<float>(double(h) - 360);
    else if (h < 0)
        h = static_cast<float>(double(h) + 360);
    if (h < 60)
        return TruncateToByte(double(static_cast<float>((double(m2) - m1) * h / 60 + m1)) * 255);
    if (h < 180)
        return TruncateToByte(double(m2) * 255);
    if (h < 240)
        return TruncateToByte(double(static_cast<float>((double(m2) - m1) * (240 - double(h)) / 60 + m1)) * 255);
    return TruncateToByte(double(m1) * 255);
}

}  // namespace tessiv::detail

// A colour in two forms; whichever form was written last is current and
// the other is computed on its first read (const readers fill it too).
// Byte 3 of the COLORREF is carried over from the constructor's argument.
class CColor {
public:
    CColor(COLORREF colour = 0) : colour_(colour) {}

    // Brings the RGB form up to date and returns it.
    operator COLORREF() const
    {
        ToRGB();
        return colour_;
    }

    void SetRed(int red) { SetByte(0, red); }
    void SetGreen(int green) { SetByte(8, green); }
    void SetBlue(int blue) { SetByte(16, blue); }
    // Arguments red, green, blue; only their low bytes are kept.
    void SetRGB(int red, int green, int blue)
    {
        colour_ = (colour_ & 0xFF000000u) |
                  RGB(static_cast<BYTE>(red), static_cast<BYTE>(green), static_cast<BYTE>(blue));
        rgb_valid_ = true;
        hls_valid_ = false;
    }
    int GetRed() const { ToRGB(); return GetRValue(colour_); }
    int GetGreen() const { ToRGB(); return GetGValue(colour_); }
    int GetBlue() const { ToRGB(); return GetBValue(colour_); }

    void SetHue(float hue) { ToHLS(); hue_ = hue; rgb_valid_ = false; }
    void SetSaturation(float saturation) { ToHLS(); saturation_ = saturation; rgb_valid_ = false; }
    void SetLuminance(float luminance) { ToHLS(); luminance_ = luminance; rgb_valid_ = false; }
    // Arguments hue, luminance, saturation: the luminance comes second.
    void SetHLS(float hue, float luminance, float saturation)
    {
        hue_ = hue;
        luminance_ = luminance;
        saturation_ = saturation;
        hls_valid_ = true;
        rgb_valid_ = false;
    }
    // Degrees: 0 for grays, otherwise in (0, 360]; pure red is 360, not 0.
    float GetHue() const { ToHLS(); return hue_; }
    float GetSaturation() const { ToHLS(); return saturation_; }
    float GetLuminance() const { ToHLS(); return luminance_; }

private:
    void SetByte(int shift, int value)
    {
        ToRGB();
        colour_ = (colour_ & ~(0xFFu << shift)) | (static_cast<COLORREF>(static_cast<BYTE>(value)) << shift);
        hls_valid_ = false;
    }

    void ToHLS() const
    {
        if (hls_valid_)
            return;
        int const red = GetRValue(colour_), green = GetGValue(colour_), blue = GetBValue(colour_);
        int const max = std::max({red, green, blue});
        int const min = std::min({red, green, blue});
        float const sum = static_cast<float>(max + min);
        float const delta = static_cast<float>(max - min);
        luminance_ = static_cast<float>(double(sum) / 510);
        hls_valid_ = true;
        if (max == min) {
            saturation_ = 0;
            hue_ = 0;
            return;
        }
        float const r = static_cast<float>(double(static_cast<float>(max - red)) / delta);
        float const g = static_cast<float>(double(static_cast<float>(max - green)) / delta);
        float const b = static_cast<float>(double(static_cast<float>(max - blue)) / delta);
        saturation_ = luminance_ <= 0.5 ? static_cast<float>(double(delta) / sum)
                                        : static_cast<float>(double(delta) / (510 - double(sum)));
        // Each test overwrites the hue of the one before: the last maximum wins.
        if (red == max)
            hue_ = static_cast<float>((double(b) + 6 - g) * 60);
        if (green == max)
            hue_ = static_cast<float>((double(r) + 2 - b) * 60);
        if (blue == max)
            hue_ = static_cast<float>((double(g) + 4 - r) * 60);
        // Only hues above 360 wrap: pure red keeps 360.
        if (hue_ > 360)
            hue_ = static_cast<float>(double(hue_) - 360);
    }

    void ToRGB() const
    {
        if (rgb_valid_)
            return;
        BYTE red, green, blue;
        if (saturation_ == 0) {
            red = green = blue = tessiv::detail::TruncateToByte(double(luminance_) * 255);
        } else {
            double const l = luminance_, s = saturation_;
            float const m2 = l > 0.5 ? static_cast<float>(l + s - l * s) : static_cast<float>(l * s + l);
            float const m1 = static_cast<float>(2 * l - m2);
            red = ToRGB1(m1, m2, static_cast<float>(double(hue_) + 120));
            green = ToRGB1(m1, m2, hue_);
            blue = ToRGB1(m1, m2, static_cast<float>(double(hue_) - 120));
        }
        colour_ = (colour_ & 0xFF000000u) | RGB(red, green, blue);
        rgb_valid_ = true;
    }

    // One channel: h is the channel's hue.
    static BYTE ToRGB1(float m1, float m2, float h) { return tessiv::detail::HlsChannel(m1, m2, h); }

    mutable COLORREF colour_;
    mutable float hue_ = 0;
    mutable float saturation_ = 0;
    mutable float luminance_ = 0;
    mutable bool rgb_valid_ = true;
    mutable bool hls_valid_ = false;
};
