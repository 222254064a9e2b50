#include <tessiv/imaging/image_io.h>
#include <tessiv/scene/stream_file.h>
#include <tessiv/scene/stream_mem.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include <jpeglib.h>
#include <zlib.h>

namespace {

using kolt::ColorI;
using kolt::PixelImage;
using Bytes = std::vector<unsigned char>;

enum class Format { Bmp24, Bmp32, Tga24, Tga32, Ppm, Png, PngInterlaced, Jpg };
Format const kFormats[] = {Format::Bmp24, Format::Bmp32, Format::Tga24,         Format::Tga32,
                           Format::Ppm,   Format::Png,   Format::PngInterlaced, Format::Jpg};

char const *Name(Format format)
{
    char const *const names[] = {"BMP 24", "BMP 32", "TGA 24", "TGA 32", "PPM", "PNG", "PNG interlaced", "JPEG"};
    return names[static_cast<int>(format)];
}

bool KeepsAlpha(Format format)
{
    return format == Format::Bmp32 || format == Format::Tga32 || format == Format::Png ||
           format == Format::PngInterlaced;
}

// Runs `op` on the format's wrapper bound to `image`; the parameters only
// matter to Write, except the bitmap's opaque flag.
template <class Op>
bool Use(Format format, PixelImage &image, Op op, bool bmp_opaque = false)
{
    switch (format) {
    case Format::Bmp24: return op(kolt::BMPImage(image, 24, false, bmp_opaque));
    case Format::Bmp32: return op(kolt::BMPImage(image, 32, true, bmp_opaque));
    case Format::Tga24: return op(kolt::TGAImage(image, 24));
    case Format::Tga32: return op(kolt::TGAImage(image, 32));
    case Format::Ppm: return op(kolt::PPMImage(image));
    case Format::Png: return op(kolt::PNGImage(image, false));
    case Format::PngInterlaced: return op(kolt::PNGImage(image, true));
    case Format::Jpg: return op(kolt::JPGImage(image, 95, 95));
    }
    return false;
}

bool Write(Format format, PixelImage &image, kolt::CStreamO &stream)
{
    return Use(format, image, [&](kolt::ImageIO &&io) { return io.Write(stream); });
}

Bytes Encode(Format format, PixelImage image, bool expect_written = true)
{
    kolt::CStreamMem stream;
    EXPECT_EQ(Write(format, image, stream), expect_written) << Name(format);
    return Bytes(stream.get_data().begin(), stream.get_data().end());
}

bool Read(Format format, kolt::CStreamI &stream, PixelImage &image, bool bmp_opaque = false)
{
    return Use(format, image, [&](kolt::ImageIO &&io) { return io.Read(stream); }, bmp_opaque);
}

bool Decode(Format format, Bytes const &bytes, PixelImage &image, bool bmp_opaque = false)
{
    kolt::CStreamMem stream;
    stream.set_data(bytes.data(), static_cast<unsigned int>(bytes.size()));
    return Read(format, stream, image, bmp_opaque);
}

PixelImage MustDecode(Format format, Bytes const &bytes, bool bmp_opaque = false)
{
    PixelImage image;
    EXPECT_TRUE(Decode(format, bytes, image, bmp_opaque)) << Name(format);
    return image;
}

unsigned long Argb(unsigned int a, unsigned int r, unsigned int g, unsigned int b)
{
    return static_cast<unsigned long>(a) << 24 | r << 16 | g << 8 | b;
}

// An image whose pixel (x, y) is colour(x, y).
template <class Colour>
PixelImage Draw(unsigned int w, unsigned int h, Colour colour)
{
    PixelImage image;
    image.SetSize(w, h);
    for (unsigned int y = 0; y < h; ++y)
        for (unsigned int x = 0; x < w; ++x)
            image(x, y) = ColorI(colour(x, y));
    return image;
}

// A pattern with every channel varying, alpha included (never all 0).
PixelImage Pattern(unsigned int w, unsigned int h)
{
    return Draw(w, h, [](auto x, auto y) {
        return ColorI(static_cast<unsigned char>(37 * x + 11 * y), static_cast<unsigned char>(91 * y + 3 * x),
                      static_cast<unsigned char>(x * y + 200), static_cast<unsigned char>(255 - 17 * x - 5 * y));
    });
}

// Expects `read` to hold the pixels of `original`, each channel within
// `tolerance`, opaque unless `alpha`.
void ExpectSame(PixelImage const &read, PixelImage const &original, bool alpha, std::string const &what,
                int tolerance = 0)
{
    ASSERT_EQ(read.Width(), original.Width()) << what;
    ASSERT_EQ(read.Height(), original.Height()) << what;
    for (unsigned int y = 0; y < original.Height(); ++y) {
        for (unsigned int x = 0; x < original.Width(); ++x) {
            ColorI expected = original(x, y);
            if (!alpha)
                expected[3] = 255;
            for (int c = 0; c < 4; ++c)
                ASSERT_NEAR(read(x, y)[c], expected[c], tolerance) << what << " at " << x << "," << y << ", " << c;
        }
    }
}

// Expects a w x h image holding `pixels` (0xAARRGGBB), row by row from the top.
void ExpectPixels(PixelImage const &image, unsigned int w, unsigned int h, std::vector<unsigned long> const &pixels,
                  char const *what)
{
    ExpectSame(image, Draw(w, h, [&](unsigned int x, unsigned int y) { return pixels.at(y * w + x); }), true, what);
}

// A refused file leaves both an image with pixels and one without as they were.
void ExpectRefused(Format format, Bytes const &bytes, std::string const &what)
{
    PixelImage image = Pattern(2, 2);
    EXPECT_FALSE(Decode(format, bytes, image)) << Name(format) << ": " << what;
    EXPECT_EQ(image.Width(), 2u) << what;
    EXPECT_EQ(static_cast<unsigned long>(image(1, 1)), static_cast<unsigned long>(Pattern(2, 2)(1, 1))) << what;
    PixelImage empty;
    EXPECT_FALSE(Decode(format, bytes, empty)) << Name(format) << ": " << what;
    EXPECT_TRUE(empty.Width() == 0 && empty.Height() == 0 && empty.GetBufferEnd() == empty.GetBuffer()) << what;
}

// Lossless codecs keep every pixel; JPEG stays close on a smooth image.
TEST(ImageCodecs, RoundTripsOfOddSizesKeepThePixelsAndImagesWithoutPixelsAreNotWritten)
{
    for (Format format : kFormats) {
        EXPECT_TRUE(Encode(format, PixelImage(), false).empty()) << Name(format);
        for (auto [w, h] : {std::pair(1u, 1u), {3u, 2u}, {5u, 7u}, {2u, 9u}, {17u, 3u}, {40u, 33u}}) {
            PixelImage const original = format != Format::Jpg ? Pattern(w, h) : Draw(w, h, [](auto x, auto y) {
                return Argb(255, 60 + 2 * x, 100 + y, 150);
            });
            PixelImage read;
            std::string const what = std::string(Name(format)) + " " + std::to_string(w) + "x" + std::to_string(h);
            ASSERT_TRUE(Decode(format, Encode(format, original), read)) << what;
            ExpectSame(read, original, KeepsAlpha(format), what, format == Format::Jpg ? 6 : 0);
        }
    }
}

// Little-endian byte building for hand-made files.
struct Builder {
    Bytes bytes;
    Builder &Raw(std::initializer_list<unsigned int> values)
    {
        for (unsigned int v : values)
            bytes.push_back(static_cast<unsigned char>(v));
        return *this;
    }
    Builder &U16(unsigned int v) { return Raw({v & 0xFF, v >> 8}); }
    Builder &U32(std::uint32_t v) { return U16(v & 0xFFFF).U16(v >> 16); }
    Builder &Text(std::string const &text)
    {
        bytes.insert(bytes.end(), text.begin(), text.end());
        return *this;
    }
};

// File header and the first 40 bytes of the info header; data_offset is
// patched by StartPixels.
Builder BmpHeader(std::int32_t width, std::int32_t height, unsigned int bits, unsigned int compression,
                  unsigned int colours_used, std::uint32_t info_size = 40)
{
    Builder b;
    b.Text("BM").U32(0).U32(0).U32(0);
    b.U32(info_size).U32(static_cast<std::uint32_t>(width)).U32(static_cast<std::uint32_t>(height)).U16(1).U16(bits);
    b.U32(compression).U32(0).U32(2835).U32(2835).U32(colours_used).U32(0);
    return b;
}

// Marks the current end as the start of the pixels.
Builder &StartPixels(Builder &b)
{
    auto const offset = static_cast<std::uint32_t>(b.bytes.size());
    for (int i = 0; i < 4; ++i)
        b.bytes[10 + i] = static_cast<unsigned char>(offset >> (8 * i));
    return b;
}

// A bitmap with its palette (a full 256 entries stored as "0 colours used",
// as most writers do) and then the pixel bytes.
Bytes Bmp(std::int32_t width, std::int32_t height, unsigned int bits, unsigned int compression,
          std::vector<unsigned long> const &palette, std::initializer_list<unsigned int> pixels)
{
    Builder b = BmpHeader(width, height, bits, compression,
                          palette.size() == 256 ? 0 : static_cast<unsigned int>(palette.size()));
    for (unsigned long c : palette)
        b.U32(static_cast<std::uint32_t>(c & 0xFFFFFF));
    return StartPixels(b).Raw(pixels).bytes;
}

TEST(BmpRead, PaletteImagesOfOneFourAndEightBits)
{
    // Bottom row 1 0 1, top row 0 1 1.
    ExpectPixels(MustDecode(Format::Bmp24, Bmp(3, 2, 1, 0, {0xFF0000, 0x0000FF}, {0xA0, 0, 0, 0, 0x60, 0, 0, 0})), 3, 2,
                 {0xFFFF0000, 0xFF0000FF, 0xFF0000FF, 0xFF0000FF, 0xFFFF0000, 0xFF0000FF}, "1-bit");
    ExpectPixels(MustDecode(Format::Bmp24, Bmp(3, 1, 4, 0, {0x000000, 0x111111, 0x222222}, {0x21, 0x00, 0, 0})), 3, 1,
                 {0xFF222222, 0xFF111111, 0xFF000000}, "4-bit");
    std::vector<unsigned long> grays;
    for (unsigned long i = 0; i < 256; ++i)
        grays.push_back(i * 0x010101u);
    ExpectPixels(MustDecode(Format::Bmp24, Bmp(2, -2, 8, 0, grays, {7, 200, 0, 0, 255, 1, 0, 0})), 2, 2,
                 {0xFF070707, 0xFFC8C8C8, 0xFFFFFFFF, 0xFF010101}, "8-bit top-down");
}

TEST(BmpRead, RleRunsAbsoluteRunsAndEscapes)
{
    // Bottom row: run of 4 alternating 1, 2; top row: absolute 2 0 1, run of one 0.
    ExpectPixels(MustDecode(Format::Bmp24, Bmp(4, 2, 4, 2, {0x000000, 0x0000FF, 0x00FF00},
                                               {4, 0x12, 0, 0, 0, 3, 0x20, 0x10, 1, 0x00, 0, 1})),
                 4, 2, {0xFF00FF00, 0xFF000000, 0xFF0000FF, 0xFF000000, 0xFF0000FF, 0xFF00FF00, 0xFF0000FF, 0xFF00FF00},
                 "RLE4");
    // Bottom row: two 5s, then a delta one right and one up, a 6, end of
    // line, end of bitmap. Skipped pixels are opaque black.
    ExpectPixels(MustDecode(Format::Bmp24, Bmp(4, 3, 8, 1, {0, 0, 0, 0, 0, 0x050505, 0x060606},
                                               {2, 5, 0, 2, 1, 1, 1, 6, 0, 0, 0, 1})),
                 4, 3,
                 {0xFF000000, 0xFF000000, 0xFF000000, 0xFF000000, 0xFF000000, 0xFF000000, 0xFF000000, 0xFF060606,
                  0xFF050505, 0xFF050505, 0xFF000000, 0xFF000000},
                 "RLE8");
    // An absolute run of three, padded to even.
    ExpectPixels(MustDecode(Format::Bmp24, Bmp(3, 1, 8, 1, {0x010101, 0x020202}, {0, 3, 1, 0, 1, 0, 0, 1})), 3, 1,
                 {0xFF020202, 0xFF010101, 0xFF020202}, "RLE8 absolute");
}

TEST(BmpRead, SixteenAndThirtyTwoBitsWithAndWithoutBitFields)
{
    ExpectPixels(MustDecode(Format::Bmp24, Bmp(2, 1, 16, 0, {}, {0xFF, 0x7F, 0x00, 0x7C})), 2, 1,
                 {0xFFFFFFFF, 0xFFFF0000}, "16-bit 5-5-5");

    Builder rgb565 = BmpHeader(2, -1, 16, 3, 0);
    StartPixels(rgb565.U32(0xF800).U32(0x07E0).U32(0x001F)).U16(0x07E0).U16(0x8010);  // green; half red and half blue
    ExpectPixels(MustDecode(Format::Bmp24, rgb565.bytes), 2, 1, {0xFF00FF00, 0xFF840084}, "16-bit 5-6-5");

    // A 124-byte header with an alpha mask.
    Builder v5 = BmpHeader(1, 1, 32, 3, 0, 124);
    v5.U32(0x0000FF00).U32(0x00FF0000).U32(0xFF000000).U32(0x000000FF);
    v5.bytes.resize(14 + 124);
    StartPixels(v5).Raw({0x80, 0x30, 0x20, 0x10});  // alpha 0x80, red 0x30, green 0x20, blue 0x10
    ExpectPixels(MustDecode(Format::Bmp24, v5.bytes), 1, 1, {0x80302010}, "32-bit alpha mask");
    ExpectPixels(MustDecode(Format::Bmp24, v5.bytes, true), 1, 1, {0xFF302010}, "opaque flag");

    ExpectPixels(MustDecode(Format::Bmp24, Bmp(2, 1, 32, 0, {}, {1, 2, 3, 0, 4, 5, 6, 0})), 2, 1,
                 {0xFF030201, 0xFF060504}, "32-bit whose fourth byte is 0 everywhere reads as opaque");

    // The old 12-byte header: 16-bit sizes, 3-byte palette entries.
    Builder core;
    StartPixels(core.Text("BM").U32(0).U32(0).U32(0).U32(12).U16(2).U16(1).U16(1).U16(24))
        .Raw({1, 2, 3, 4, 5, 6, 0, 0});
    ExpectPixels(MustDecode(Format::Bmp24, core.bytes), 2, 1, {0xFF030201, 0xFF060504}, "12-byte header");
}

TEST(BmpRead, HostileFilesFailAndLeaveTheImage)
{
    Builder mask = BmpHeader(1, 1, 32, 3, 0);
    StartPixels(mask.U32(0x00FF00FF).U32(0xFF00).U32(0xFF)).U32(0);
    Bytes magic = Bmp(1, 1, 24, 0, {}, {0, 0, 0, 0});
    magic[0] = 'X';
    std::pair<char const *, Bytes> const files[] = {
        {"palette index past the palette", Bmp(2, 1, 8, 0, {0, 0}, {1, 5, 0, 0})},
        {"RLE run past the row", Bmp(2, 1, 8, 1, {0}, {3, 0, 0, 1})},
        {"RLE delta past the last row", Bmp(2, 2, 8, 1, {0}, {0, 2, 0, 2, 0, 1})},
        {"RLE end of bitmap at once in a huge image", Bmp(30000, 30000, 8, 1, {0}, {0, 1})},
        {"largest size with no data", Bmp(32768, 32768, 24, 0, {}, {1, 2, 3})},
        {"wider than 32768", Bmp(40000, 1, 24, 0, {}, {})},
        {"width 0", BmpHeader(0, 1, 24, 0, 0).bytes},
        {"7 bits per pixel", BmpHeader(1, 1, 7, 0, 0).bytes},
        {"mask with a gap", mask.bytes},
        {"wrong magic", magic},
    };
    for (auto const &[what, bytes] : files)
        ExpectRefused(Format::Bmp24, bytes, what);
}

// A Targa file: the first 12 header bytes, width, height, then the rest.
Bytes Tga(std::initializer_list<unsigned int> head, unsigned int w, unsigned int h,
          std::initializer_list<unsigned int> rest)
{
    return Builder().Raw(head).U16(w).U16(h).Raw(rest).bytes;
}

TEST(TgaRead, RleAcrossRowsAndBothOrigins)
{
    // Bottom row first: a run of four crosses into the top row, then two raw pixels.
    Bytes rle = Tga({0, 0, 10, 0, 0, 0, 0, 0, 0, 0, 0, 0}, 3, 2, {24, 0, 0x83, 3, 2, 1, 0x01, 6, 5, 4, 9, 8, 7});
    ExpectPixels(MustDecode(Format::Tga24, rle), 3, 2,
                 {0xFF010203, 0xFF040506, 0xFF070809, 0xFF010203, 0xFF010203, 0xFF010203}, "RLE bottom-left");
    // Top-left origin, right-to-left (the first pixel is the rightmost), after a 3-byte id.
    ExpectPixels(MustDecode(Format::Tga32, Tga({3, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0}, 2, 1,
                                               {32, 0x38, 'i', 'd', '!', 1, 2, 3, 4, 5, 6, 7, 8})),
                 2, 1, {0x08070605, 0x04030201}, "32-bit right-to-left");
    ExpectPixels(MustDecode(Format::Tga24, Tga({0, 0, 3, 0, 0, 0, 0, 0, 0, 0, 0, 0}, 2, 1, {8, 0x20, 9, 250})), 2, 1,
                 {0xFF090909, 0xFFFAFAFA}, "gray");

    rle.pop_back();
    ExpectRefused(Format::Tga24, rle, "raw packet cut short");
}

TEST(TgaRead, ColourMapsSixteenBitColourAndGrayWithAlpha)
{
    // Colour maps starting at entry 1, three entries in each entry size;
    // 2 x 2 top-left images of indices 1, 2 / 3, 1.
    struct Map {
        unsigned int bits;
        std::initializer_list<unsigned int> entries;
        std::vector<unsigned long> colours;  // entries 1, 2, 3
    } const maps[] = {
        {15, {0x1F, 0x00, 0xE0, 0x03, 0x00, 0x7C}, {0xFF0000FF, 0xFF00FF00, 0xFFFF0000}},
        {16, {0x1F, 0x80, 0xE0, 0x03, 0x00, 0xFC}, {0xFF0000FF, 0x0000FF00, 0xFFFF0000}},
        {24, {1, 2, 3, 4, 5, 6, 7, 8, 9}, {0xFF030201, 0xFF060504, 0xFF090807}},
        {32, {1, 2, 3, 0x80, 4, 5, 6, 0, 7, 8, 9, 0xFF}, {0x80030201, 0x00060504, 0xFF090807}},
    };
    for (Map const &map : maps) {
        std::string const what = std::to_string(map.bits) + "-bit map";
        unsigned int const descriptor = 0x20 | (map.bits == 16 || map.bits == 32 ? map.bits / 16 : 0);
        Bytes const raw = Builder()
                              .Raw({0, 1, 1, 1, 0, 3, 0, map.bits, 0, 0, 0, 0})
                              .U16(2).U16(2)
                              .Raw({8, descriptor})
                              .Raw(map.entries)
                              .Raw({1, 2, 3, 1})
                              .bytes;
        std::vector<unsigned long> const c = map.colours;
        ExpectPixels(MustDecode(Format::Tga32, raw), 2, 2, {c[0], c[1], c[2], c[0]}, what.c_str());
        // The same indices run-length coded: a raw packet of three, a run of one.
        Bytes rle = raw;
        rle[2] = 9;
        rle.resize(rle.size() - 4);
        rle.insert(rle.end(), {0x02, 1, 2, 3, 0x80, 1});
        ExpectPixels(MustDecode(Format::Tga32, rle), 2, 2, {c[0], c[1], c[2], c[0]}, (what + " RLE").c_str());
    }
    Bytes outside = Builder().Raw({0, 1, 1, 1, 0, 1, 0, 24, 0, 0, 0, 0}).U16(1).U16(1).Raw({8, 0x20, 1, 2, 3, 0}).bytes;
    ExpectRefused(Format::Tga24, outside, "index 0 below the first entry");
    ExpectRefused(Format::Tga24, Builder().Raw({0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0}).U16(1).U16(1).Raw({8, 0, 0}).bytes,
                  "colour-mapped image without a map");

    // 16-bit true colour: without alpha bits the top bit is ignored; with
    // one it is alpha, unless it is 0 everywhere.
    Bytes rgb16 = Tga({0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0}, 2, 1, {16, 0x20, 0x1F, 0x00, 0xFF, 0xFF});
    ExpectPixels(MustDecode(Format::Tga32, rgb16), 2, 1, {0xFF0000FF, 0xFFFFFFFF}, "16-bit, no alpha bits");
    rgb16[17] = 0x21;
    ExpectPixels(MustDecode(Format::Tga32, rgb16), 2, 1, {0x000000FF, 0xFFFFFFFF}, "16-bit with an alpha bit");
    rgb16[21] = 0x7F;
    ExpectPixels(MustDecode(Format::Tga32, rgb16), 2, 1, {0xFF0000FF, 0xFFFFFFFF}, "alpha bit 0 everywhere");
    ExpectPixels(MustDecode(Format::Tga32, Tga({0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0}, 1, 1, {15, 0x20, 0x10, 0x42})), 1, 1,
                 {0xFF848484}, "15-bit");
    // Gray with alpha, raw and RLE (a run of two).
    ExpectPixels(MustDecode(Format::Tga32, Tga({0, 0, 3, 0, 0, 0, 0, 0, 0, 0, 0, 0}, 2, 1, {16, 0x28, 9, 200, 250, 0})), 2,
                 1, {0xC8090909, 0x00FAFAFA}, "gray with alpha");
    ExpectPixels(MustDecode(Format::Tga32, Tga({0, 0, 11, 0, 0, 0, 0, 0, 0, 0, 0, 0}, 2, 1, {16, 0x28, 0x81, 9, 200})), 2,
                 1, {0xC8090909, 0xC8090909}, "RLE gray with alpha");
    ExpectRefused(Format::Tga24, Tga({0, 0, 3, 0, 0, 0, 0, 0, 0, 0, 0, 0}, 1, 1, {24, 0x20, 1, 2, 3}), "24-bit gray");
}

TEST(PpmRead, TextAndWideSamples)
{
    auto file = [](std::string const &text) { return Builder().Text(text).bytes; };
    ExpectPixels(MustDecode(Format::Ppm, file("P3\n# made by hand\n2 1\n15\n15 0 0  0 15 7\n")), 2, 1,
                 {0xFFFF0000, 0xFF00FF77}, "P3 maximum 15");
    ExpectPixels(MustDecode(Format::Ppm, file("P3 1 1 255 1 2#comment\n3")), 1, 1, {0xFF010203},
                 "P3 with a comment after a sample");
    ExpectPixels(MustDecode(Format::Ppm, Builder().Text("P6 1 1\n65535\n").Raw({0xFF, 0xFF, 0x80, 0, 0, 0}).bytes),
                 1, 1, {0xFFFF8000}, "P6 16-bit");
    for (char const *text : {"P7 1 1 255\n\1", "P6 1 1 0\n\1\1\1", "P6 40000 1 255\n", "P3 1 1 15 16 0 0",
                             "P3 1 1 255 1 x 3", "P6 1 1 255\n\1\1", "P6 99999999999 1 255\n", "P1 2 1 0 2",
                             "P4 9 1\n\1", "P5 2 1 65535\n\1\2\3", "P2 1 1 7 8"})
        ExpectRefused(Format::Ppm, file(text), text);
}

TEST(PpmRead, BitmapsAndGraymapsInTextAndBinary)
{
    auto file = [](std::string const &text) { return Builder().Text(text).bytes; };
    ExpectPixels(MustDecode(Format::Ppm, file("P1\n# bits need no spaces\n3 2\n010\n1 0 1\n")), 3, 2,
                 {0xFFFFFFFF, 0xFF000000, 0xFFFFFFFF, 0xFF000000, 0xFFFFFFFF, 0xFF000000}, "P1");
    // Nine pixels a row: two bytes, the last seven bits padding.
    ExpectPixels(MustDecode(Format::Ppm, Builder().Text("P4 9 2\n").Raw({0x80, 0x7F, 0x01, 0x80}).bytes), 9, 2,
                 {0xFF000000, 0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF,
                  0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF,
                  0xFF000000, 0xFF000000},
                 "P4");
    ExpectPixels(MustDecode(Format::Ppm, file("P2 2 1 100 0 100")), 2, 1, {0xFF000000, 0xFFFFFFFF}, "P2 maximum 100");
    ExpectPixels(MustDecode(Format::Ppm, Builder().Text("P5 2 1 255\n").Raw({9, 250}).bytes), 2, 1,
                 {0xFF090909, 0xFFFAFAFA}, "P5 8-bit");
    ExpectPixels(MustDecode(Format::Ppm, Builder().Text("P5 2 1 65535\n").Raw({0xFF, 0xFF, 0x80, 0x00}).bytes), 2, 1,
                 {0xFFFFFFFF, 0xFF808080}, "P5 16-bit, big-endian");
    ExpectPixels(MustDecode(Format::Ppm, Builder().Text("P5 1 1 1023\n").Raw({0x03, 0xFF}).bytes), 1, 1, {0xFFFFFFFF},
                 "P5 10-bit");
}

Bytes Fixture(std::string const &name)
{
    char const *root = std::getenv("TESSIV_SOURCE_DIR");
    std::string const path = std::string(root != nullptr ? root : ".") + "/tests/imaging/fixtures/" + name;
    std::ifstream file(path, std::ios::binary);
    EXPECT_TRUE(file.good()) << path;
    return Bytes(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

TEST(PngRead, EveryColourTypeFromAnotherEncoder)
{
    // The 5 x 3 pixels make_png_fixtures.py draws.
    struct Drawn {
        char const *name;
        unsigned long (*pixel)(unsigned int x, unsigned int y);
    } const fixtures[] = {
        {"gray1", [](auto x, auto y) { return (x + y) % 2 ? 0xFFFFFFFFul : 0xFF000000ul; }},
        {"gray16", [](auto x, auto y) { return 0xFF000000ul | (40 * x + 10 * y) * 0x010101ul; }},
        {"palette4_trns", [](auto x, auto y) {
             unsigned int const i = (x + 2 * y) % 6;
             return Argb(i < 4 ? 50 * i : 255, 40 * i, 255 - 40 * i, 7 * i);
         }},
        {"gray_alpha8", [](auto x, auto y) { return Argb(255 - 30 * x, 0, 0, 0) | (20 * x + 50 * y) * 0x010101ul; }},
        {"rgb16_interlaced", [](auto x, auto y) { return Argb(255, 30 * x, 60 * y, 99); }},
        {"rgb8_trns", [](auto x, auto y) { return Argb(x == 0 && y == 0 ? 0 : 255, 50 * x, 100 * y, 10); }},
    };
    for (Drawn const &drawn : fixtures)
        ExpectSame(MustDecode(Format::Png, Fixture(std::string(drawn.name) + ".png")), Draw(5, 3, drawn.pixel), true,
                   drawn.name);
}

// A JPEG written by libjpeg itself at quality 100; `sample(x, y, c)` gives
// component c of pixel (x, y).
template <class Sample>
Bytes LibjpegFile(unsigned int w, unsigned int h, J_COLOR_SPACE space, bool progressive, Sample sample)
{
    jpeg_compress_struct info;
    jpeg_error_mgr error;
    info.err = jpeg_std_error(&error);
    jpeg_create_compress(&info);
    unsigned char *buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = w;
    info.image_height = h;
    unsigned int const components = space == JCS_GRAYSCALE ? 1 : space == JCS_CMYK ? 4 : 3;
    info.input_components = static_cast<int>(components);
    info.in_color_space = space;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 100, TRUE);
    if (progressive)
        jpeg_simple_progression(&info);
    jpeg_start_compress(&info, TRUE);
    std::vector<unsigned char> row(std::size_t{w} * components);
    while (info.next_scanline < h) {
        for (unsigned int i = 0; i < row.size(); ++i)
            row[i] = static_cast<unsigned char>(sample(i / components, info.next_scanline, i % components));
        JSAMPROW line = row.data();
        jpeg_write_scanlines(&info, &line, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    Bytes bytes(buffer, buffer + size);
    std::free(buffer);
    return bytes;
}

Bytes ColourJpeg(unsigned int w, unsigned int h, bool progressive)
{
    return LibjpegFile(w, h, JCS_RGB, progressive, [](auto x, auto y, auto c) {
        return c == 0 ? 200 : c == 1 ? 50 + y : 20 + 2 * x;
    });
}

TEST(JpegRead, BaselineProgressiveGrayAndAdobeCmykFromLibjpeg)
{
    for (bool progressive : {false, true}) {
        SCOPED_TRACE(progressive ? "progressive" : "baseline");
        PixelImage const gray = MustDecode(
            Format::Jpg, LibjpegFile(19, 11, JCS_GRAYSCALE, progressive, [](auto x, auto, auto) { return 100 + x; }));
        ExpectSame(gray, Draw(19, 11, [](auto x, auto) { return Argb(255, 100 + x, 100 + x, 100 + x); }), false, "gray",
                   3);
        for (unsigned int x = 0; x < 19; ++x)
            EXPECT_TRUE(gray(x, 5)[0] == gray(x, 5)[1] && gray(x, 5)[1] == gray(x, 5)[2]) << "gray stays gray at " << x;
        ExpectSame(MustDecode(Format::Jpg, ColourJpeg(21, 13, progressive)),
                   Draw(21, 13, [](auto x, auto y) { return Argb(255, 200, 50 + y, 20 + 2 * x); }), false, "colour", 6);
    }
    // Inks stored inverted, as Adobe files do: no cyan, full magenta, no
    // yellow, no black.
    PixelImage const cmyk = MustDecode(
        Format::Jpg, LibjpegFile(8, 8, JCS_CMYK, false, [](auto, auto, auto c) { return c == 1 ? 0 : 255; }));
    ExpectSame(cmyk, Draw(8, 8, [](auto, auto) { return 0xFFFF00FFul; }), false, "Adobe CMYK", 2);
}

// A stream that cannot tell its size, serving the given bytes and then
// throwing, or throwing once `fail_after` bytes have gone.
class PipeStream : public kolt::CStreamI {
public:
    explicit PipeStream(Bytes bytes, std::size_t fail_after = SIZE_MAX)
        : bytes_(std::move(bytes)), fail_after_(fail_after)
    {
    }

    // The most bytes one read asked for: a decoder asks for no more than it
    // has room for.
    unsigned int largest_request = 0;

protected:
    unsigned int read_source(void *buffer, unsigned int size) override
    {
        largest_request = std::max(largest_request, size);
        if (position_ >= fail_after_)
            throw_exception("reading pipe: the other end went away");
        std::size_t const step = std::min<std::size_t>({size, bytes_.size() - position_, fail_after_ - position_});
        std::memcpy(buffer, bytes_.data() + position_, step);
        position_ += step;
        return static_cast<unsigned int>(step);
    }

private:
    Bytes bytes_;
    std::size_t fail_after_;
    std::size_t position_ = 0;
};

// An output stream that takes `room` bytes and then throws.
class FullDisk : public kolt::CStreamO {
public:
    explicit FullDisk(std::size_t room) : room_(room) {}
    bool write_buffer(unsigned char const *, unsigned int size) override
    {
        if (size > room_)
            throw_exception("writing file: the disk is full");
        room_ -= size;
        return true;
    }

private:
    std::size_t room_;
};

TEST(ImageIO, StreamsOfUnknownSizeReadWholeFilesAndFailingStreamsGiveFalse)
{
    PixelImage image = Pattern(64, 64);
    for (Format format : kFormats) {
        SCOPED_TRACE(Name(format));
        Bytes const file = Encode(format, image);
        PipeStream whole(file);
        PixelImage read;
        EXPECT_TRUE(Read(format, whole, read));
        EXPECT_EQ(read.Width(), 64u);

        PixelImage kept = Pattern(2, 2);
        PipeStream broken(file, file.size() / 2);
        bool result = true;
        EXPECT_NO_THROW(result = Read(format, broken, kept)) << "the pipe's exception stays inside";
        EXPECT_FALSE(result);
        EXPECT_EQ(kept.Width(), 2u);
        EXPECT_EQ(static_cast<unsigned long>(kept(1, 1)), static_cast<unsigned long>(Pattern(2, 2)(1, 1)));

        FullDisk disk(file.size() / 2);
        result = true;
        EXPECT_NO_THROW(result = Write(format, image, disk)) << "the full disk's exception stays inside";
        EXPECT_FALSE(result);
        EXPECT_TRUE(disk.fail());
    }
}

// A PNG chunk: length, type, data and checksum; `length` overrides the
// data's own length.
void PutPngChunk(Bytes &png, char const *type, Bytes const &data, std::uint32_t length)
{
    for (int i = 0; i < 4; ++i)
        png.push_back(static_cast<unsigned char>(length >> (24 - 8 * i)));
    std::size_t const start = png.size();
    png.insert(png.end(), type, type + 4);
    png.insert(png.end(), data.begin(), data.end());
    auto const crc = static_cast<std::uint32_t>(crc32(0, png.data() + start, static_cast<unsigned int>(png.size() - start)));
    for (int i = 0; i < 4; ++i)
        png.push_back(static_cast<unsigned char>(crc >> (24 - 8 * i)));
}

TEST(PngRead, AncillaryChunksOfHostileLengthAreSkippedNotAllocated)
{
    Bytes const valid = Encode(Format::Png, Pattern(3, 2));
    for (char const *type : {"tEXt", "zTXt", "iTXt", "sPLT", "sCAL", "pCAL", "iCCP", "eXIf", "teSt"}) {
        SCOPED_TRACE(type);
        // 57 bytes: signature, header, then a chunk that claims 1 GiB.
        Bytes hostile(valid.begin(), valid.begin() + 33);
        PutPngChunk(hostile, type, Bytes{'k', 0, 'x', 'x', 'x', 'x', 'x', 'x', 'x', 'x', 'x', 'x', 'x', 'x'},
                    std::uint32_t{1} << 30);
        hostile.resize(57);
        PipeStream pipe(hostile);
        PixelImage image;
        EXPECT_FALSE(kolt::PNGImage(image, false).Read(pipe));
        EXPECT_LE(pipe.largest_request, 1u << 16) << "no buffer of the chunk's size was made";
        ExpectRefused(Format::Png, hostile, "1 GiB chunk in 57 bytes");

        // A real chunk of that type is passed over, whatever it holds.
        Bytes with_chunk(valid.begin(), valid.begin() + 33);
        PutPngChunk(with_chunk, type, Bytes(5000, 0xA5), 5000);
        with_chunk.insert(with_chunk.end(), valid.begin() + 33, valid.end());
        ExpectSame(MustDecode(Format::Png, with_chunk), Pattern(3, 2), true, type);
    }
}

TEST(ImageIO, TextureLoaderReadsABitmapFileItWroteItself)
{
    std::string const path = ::testing::TempDir() + "image_io_test_stitch.bmp";
    PixelImage written = Pattern(5, 3);
    {
        kolt::CStreamFile file;
        ASSERT_TRUE(file.open(path.c_str(), kolt::CStreamFile::modeWrite));
        ASSERT_TRUE(kolt::BMPImage(written, 24, false, true).Write(file));
    }
    kolt::CStreamFile file;
    ASSERT_TRUE(file.open(path.c_str(), 4));
    PixelImage read;
    ASSERT_TRUE(kolt::BMPImage(read, 24, false, true).Read(file));
    std::remove(path.c_str());
    ExpectSame(read, written, false, "24-bit file");
}

TEST(ImageIO, AssignmentCopiesParametersButNeverRebinds)
{
    PixelImage first = Pattern(3, 2);
    PixelImage second = Pattern(1, 1);
    kolt::BMPImage a(first, 24, false, false);
    kolt::BMPImage b(second, 32, true, true);
    a = b;
    kolt::CStreamMem stream;
    ASSERT_TRUE(a.Write(stream));
    ASSERT_GT(stream.get_data().size(), 30u);
    EXPECT_EQ(stream.get_data()[18], 3) << "a still writes its own 3 x 2 image";
    EXPECT_EQ(stream.get_data()[28], 32) << "with b's 32 bits per pixel";
    EXPECT_EQ(stream.get_data()[25], 0xFF) << "and b's top-down rows (negative height)";
    kolt::BMPImage c(b);
    kolt::CStreamMem again;
    ASSERT_TRUE(c.Write(again));
    EXPECT_EQ(again.get_data()[18], 1) << "a copy is bound to the same image as the original";

    kolt::TGAImage t(first, 32);
    kolt::TGAImage u(second, 24);
    t = u;
    kolt::CStreamMem tga;
    ASSERT_TRUE(t.Write(tga));
    EXPECT_EQ(tga.get_data()[12], 3);
    EXPECT_EQ(tga.get_data()[16], 24);
}

TEST(ImageCodecs, EveryTruncationFailsAndLeavesTheImage)
{
    for (Format format : kFormats) {
        Bytes const whole = Encode(format, Pattern(7, 5));
        std::size_t const step = whole.size() / 97 + 1;
        for (std::size_t size = 0; size < whole.size() && !HasFailure(); size += step)
            ExpectRefused(format, Bytes(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(size)),
                          "cut to " + std::to_string(size) + " of " + std::to_string(whole.size()));
        Bytes wrong = whole;
        wrong[0] ^= 0x40;
        ExpectRefused(format, wrong, "wrong magic number");
    }
}

TEST(ImageCodecs, HugeSizesInPngAndJpegHeadersFail)
{
    // PNG: the width in IHDR, with a correct checksum, past 32768.
    Bytes png = Encode(Format::Png, Pattern(3, 3));
    std::uint32_t const width = 40000;
    for (int i = 0; i < 4; ++i)
        png[16 + i] = static_cast<unsigned char>(width >> (24 - 8 * i));
    std::uint32_t const crc = static_cast<std::uint32_t>(crc32(0, png.data() + 12, 17));
    for (int i = 0; i < 4; ++i)
        png[29 + i] = static_cast<unsigned char>(crc >> (24 - 8 * i));
    ExpectRefused(Format::Png, png, "width 40000");

    // JPEG: a small progressive file that claims 30000 x 30000 pixels.
    Bytes jpeg = ColourJpeg(16, 16, true);
    for (std::size_t i = 0; i + 8 < jpeg.size(); ++i) {
        if (jpeg[i] == 0xFF && (jpeg[i + 1] == 0xC0 || jpeg[i + 1] == 0xC2)) {
            jpeg[i + 5] = jpeg[i + 7] = 30000 >> 8;
            jpeg[i + 6] = jpeg[i + 8] = 30000 & 0xFF;
            break;
        }
    }
    ExpectRefused(Format::Jpg, jpeg, "30000 x 30000 from 16 x 16 of data");
}

}  // namespace
