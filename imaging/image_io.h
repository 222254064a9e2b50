// Image-file wrappers: each binds a PixelImage to one file format and reads
// it from a kolt::CStreamI or writes it to a kolt::CStreamO. The codecs live
// in libkolt.
//
// Every Read fills the bound image (size and pixels, row 0 at the top,
// whatever the file's row order; images without alpha read as opaque) and
// returns true, or returns false and leaves the image as it was when the
// file is truncated, malformed, wider or taller than 32768 pixels, or
// claims more pixels than its data can hold. Every Write returns false,
// writing nothing, for an image without pixels. A failing stream (its
// kolt::IOException: a read past the end of a stream of unknown size, a
// full disk) makes Read or Write return false as well; no exception leaves
// a wrapper. A failed Write may have written part of the file.
#pragma once

#include <tessiv/imaging/pixel_image.h>

namespace kolt {

class CStreamI;
class CStreamO;

// Base of the file wrappers: holds the image it reads into and writes from,
// without owning it. Copying binds the copy to the same image; assignment
// never rebinds (it copies nothing here, the parameters in the wrappers).
// No virtual destructor, like the rest of this family.
class ImageIO {
public:
    ImageIO(ImageIO const &other) : image(other.image) {}
    ImageIO &operator=(ImageIO const &) { return *this; }

    virtual bool Read(CStreamI &stream) = 0;
    virtual bool Write(CStreamO &stream) = 0;

protected:
    explicit ImageIO(PixelImage &bound) : image(bound) {}
    ~ImageIO() = default;

    PixelImage &image;
};

// Windows bitmaps. Reads 1-, 4- and 8-bit palette images, 16-, 24- and
// 32-bit images, uncompressed, with bit fields or RLE4/RLE8 compressed,
// bottom-up or top-down.
//  - bits_per_pixel: what Write stores: 32 keeps alpha, anything else writes
//    24-bit pixels;
//  - top_down: Write stores the rows top row first (a negative height)
//    instead of the usual bottom row first;
//  - opaque: Read makes every pixel opaque, ignoring any alpha in the file.
//    Without it, 32-bit and bit-field files keep their alpha, except that a
//    file whose alpha is 0 everywhere reads as opaque (most writers leave
//    the fourth byte 0).
// RLE escapes may skip pixels without data, but a file whose codes skip more
// than 4096 pixels per byte of the file is refused. 32-bit files are written
// with a version 4 header and an alpha mask.
// The texture loader reads 24-bit bitmaps as BMPImage(image, 24, false, true).
class BMPImage : public ImageIO {
public:
    BMPImage(PixelImage &bound, int bits_per_pixel, bool top_down, bool opaque)
        : ImageIO(bound), bits_per_pixel_(bits_per_pixel), top_down_(top_down), opaque_(opaque)
    {
    }
    BMPImage(BMPImage const &other) = default;
    BMPImage &operator=(BMPImage const &other)
    {
        bits_per_pixel_ = other.bits_per_pixel_;
        top_down_ = other.top_down_;
        opaque_ = other.opaque_;
        return *this;
    }

    bool Read(CStreamI &stream) override;
    bool Write(CStreamO &stream) override;

private:
    int bits_per_pixel_;
    bool top_down_;
    bool opaque_;
};

// JPEG (baseline and progressive; grayscale, colour and CMYK read). Write
// stores a baseline colour file with 2 x 2 chroma subsampling, the luminance
// table scaled to luma_quality and the chrominance table to chroma_quality
// (each 1 to 100; values outside are clamped). Read refuses a file of more
// than 256 scans, and, from a stream that knows its size, one that claims
// more than 1024 pixels per byte of the stream; it reads ahead in blocks of
// up to 64 KiB, so bytes behind the image in the same stream may be
// consumed (from a stream of unknown size it reads byte by byte instead).
class JPGImage : public ImageIO {
public:
    JPGImage(PixelImage &bound, int luma_quality, int chroma_quality)
        : ImageIO(bound), luma_quality_(luma_quality), chroma_quality_(chroma_quality)
    {
    }
    JPGImage(JPGImage const &other) = default;
    JPGImage &operator=(JPGImage const &other)
    {
        luma_quality_ = other.luma_quality_;
        chroma_quality_ = other.chroma_quality_;
        return *this;
    }

    bool Read(CStreamI &stream) override;
    bool Write(CStreamO &stream) override;

private:
    int luma_quality_;
    int chroma_quality_;
};

// PNG: every colour type and bit depth reads into 8-bit RGBA (16-bit
// samples are scaled, transparency chunks become alpha). Write stores 8-bit
// RGBA; interlaced: Write stores the rows Adam7-interlaced.
class PNGImage : public ImageIO {
public:
    PNGImage(PixelImage &bound, bool interlaced) : ImageIO(bound), interlaced_(interlaced) {}
    PNGImage(PNGImage const &other) = default;
    PNGImage &operator=(PNGImage const &other)
    {
        interlaced_ = other.interlaced_;
        return *this;
    }

    bool Read(CStreamI &stream) override;
    bool Write(CStreamO &stream) override;

private:
    bool interlaced_;
};

// Portable any-maps: reads pixmaps (P3 text, P6 binary), graymaps (P2, P5)
// and bitmaps (P1, P4; 1 is black) with any maximum value up to 65535
// (samples are scaled to 0-255, 16-bit samples are big-endian); writes P6
// with maximum 255. Alpha is not stored.
class PPMImage : public ImageIO {
public:
    explicit PPMImage(PixelImage &bound) : ImageIO(bound) {}
    PPMImage(PPMImage const &other) = default;
    PPMImage &operator=(PPMImage const &) { return *this; }

    bool Read(CStreamI &stream) override;
    bool Write(CStreamO &stream) override;
};

// Targa: reads uncompressed and RLE images with either origin (bottom-left
// or top-left): true colour of 15, 16, 24 or 32 bits, gray of 8 bits or 8
// bits with 8 of alpha, and 8- or 16-bit indices into a colour map of 15-,
// 16-, 24- or 32-bit entries (an index outside the map is refused). A
// 16-bit colour's top bit is alpha when the descriptor gives alpha bits;
// alpha that is 0 everywhere reads as opaque. Write stores an uncompressed
// image with the origin at the top left; bits_per_pixel 32 keeps alpha,
// anything else writes 24-bit pixels.
class TGAImage : public ImageIO {
public:
    TGAImage(PixelImage &bound, int bits_per_pixel) : ImageIO(bound), bits_per_pixel_(bits_per_pixel) {}
    TGAImage(TGAImage const &other) = default;
    TGAImage &operator=(TGAImage const &other)
    {
        bits_per_pixel_ = other.bits_per_pixel_;
        return *this;
    }

    bool Read(CStreamI &stream) override;
    bool Write(CStreamO &stream) override;

private:
    int bits_per_pixel_;
};

}  // namespace kolt
