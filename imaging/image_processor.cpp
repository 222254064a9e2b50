// The pixel loops of the processors and the interpolating sampler.
#include <tessiv/imaging/image_processor.h>

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstring>

#include <tessiv/core/checked.h>
#include <tessiv/imaging/hls_color.h>

namespace {

// cx × cy, or 0 when either side is below 1 (two negative sides must not
// multiply into a positive count).
std::size_t PixelCount(CSize size)
{
    if (size.cx < 1 || size.cy < 1)
        return 0;
    return static_cast<std::size_t>(size.cx) * static_cast<std::size_t>(size.cy);
}

// float(sum / 510) for every sum of a largest and a smallest byte.
constexpr std::array<float, 511> kLuminanceOfSum = [] {
    std::array<float, 511> table{};
    for (int sum = 0; sum < 511; ++sum)
        table[sum] = static_cast<float>(double(static_cast<float>(sum)) / 510);
    return table;
}();

// What SetRGB, GetLuminance, SetLuminance and GetRed/GetBlue/GetGreen of a
// CColor give for one pixel, bit for bit, with the work that does not reach
// the result left out: only the hue test that holds last is evaluated, and
// pixels whose luminance does not change are copied. The reserved byte of
// out is not written.
void ShiftLuminance(RGBX const &in, RGBX &out, float change)
{
    int const red = in.btRed, green = in.btGreen, blue = in.btBlue;
    int const max = std::max(red, std::max(green, blue));
    int const min = std::min(red, std::min(green, blue));
    float const luminance = kLuminanceOfSum[max + min];
    float shifted;
    if (change > 0 && luminance < 1) {
        double const raised = double(change) + luminance;
        shifted = raised > 1 ? 1.0f : static_cast<float>(raised);
    } else if (change < 0 && luminance > 0) {
        double const lowered = double(change) + luminance;
        shifted = lowered < 0 ? 0.0f : static_cast<float>(lowered);
    } else {
        out.btRed = in.btRed;
        out.btGreen = in.btGreen;
        out.btBlue = in.btBlue;
        return;
    }
    if (max == min) {
        BYTE const level = tessiv::detail::TruncateToByte(double(shifted) * 255);
        out.btRed = out.btGreen = out.btBlue = level;
        return;
    }

    // Hue and saturation of the unchanged colour.
    float const sum = static_cast<float>(max + min);
    float const delta = static_cast<float>(max - min);
    float const saturation = static_cast<float>(double(delta) / (luminance <= 0.5 ? double(sum) : 510 - double(sum)));
    // Blue's test overrides green's, which overrides red's: hue is
    // (x + offset - y) * 60 with the ratios x, y of the other two channels.
    int const x_channel = blue == max ? green : green == max ? red : blue;
    int const y_channel = blue == max ? red : green == max ? blue : green;
    double const offset = blue == max ? 4 : green == max ? 2 : 6;
    float const x = static_cast<float>(double(static_cast<float>(max - x_channel)) / delta);
    float const y = static_cast<float>(double(static_cast<float>(max - y_channel)) / delta);
    float hue = static_cast<float>((double(x) + offset - y) * 60);
    hue = hue > 360 ? static_cast<float>(double(hue) - 360) : hue;

    // Back to RGB with the new luminance.
    double const l = shifted, s = saturation;
    float const m2 = l > 0.5 ? static_cast<float>(l + s - l * s) : static_cast<float>(l * s + l);
    float const m1 = static_cast<float>(2 * l - m2);
    out.btRed = tessiv::detail::HlsChannel(m1, m2, static_cast<float>(double(hue) + 120));
    out.btGreen = tessiv::detail::HlsChannel(m1, m2, hue);
    out.btBlue = tessiv::detail::HlsChannel(m1, m2, static_cast<float>(double(hue) - 120));
}

}  // namespace

C32BitImageProcessor::~C32BitImageProcessor() = default;

CSize C32BitImageProcessor::CalcDestSize(CSize size)
{
    return size;
}

BOOL C32BitImageProcessor::ProcessPixels(RGBX *src, CSize, RGBX *dest, CSize destSize)
{
    std::size_t const count = PixelCount(destSize);
    if (count > 0)
        std::memcpy(dest, src, count * sizeof(RGBX));
    return 1;
}

void C32BitImageProcessor::SetBkColor(int red, int green, int blue)
{
    bk_red_ = red;
    bk_green_ = green;
    bk_blue_ = blue;
    bk_set_ = 1;
}

RGBX C32BitImageProcessor::CalcWeightedColor(RGBX *pixels, CSize size, double x, double y)
{
    TESSIV_ASSERT_BOUNDS(x < size.cx && y < size.cy);
    // Left of or above the image: the pixel at the clamped position, all four
    // bytes. Every negative coordinate truncates to at most 0, so it clamps to 0.
    if (x < 0 || y < 0) {
        int const column = x < 0 ? 0 : static_cast<int>(x);
        int const row = y < 0 ? 0 : static_cast<int>(y);
        return pixels[static_cast<std::size_t>(row) * size.cx + column];
    }
    int const ix = static_cast<int>(x);
    int const iy = static_cast<int>(y);
    double const fx = x - ix;
    double const fy = y - iy;
    RGBX const &p = pixels[static_cast<std::size_t>(iy) * size.cx + ix];
    RGBX const &r = pixels[static_cast<std::size_t>(iy) * size.cx + std::min(ix + 1, int(size.cx) - 1)];
    RGBX const &b = pixels[static_cast<std::size_t>(std::min(iy + 1, int(size.cy) - 1)) * size.cx + ix];
    auto channel = [&](BYTE RGBX::*member) {
        double const sum = r.*member * fx + p.*member * (1 - fx) + p.*member * (1 - fy) + b.*member * fy;
        return static_cast<BYTE>(0.5 * sum);
    };
    return RGBX(channel(&RGBX::btRed), channel(&RGBX::btGreen), channel(&RGBX::btBlue));
}

BOOL CImageGrayer::ProcessPixels(RGBX *src, CSize srcSize, RGBX *dest, CSize)
{
    std::size_t const count = PixelCount(srcSize);
    for (std::size_t i = 0; i < count; ++i)
        dest[i] = IsBkColor(&src[i]) ? src[i] : src[i].GraySpecial();
    return 1;
}

BOOL CImageHigh::ProcessPixels(RGBX *src, CSize srcSize, RGBX *dest, CSize)
{
    std::size_t const count = PixelCount(srcSize);
    for (std::size_t i = 0; i < count; ++i) {
        if (IsBkColor(&src[i]))
            dest[i] = src[i];
        else
            ShiftLuminance(src[i], dest[i], change_);
    }
    return 1;
}
