// The pixel loops of the processors and the interpolating sampler.
#include <tessiv/imaging/image_processor.h>

#include <algorithm>
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
    // Left of or above the image: the pixel at the clamped position, all four
    // bytes. Every negative coordinate truncates to at most 0, so it clamps to 0.
    if (x < 0 || y < 0) {
        int const column = x < 0 ? 0 : static_cast<int>(x);
        int const row = y < 0 ? 0 : static_cast<int>(y);
        TESSIV_ASSERT_BOUNDS(column < size.cx && row < size.cy);
        return pixels[static_cast<std::size_t>(row) * size.cx + column];
    }
    TESSIV_ASSERT_BOUNDS(x < size.cx && y < size.cy);
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
    CColor colour;
    for (std::size_t i = 0; i < count; ++i) {
        if (IsBkColor(&src[i])) {
            dest[i] = src[i];
            continue;
        }
        colour.SetRGB(src[i].btRed, src[i].btGreen, src[i].btBlue);
        float const luminance = colour.GetLuminance();
        // The sum is formed in double and clamped before it becomes a float.
        if (change_ > 0 && luminance < 1) {
            double const raised = double(change_) + luminance;
            colour.SetLuminance(raised > 1 ? 1.0f : static_cast<float>(raised));
        } else if (change_ < 0 && luminance > 0) {
            double const lowered = double(change_) + luminance;
            colour.SetLuminance(lowered < 0 ? 0.0f : static_cast<float>(lowered));
        }
        dest[i].btRed = static_cast<BYTE>(colour.GetRed());
        dest[i].btBlue = static_cast<BYTE>(colour.GetBlue());
        dest[i].btGreen = static_cast<BYTE>(colour.GetGreen());
    }
    return 1;
}
