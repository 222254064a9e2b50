// Image scalers: function objects that resample a rectangle of one image into
// the whole of another. The resampling lives in libkolt.
//
// Every scaler is called as scaler(dest, src, x, y, width, height):
//  - x, y, width, height: the rectangle of src to resample (its top-left
//    pixel and its size); it must lie inside src and width and height must
//    be at least 1;
//  - dest keeps the size it has (set it with SetSize first; at least 1 x 1)
//    and every one of its pixels is written.
// The result is false, and dest untouched, when the rectangle or dest's size
// is unusable. Pixel centres map onto each other (the rectangle's edges meet
// dest's edges), samples past the rectangle's edge repeat its edge pixels,
// and the four channels are filtered alike (alpha is not premultiplied).
// When dest is smaller than the rectangle the filter widens by the
// reduction factor, so every source pixel contributes (no aliasing).
#pragma once

#include <tessiv/imaging/pixel_image.h>

namespace kolt {

// Base of the four scalers. Holds no state; copies copy nothing. No virtual
// destructor, like the rest of this family.
class ImageScaler {
public:
    ImageScaler() = default;
    ImageScaler(ImageScaler const &) {}
    ImageScaler &operator=(ImageScaler const &) { return *this; }

    virtual bool operator()(PixelImage &dest, PixelImage const &src, int x, int y, int width,
                            int height) = 0;

protected:
    ~ImageScaler() = default;
};

// Nearest neighbour: each dest pixel copies the source pixel whose area
// holds the dest pixel's centre.
class NormalScaleFunction : public ImageScaler {
public:
    bool operator()(PixelImage &dest, PixelImage const &src, int x, int y, int width,
                    int height) override;
};

// Bilinear (triangle filter of radius 1, widened when reducing); results
// are rounded to the nearest byte.
class BiLinearScaleFunction : public ImageScaler {
public:
    bool operator()(PixelImage &dest, PixelImage const &src, int x, int y, int width,
                    int height) override;
};

// Bicubic convolution with the Keys kernel, a = -0.5 (radius 2, widened when
// reducing); overshoot is clamped to [0, 255] after rounding.
class BiCubicScaleFunction : public ImageScaler {
public:
    bool operator()(PixelImage &dest, PixelImage const &src, int x, int y, int width,
                    int height) override;
};

// Cubic B-spline filter (radius 2, widened when reducing): smoother than the
// bicubic one, never overshoots, and blurs slightly even at scale 1.
class BiCubicSplineScaleFunction : public ImageScaler {
public:
    bool operator()(PixelImage &dest, PixelImage const &src, int x, int y, int width,
                    int height) override;
};

}  // namespace kolt
