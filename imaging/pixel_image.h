// kolt::PixelImage, the RGBA raster that texture records own, the rendering
// context uploads and the file codecs read and write.
#pragma once

#include <tessiv/core/checked.h>
#include <tessiv/core/cvector.h>
#include <tessiv/imaging/color.h>

namespace kolt {

// A two-dimensional image of ColorI pixels, rows top to bottom, each row
// directly behind the one before: pixel (x, y) is element y * width + x.
// Owns its pixel array; copies are deep. Accessors do not check coordinates.
// The constructor, destructor and SetSize live in libkolt.
class PixelImage {
public:
    PixelImage();
    ~PixelImage();
    PixelImage(PixelImage const &other)
        : dpi_x_(other.dpi_x_), dpi_y_(other.dpi_y_), pixels_(other.pixels_),
          width_(other.width_), height_(other.height_)
    {
    }
    PixelImage &operator=(PixelImage const &other)
    {
        dpi_x_ = other.dpi_x_;
        dpi_y_ = other.dpi_y_;
        pixels_ = other.pixels_;
        width_ = other.width_;
        height_ = other.height_;
        return *this;
    }

    // Afterwards the image holds w * h pixels of unspecified content (callers
    // write every pixel). Throws std::bad_alloc past 4 GiB of pixels.
    void SetSize(unsigned int w, unsigned int h);

    unsigned int Width() const { return width_; }
    unsigned int Height() const { return height_; }

    ColorI *GetBuffer() { return pixels_.begin(); }
    ColorI const *GetBuffer() const { return pixels_.begin(); }
    // Just past the last element of the pixel array (its element count, which
    // SetSize makes width * height).
    ColorI const *GetBufferEnd() const { return pixels_.end(); }

    ColorI &operator()(unsigned int x, unsigned int y)
    {
        TESSIV_ASSERT_BOUNDS(x < width_ && y < height_);
        return pixels_.begin()[static_cast<std::size_t>(y) * width_ + x];
    }
    ColorI const &operator()(unsigned int x, unsigned int y) const
    {
        TESSIV_ASSERT_BOUNDS(x < width_ && y < height_);
        return pixels_.begin()[static_cast<std::size_t>(y) * width_ + x];
    }

    void Fill(ColorI const &color)
    {
        for (ColorI &pixel : pixels_)
            pixel = color;
    }

    // True when an edge neighbour (left, right, above, below; each only when
    // it exists) is black. The pixel itself and the diagonals do not count.
    bool IsAroundExistBlack(unsigned int x, unsigned int y) const
    {
        return IsAroundExist(x, y, &ColorI::IsBlack);
    }
    bool IsAroundExistWhite(unsigned int x, unsigned int y) const
    {
        return IsAroundExist(x, y, &ColorI::IsWhite);
    }
    bool IsAroundExistTrans(unsigned int x, unsigned int y) const
    {
        return IsAroundExist(x, y, &ColorI::IsTrans);
    }

    // Bilinear sample at a real pixel position (pixel centres at whole
    // numbers). Requires 0 <= x < width and 0 <= y < height. Each of the four
    // weighted terms is truncated on its own and the bytes add modulo 256, so
    // the sample can lie up to three units below the exact interpolation;
    // in the last column or row the fraction in that direction is ignored.
    ColorI GetBestColor(double x, double y) const
    {
        unsigned int const ix = static_cast<unsigned int>(x);
        unsigned int const iy = static_cast<unsigned int>(y);
        bool const has_right = ix < width_ - 1;
        bool const has_below = iy < height_ - 1;
        double const dx = has_right ? x - ix : 0;
        double const dy = has_below ? y - iy : 0;
        ColorI const &p = (*this)(ix, iy);
        ColorI const &pr = has_right ? (*this)(ix + 1, iy) : p;
        ColorI const &q = has_below ? (*this)(ix, iy + 1) : p;
        ColorI const &qr = has_right ? (has_below ? (*this)(ix + 1, iy + 1) : pr) : q;
        double const w00 = (1 - dy) * (1 - dx);
        double const w10 = (1 - dy) * dx;
        double const w01 = (1 - dx) * dy;
        double const w11 = dy * dx;
        ColorI result;
        for (int channel = 0; channel < 4; ++channel) {
            unsigned int sum = static_cast<unsigned int>(p[channel] * w00);
            sum += static_cast<unsigned int>(pr[channel] * w10);
            sum += static_cast<unsigned int>(q[channel] * w01);
            sum += static_cast<unsigned int>(qr[channel] * w11);
            result[channel] = static_cast<unsigned char>(sum);
        }
        return result;
    }

private:
    bool IsAroundExist(unsigned int x, unsigned int y, bool (ColorI::*test)() const) const
    {
        if (x > 0 && ((*this)(x - 1, y).*test)())
            return true;
        if (x < width_ - 1 && ((*this)(x + 1, y).*test)())
            return true;
        if (y > 0 && ((*this)(x, y - 1).*test)())
            return true;
        return y < height_ - 1 && ((*this)(x, y + 1).*test)();
    }

    // Horizontal and vertical resolution in dots per inch (72 when made).
    // Only carried along by copies; no codec reads or writes them.
    double dpi_x_;
    double dpi_y_;
    cvector<ColorI> pixels_;
    unsigned int width_;
    unsigned int height_;
};

}  // namespace kolt
