#include <tessiv/imaging/image_io.h>
#include <tessiv/siblings/kolt/image_codec.h>

#include <gtest/gtest.h>

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <jpeglib.h>

namespace {

using kolt::ColorI;
using kolt::PixelImage;
using Bytes = std::vector<unsigned char>;

enum class Format { Bmp24, Bmp32, Tga24, Tga32, Ppm, Png, PngInterlaced, Jpg };

char const *Name(Format format)
{
    switch (format) {
    case Format::Bmp24: return "BMP 24";
    case Format::Bmp32: return "BMP 32";
    case Format::Tga24: return "TGA 24";
    case Format::Tga32: return "TGA 32";
    case Format::Ppm: return "PPM";
    case Format::Png: return "PNG";
    case Format::PngInterlaced: return "PNG interlaced";
    case Format::Jpg: return "JPEG";
    }
    return "?";
}

bool KeepsAlpha(Format format)
{
    return format == Format::Bmp32 || format == Format::Tga32 || format == Format::Png ||
           format == Format::PngInterlaced;
}

Bytes Encode(Format format, PixelImage const &image, bool *ok = nullptr)
{
    kolt::codec::MemoryWriter writer;
    bool written = false;
    switch (format) {
    case Format::Bmp24: written = kolt::codec::EncodeBmp(image, writer, 24, false); break;
    case Format::Bmp32: written = kolt::codec::EncodeBmp(image, writer, 32, true); break;
    case Format::Tga24: written = kolt::codec::EncodeTga(image, writer, 24); break;
    case Format::Tga32: written = kolt::codec::EncodeTga(image, writer, 32); break;
    case Format::Ppm: written = kolt::codec::EncodePpm(image, writer); break;
    case Format::Png: written = kolt::codec::EncodePng(image, writer, false); break;
    case Format::PngInterlaced: written = kolt::codec::EncodePng(image, writer, true); break;
    case Format::Jpg: written = kolt::codec::EncodeJpg(image, writer, 95, 95); break;
    }
    if (ok != nullptr)
        *ok = written;
    else
        EXPECT_TRUE(written) << Name(format);
    return writer.bytes;
}

bool Decode(Format format, Bytes const &bytes, PixelImage &image, bool bmp_opaque = false)
{
    kolt::codec::MemoryReader reader(bytes.data(), bytes.size());
    try {
        switch (format) {
        case Format::Bmp24:
        case Format::Bmp32: kolt::codec::DecodeBmp(reader, image, bmp_opaque); break;
        case Format::Tga24:
        case Format::Tga32: kolt::codec::DecodeTga(reader, image); break;
        case Format::Ppm: kolt::codec::DecodePpm(reader, image); break;
        case Format::Png:
        case Format::PngInterlaced: kolt::codec::DecodePng(reader, image); break;
        case Format::Jpg: kolt::codec::DecodeJpg(reader, image); break;
        }
    } catch (kolt::codec::DecodeError const &) {
        return false;
    }
    return true;
}

// A pattern with every channel varying, alpha included (never all 0).
PixelImage Pattern(unsigned int w, unsigned int h)
{
    PixelImage image;
    image.SetSize(w, h);
    for (unsigned int y = 0; y < h; ++y)
        for (unsigned int x = 0; x < w; ++x)
            image(x, y) = ColorI(static_cast<unsigned char>(37 * x + 11 * y), static_cast<unsigned char>(91 * y + 3 * x),
                                 static_cast<unsigned char>(x * y + 200), static_cast<unsigned char>(255 - 17 * x - 5 * y));
    return image;
}

// A smooth image for the lossy codec.
PixelImage Smooth(unsigned int w, unsigned int h)
{
    PixelImage image;
    image.SetSize(w, h);
    for (unsigned int y = 0; y < h; ++y)
        for (unsigned int x = 0; x < w; ++x)
            image(x, y) = ColorI(static_cast<unsigned char>(60 + 2 * x), static_cast<unsigned char>(100 + y),
                                 static_cast<unsigned char>(150), 255);
    return image;
}

TEST(ImageCodecs, LosslessRoundTripsKeepEveryPixel)
{
    Format const formats[] = {Format::Bmp24, Format::Bmp32, Format::Tga24, Format::Tga32,
                              Format::Ppm,   Format::Png,   Format::PngInterlaced};
    struct Size {
        unsigned int w, h;
    } const sizes[] = {{1, 1}, {3, 2}, {5, 7}, {2, 9}, {17, 3}};
    for (Format format : formats) {
        for (Size size : sizes) {
            PixelImage const original = Pattern(size.w, size.h);
            PixelImage read;
            ASSERT_TRUE(Decode(format, Encode(format, original), read)) << Name(format) << " " << size.w << "x" << size.h;
            ASSERT_EQ(read.Width(), size.w) << Name(format);
            ASSERT_EQ(read.Height(), size.h) << Name(format);
            for (unsigned int y = 0; y < size.h; ++y) {
                for (unsigned int x = 0; x < size.w; ++x) {
                    ColorI expected = original(x, y);
                    if (!KeepsAlpha(format))
                        expected[3] = 255;
                    ASSERT_EQ(static_cast<unsigned long>(read(x, y)), static_cast<unsigned long>(expected))
                        << Name(format) << " " << size.w << "x" << size.h << " at " << x << "," << y;
                }
            }
        }
    }
}

TEST(ImageCodecs, JpegRoundTripStaysClose)
{
    struct Size {
        unsigned int w, h;
    } const sizes[] = {{1, 1}, {3, 2}, {17, 9}, {40, 33}};
    for (Size size : sizes) {
        PixelImage const original = Smooth(size.w, size.h);
        PixelImage read;
        ASSERT_TRUE(Decode(Format::Jpg, Encode(Format::Jpg, original), read));
        ASSERT_EQ(read.Width(), size.w);
        ASSERT_EQ(read.Height(), size.h);
        for (unsigned int y = 0; y < size.h; ++y)
            for (unsigned int x = 0; x < size.w; ++x)
                for (int c = 0; c < 3; ++c)
                    ASSERT_NEAR(read(x, y)[c], original(x, y)[c], 6) << size.w << "x" << size.h << " at " << x << "," << y;
        EXPECT_EQ(read(0, 0)[3], 255);
    }
}

TEST(ImageCodecs, EncodersRefuseImagesWithoutPixels)
{
    PixelImage empty;
    for (Format format : {Format::Bmp24, Format::Tga32, Format::Ppm, Format::Png, Format::Jpg}) {
        bool ok = true;
        Bytes const bytes = Encode(format, empty, &ok);
        EXPECT_FALSE(ok) << Name(format);
        EXPECT_TRUE(bytes.empty()) << Name(format);
    }
}

}  // namespace
