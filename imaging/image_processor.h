// The 32-bit pixel processors that derive the gray, disabled and inactive
// variants of tool-bar images: the base C32BitImageProcessor with its
// background (mask) colour rule and its interpolating sampler, CImageGrayer
// and CImageHigh. Hosts may chain them themselves: each reads a top-down
// buffer of cx × cy RGBX pixels (pixel (x, y) at y × cx + x) and writes a
// distinct buffer of the size CalcDestSize gives.
#pragma once

#include <tessiv/imaging/rgbx.h>
#include <tessiv/platform/library_version.h>
#include <tessiv/platform/windef.h>

// Base of every processor: holds an optional background colour whose pixels
// processors pass through unchanged. Its own ProcessPixels is a plain copy.
class TESSIV_EXPORT C32BitImageProcessor {
public:
    // The flag is kept and copied but read by no processor of the library.
    C32BitImageProcessor(int flag = 0) : flag_(flag) {}
    C32BitImageProcessor(C32BitImageProcessor const &) = default;
    C32BitImageProcessor &operator=(C32BitImageProcessor const &) = default;

    // Virtual slots in this order: destructor, CalcDestSize, ProcessPixels.
    virtual ~C32BitImageProcessor();
    // The output size for an input of the given size; here unchanged.
    virtual CSize CalcDestSize(CSize size);
    // Writes dest from src and returns nonzero on success; a processor that
    // returns 0 stops a chain. The base copies destSize.cx × destSize.cy
    // pixels and returns 1.
    virtual BOOL ProcessPixels(RGBX *src, CSize srcSize, RGBX *dest, CSize destSize);

    // Arguments red, green, blue; from now on such pixels pass unchanged.
    void SetBkColor(int red, int green, int blue);

    // Samples pixels (size.cx × size.cy) at real coordinates: the mean of a
    // horizontal and a vertical linear interpolation, deliberately not a
    // bilinear one (the diagonal neighbour is never read). Negative
    // coordinates return the pixel at the clamped position unchanged;
    // coordinates beyond the image are the caller's to avoid.
    RGBX CalcWeightedColor(RGBX *pixels, CSize size, double x, double y);

protected:
    // Nonzero when a background is set and the pixel's red, green and blue
    // equal it.
    BOOL IsBkColor(RGBX *pixel) const
    {
        return bk_set_ && pixel->btRed == bk_red_ && pixel->btGreen == bk_green_ &&
               pixel->btBlue == bk_blue_;
    }

    int flag_;
    int bk_set_ = 0;
    // Meaningful only while bk_set_ is nonzero.
    int bk_red_ = 0;
    int bk_green_ = 0;
    int bk_blue_ = 0;
};

// Turns every non-background pixel into a gray that washes levels above
// 150 out to white (RGBX::GraySpecial), with reserved byte 0.
class TESSIV_EXPORT CImageGrayer : public C32BitImageProcessor {
public:
    CImageGrayer() = default;
    CImageGrayer(CImageGrayer const &) = default;
    CImageGrayer &operator=(CImageGrayer const &) = default;

    BOOL ProcessPixels(RGBX *src, CSize srcSize, RGBX *dest, CSize destSize) override;
};

// Shifts the HLS luminance of every non-background pixel by a signed
// amount, clamped to [0, 1] and keeping hue and saturation; pixels already
// at the limit in the direction of the change, and every pixel when the
// change is 0, keep their red, green and blue exactly. The reserved byte of
// a processed destination pixel is left as the destination held it.
class TESSIV_EXPORT CImageHigh : public C32BitImageProcessor {
public:
    CImageHigh(float change = 0.1f) : change_(change) {}
    CImageHigh(CImageHigh const &) = default;
    CImageHigh &operator=(CImageHigh const &) = default;

    BOOL ProcessPixels(RGBX *src, CSize srcSize, RGBX *dest, CSize destSize) override;

protected:
    float change_;
};
