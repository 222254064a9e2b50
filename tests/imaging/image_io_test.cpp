#include <tessiv/imaging/image_io.h>
#include <tessiv/siblings/kolt/image_codec.h>

#include <gtest/gtest.h>

#include <csetjmp>
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

// Little-endian byte building for hand-made files.
struct Builder {
    Bytes bytes;
    Builder &U8(unsigned int v)
    {
        bytes.push_back(static_cast<unsigned char>(v));
        return *this;
    }
    Builder &U16(unsigned int v) { return U8(v & 0xFF).U8(v >> 8); }
    Builder &U32(std::uint32_t v) { return U16(v & 0xFFFF).U16(v >> 16); }
    Builder &Text(std::string const &text)
    {
        bytes.insert(bytes.end(), text.begin(), text.end());
        return *this;
    }
    Builder &Raw(std::initializer_list<unsigned int> values)
    {
        for (unsigned int v : values)
            U8(v);
        return *this;
    }
};

// File header and 40-byte info header; data_offset is patched by Finish.
Builder BmpHeader(std::int32_t width, std::int32_t height, unsigned int bits, unsigned int compression,
                  unsigned int colours_used)
{
    Builder b;
    b.Text("BM").U32(0).U32(0).U32(0);
    b.U32(40).U32(static_cast<std::uint32_t>(width)).U32(static_cast<std::uint32_t>(height)).U16(1).U16(bits);
    b.U32(compression).U32(0).U32(2835).U32(2835).U32(colours_used).U32(0);
    return b;
}

// Marks the current end as the start of the pixels.
void StartPixels(Builder &b)
{
    auto const offset = static_cast<std::uint32_t>(b.bytes.size());
    for (int i = 0; i < 4; ++i)
        b.bytes[10 + i] = static_cast<unsigned char>(offset >> (8 * i));
}

Builder &Palette(Builder &b, std::initializer_list<unsigned long> colours)
{
    for (unsigned long c : colours)
        b.U32(static_cast<std::uint32_t>(c & 0xFFFFFF));
    return b;
}

PixelImage MustDecode(Format format, Bytes const &bytes, bool bmp_opaque = false)
{
    PixelImage image;
    EXPECT_TRUE(Decode(format, bytes, image, bmp_opaque)) << Name(format);
    return image;
}

void ExpectPixels(PixelImage const &image, unsigned int w, unsigned int h, std::vector<unsigned long> const &pixels,
                  char const *what)
{
    ASSERT_EQ(image.Width(), w) << what;
    ASSERT_EQ(image.Height(), h) << what;
    for (unsigned int i = 0; i < pixels.size(); ++i)
        EXPECT_EQ(static_cast<unsigned long>(image(i % w, i / w)), pixels[i])
            << what << " pixel " << i % w << "," << i / w;
}

TEST(BmpRead, PaletteImagesOfOneFourAndEightBits)
{
    Builder one = BmpHeader(3, 2, 1, 0, 2);
    Palette(one, {0xFF0000, 0x0000FF});
    StartPixels(one);
    one.Raw({0xA0, 0, 0, 0, 0x60, 0, 0, 0});  // bottom row 1 0 1, top row 0 1 1
    ExpectPixels(MustDecode(Format::Bmp24, one.bytes), 3, 2,
                 {0xFFFF0000, 0xFF0000FF, 0xFF0000FF, 0xFF0000FF, 0xFFFF0000, 0xFF0000FF}, "1-bit");

    Builder four = BmpHeader(3, 1, 4, 0, 3);
    Palette(four, {0x000000, 0x111111, 0x222222});
    StartPixels(four);
    four.Raw({0x21, 0x00, 0, 0});
    ExpectPixels(MustDecode(Format::Bmp24, four.bytes), 3, 1, {0xFF222222, 0xFF111111, 0xFF000000}, "4-bit");

    Builder eight = BmpHeader(2, -2, 8, 0, 0);  // top-down
    for (unsigned int i = 0; i < 256; ++i)
        eight.U32(i * 0x010101u);
    StartPixels(eight);
    eight.Raw({7, 200, 0, 0, 255, 1, 0, 0});
    ExpectPixels(MustDecode(Format::Bmp24, eight.bytes), 2, 2, {0xFF070707, 0xFFC8C8C8, 0xFFFFFFFF, 0xFF010101},
                 "8-bit top-down");
}

TEST(BmpRead, RleRunsAbsoluteRunsAndEscapes)
{
    Builder rle4 = BmpHeader(4, 2, 4, 2, 3);
    Palette(rle4, {0x000000, 0x0000FF, 0x00FF00});
    StartPixels(rle4);
    // Bottom row: run of 4 alternating 1, 2; top row: absolute 2 0 1, run of one 0.
    rle4.Raw({4, 0x12, 0, 0, 0, 3, 0x20, 0x10, 1, 0x00, 0, 1});
    ExpectPixels(MustDecode(Format::Bmp24, rle4.bytes), 4, 2,
                 {0xFF00FF00, 0xFF000000, 0xFF0000FF, 0xFF000000, 0xFF0000FF, 0xFF00FF00, 0xFF0000FF, 0xFF00FF00},
                 "RLE4");

    Builder rle8 = BmpHeader(4, 3, 8, 1, 7);
    Palette(rle8, {0, 0, 0, 0, 0, 0x050505, 0x060606});
    StartPixels(rle8);
    // Bottom row: two 5s, then a delta one right and one up, a 6, end of
    // line, end of bitmap. Skipped pixels are opaque black.
    rle8.Raw({2, 5, 0, 2, 1, 1, 1, 6, 0, 0, 0, 1});
    ExpectPixels(MustDecode(Format::Bmp24, rle8.bytes), 4, 3,
                 {0xFF000000, 0xFF000000, 0xFF000000, 0xFF000000, 0xFF000000, 0xFF000000, 0xFF000000, 0xFF060606,
                  0xFF050505, 0xFF050505, 0xFF000000, 0xFF000000},
                 "RLE8");

    Builder odd = BmpHeader(3, 1, 8, 1, 2);
    Palette(odd, {0x010101, 0x020202});
    StartPixels(odd);
    odd.Raw({0, 3, 1, 0, 1, 0, 0, 1});  // absolute run of three, padded to even
    ExpectPixels(MustDecode(Format::Bmp24, odd.bytes), 3, 1, {0xFF020202, 0xFF010101, 0xFF020202}, "RLE8 absolute");
}

TEST(BmpRead, SixteenAndThirtyTwoBitsWithAndWithoutBitFields)
{
    Builder rgb555 = BmpHeader(2, 1, 16, 0, 0);
    StartPixels(rgb555);
    rgb555.U16(0x7FFF).U16(0x7C00);
    ExpectPixels(MustDecode(Format::Bmp24, rgb555.bytes), 2, 1, {0xFFFFFFFF, 0xFFFF0000}, "16-bit 5-5-5");

    Builder rgb565 = BmpHeader(2, -1, 16, 3, 0);
    rgb565.U32(0xF800).U32(0x07E0).U32(0x001F);
    StartPixels(rgb565);
    rgb565.U16(0x07E0).U16(0x8010);  // green; half red and half blue
    ExpectPixels(MustDecode(Format::Bmp24, rgb565.bytes), 2, 1, {0xFF00FF00, 0xFF840084}, "16-bit 5-6-5");

    // A 124-byte header with an alpha mask.
    Builder v5;
    v5.Text("BM").U32(0).U32(0).U32(0);
    v5.U32(124).U32(1).U32(1).U16(1).U16(32).U32(3).U32(4).U32(0).U32(0).U32(0).U32(0);
    v5.U32(0x0000FF00).U32(0x00FF0000).U32(0xFF000000).U32(0x000000FF);
    while (v5.bytes.size() < 14 + 124)
        v5.U8(0);
    StartPixels(v5);
    v5.Raw({0x80, 0x30, 0x20, 0x10});  // alpha 0x80, red 0x30, green 0x20, blue 0x10
    ExpectPixels(MustDecode(Format::Bmp24, v5.bytes), 1, 1, {0x80302010}, "32-bit alpha mask");
    ExpectPixels(MustDecode(Format::Bmp24, v5.bytes, true), 1, 1, {0xFF302010}, "opaque flag");

    // Plain 32-bit pixels whose fourth byte is 0 everywhere read as opaque.
    Builder zero = BmpHeader(2, 1, 32, 0, 0);
    StartPixels(zero);
    zero.Raw({1, 2, 3, 0, 4, 5, 6, 0});
    ExpectPixels(MustDecode(Format::Bmp24, zero.bytes), 2, 1, {0xFF030201, 0xFF060504}, "32-bit without alpha");

    // The old 12-byte header: 16-bit sizes, 3-byte palette entries.
    Builder core;
    core.Text("BM").U32(0).U32(0).U32(0);
    core.U32(12).U16(2).U16(1).U16(1).U16(24);
    StartPixels(core);
    core.Raw({1, 2, 3, 4, 5, 6, 0, 0});
    ExpectPixels(MustDecode(Format::Bmp24, core.bytes), 2, 1, {0xFF030201, 0xFF060504}, "12-byte header");
}

TEST(BmpRead, HostileFilesFailAndLeaveTheImage)
{
    std::vector<std::pair<char const *, Bytes>> files;
    Builder index = BmpHeader(2, 1, 8, 0, 2);
    Palette(index, {0, 0});
    StartPixels(index);
    index.Raw({1, 5, 0, 0});
    files.emplace_back("palette index past the palette", index.bytes);

    Builder run = BmpHeader(2, 1, 8, 1, 1);
    Palette(run, {0});
    StartPixels(run);
    run.Raw({3, 0, 0, 1});
    files.emplace_back("RLE run past the row", run.bytes);

    Builder delta = BmpHeader(2, 2, 8, 1, 1);
    Palette(delta, {0});
    StartPixels(delta);
    delta.Raw({0, 2, 0, 2, 0, 1});
    files.emplace_back("RLE delta past the last row", delta.bytes);

    Builder bomb = BmpHeader(30000, 30000, 8, 1, 1);
    Palette(bomb, {0});
    StartPixels(bomb);
    bomb.Raw({0, 1});
    files.emplace_back("RLE end of bitmap at once in a huge image", bomb.bytes);

    Builder huge = BmpHeader(32768, 32768, 24, 0, 0);
    StartPixels(huge);
    huge.Raw({1, 2, 3});
    files.emplace_back("largest size with no data", huge.bytes);

    Builder wide = BmpHeader(40000, 1, 24, 0, 0);
    StartPixels(wide);
    files.emplace_back("wider than 32768", wide.bytes);

    Builder zero = BmpHeader(0, 1, 24, 0, 0);
    files.emplace_back("width 0", zero.bytes);

    Builder bits = BmpHeader(1, 1, 7, 0, 0);
    files.emplace_back("7 bits per pixel", bits.bytes);

    Builder mask = BmpHeader(1, 1, 32, 3, 0);
    mask.U32(0x00FF00FF).U32(0xFF00).U32(0xFF);
    StartPixels(mask);
    mask.U32(0);
    files.emplace_back("mask with a gap", mask.bytes);

    Builder magic = BmpHeader(1, 1, 24, 0, 0);
    magic.bytes[0] = 'X';
    StartPixels(magic);
    magic.U32(0);
    files.emplace_back("wrong magic", magic.bytes);

    for (auto const &[what, bytes] : files) {
        PixelImage image = Pattern(2, 2);
        EXPECT_FALSE(Decode(Format::Bmp24, bytes, image)) << what;
        EXPECT_EQ(image.Width(), 2u) << what;
        EXPECT_EQ(static_cast<unsigned long>(image(1, 1)), static_cast<unsigned long>(Pattern(2, 2)(1, 1))) << what;
    }
}

TEST(TgaRead, RleAcrossRowsAndBothOrigins)
{
    Builder rle;
    rle.Raw({0, 0, 10, 0, 0, 0, 0, 0, 0, 0, 0, 0}).U16(3).U16(2).Raw({24, 0});
    // Bottom row first: a run of four crosses into the top row, then two raw pixels.
    rle.Raw({0x83, 3, 2, 1, 0x01, 6, 5, 4, 9, 8, 7});
    ExpectPixels(MustDecode(Format::Tga24, rle.bytes), 3, 2,
                 {0xFF010203, 0xFF040506, 0xFF070809, 0xFF010203, 0xFF010203, 0xFF010203}, "RLE bottom-left");

    Builder raw;
    raw.Raw({3, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0}).U16(2).U16(1).Raw({32, 0x38});
    raw.Raw({'i', 'd', '!'});
    raw.Raw({1, 2, 3, 4, 5, 6, 7, 8});  // right-to-left: the first pixel is the rightmost
    ExpectPixels(MustDecode(Format::Tga32, raw.bytes), 2, 1, {0x08070605, 0x04030201}, "32-bit right-to-left");

    Builder gray;
    gray.Raw({0, 0, 3, 0, 0, 0, 0, 0, 0, 0, 0, 0}).U16(2).U16(1).Raw({8, 0x20, 9, 250});
    ExpectPixels(MustDecode(Format::Tga24, gray.bytes), 2, 1, {0xFF090909, 0xFFFAFAFA}, "gray");

    Builder mapped;
    mapped.Raw({0, 1, 1, 0, 0, 2, 0, 24, 0, 0, 0, 0}).U16(1).U16(1).Raw({8, 0x20, 0});
    PixelImage image = Pattern(2, 2);
    EXPECT_FALSE(Decode(Format::Tga24, mapped.bytes, image)) << "colour-mapped images are not read";
    Builder cut = rle;
    cut.bytes.pop_back();
    EXPECT_FALSE(Decode(Format::Tga24, cut.bytes, image)) << "raw packet cut short";
    EXPECT_EQ(image.Width(), 2u);
}

TEST(PpmRead, TextAndWideSamples)
{
    Builder p3;
    p3.Text("P3\n# made by hand\n2 1\n15\n15 0 0  0 15 7\n");
    ExpectPixels(MustDecode(Format::Ppm, p3.bytes), 2, 1, {0xFFFF0000, 0xFF00FF77}, "P3 maximum 15");
    Builder p3_tight;
    p3_tight.Text("P3 1 1 255 1 2#comment\n3");
    ExpectPixels(MustDecode(Format::Ppm, p3_tight.bytes), 1, 1, {0xFF010203}, "P3 with a comment after a sample");

    Builder p6;
    p6.Text("P6 1 1\n65535\n").Raw({0xFF, 0xFF, 0x80, 0x00, 0x00, 0x00});
    ExpectPixels(MustDecode(Format::Ppm, p6.bytes), 1, 1, {0xFFFF8000}, "P6 16-bit");

    char const *const bad[] = {"P5 1 1 255\n\1", "P6 1 1 0\n\1\1\1",  "P6 40000 1 255\n", "P3 1 1 15 16 0 0",
                               "P3 1 1 255 1 x 3", "P6 1 1 255\n\1\1", "P6 99999999999 1 255\n"};
    for (char const *text : bad) {
        Builder file;
        file.Text(text);
        PixelImage image = Pattern(2, 2);
        EXPECT_FALSE(Decode(Format::Ppm, file.bytes, image)) << text;
        EXPECT_EQ(image.Width(), 2u);
    }
}

Bytes Fixture(std::string const &name)
{
    char const *root = std::getenv("TESSIV_SOURCE_DIR");
    std::string const path = std::string(root != nullptr ? root : ".") + "/tests/imaging/fixtures/" + name;
    std::ifstream file(path, std::ios::binary);
    EXPECT_TRUE(file.good()) << path;
    return Bytes(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

// The pixels make_png_fixtures.py draws, as 0xAARRGGBB.
unsigned long ExpectedPngPixel(std::string const &name, unsigned int x, unsigned int y)
{
    auto argb = [](unsigned int a, unsigned int r, unsigned int g, unsigned int b) {
        return static_cast<unsigned long>(a) << 24 | r << 16 | g << 8 | b;
    };
    if (name == "gray1") {
        unsigned int const v = (x + y) % 2 ? 255 : 0;
        return argb(255, v, v, v);
    }
    if (name == "gray16") {
        unsigned int const v = 40 * x + 10 * y;
        return argb(255, v, v, v);
    }
    if (name == "palette4_trns") {
        unsigned int const i = (x + 2 * y) % 6;
        return argb(i < 4 ? 50 * i : 255, 40 * i, 255 - 40 * i, 7 * i);
    }
    if (name == "gray_alpha8") {
        unsigned int const v = 20 * x + 50 * y;
        return argb(255 - 30 * x, v, v, v);
    }
    if (name == "rgb16_interlaced")
        return argb(255, 30 * x, 60 * y, 99);
    return argb(x == 0 && y == 0 ? 0 : 255, 50 * x, 100 * y, 10);
}

TEST(PngRead, EveryColourTypeFromAnotherEncoder)
{
    for (std::string const name : {"gray1", "gray16", "palette4_trns", "gray_alpha8", "rgb16_interlaced", "rgb8_trns"}) {
        PixelImage const image = MustDecode(Format::Png, Fixture(name + ".png"));
        ASSERT_EQ(image.Width(), 5u) << name;
        ASSERT_EQ(image.Height(), 3u) << name;
        for (unsigned int y = 0; y < 3; ++y)
            for (unsigned int x = 0; x < 5; ++x)
                EXPECT_EQ(static_cast<unsigned long>(image(x, y)), ExpectedPngPixel(name, x, y))
                    << name << " at " << x << "," << y;
    }
}

// A JPEG written by libjpeg itself, progressive when asked.
Bytes LibjpegFile(unsigned int w, unsigned int h, bool gray, bool progressive)
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
    info.input_components = gray ? 1 : 3;
    info.in_color_space = gray ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 95, TRUE);
    if (progressive)
        jpeg_simple_progression(&info);
    jpeg_start_compress(&info, TRUE);
    std::vector<unsigned char> row(std::size_t{w} * 3);
    while (info.next_scanline < h) {
        for (unsigned int x = 0; x < w; ++x) {
            if (gray) {
                row[x] = static_cast<unsigned char>(100 + x);
            } else {
                row[3 * x] = 200;
                row[3 * x + 1] = static_cast<unsigned char>(50 + info.next_scanline);
                row[3 * x + 2] = static_cast<unsigned char>(20 + 2 * x);
            }
        }
        JSAMPROW line = row.data();
        jpeg_write_scanlines(&info, &line, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    Bytes bytes(buffer, buffer + size);
    std::free(buffer);
    return bytes;
}

TEST(JpegRead, BaselineProgressiveAndGrayFromLibjpeg)
{
    for (bool progressive : {false, true}) {
        PixelImage const gray = MustDecode(Format::Jpg, LibjpegFile(19, 11, true, progressive));
        ASSERT_EQ(gray.Width(), 19u);
        ASSERT_EQ(gray.Height(), 11u);
        for (unsigned int x = 0; x < 19; ++x) {
            ColorI const c = gray(x, 5);
            EXPECT_TRUE(c[0] == c[1] && c[1] == c[2]) << "gray stays gray";
            EXPECT_NEAR(c[0], 100 + x, 3);
            EXPECT_EQ(c[3], 255);
        }
        PixelImage const colour = MustDecode(Format::Jpg, LibjpegFile(21, 13, false, progressive));
        ASSERT_EQ(colour.Width(), 21u);
        EXPECT_NEAR(colour(10, 6)[2], 200, 6);
        EXPECT_NEAR(colour(10, 6)[1], 56, 6);
        EXPECT_NEAR(colour(10, 6)[0], 40, 6);
    }
}

TEST(ImageCodecs, EveryTruncationFailsAndLeavesTheImage)
{
    Format const formats[] = {Format::Bmp24, Format::Bmp32, Format::Tga24, Format::Tga32,
                              Format::Ppm,   Format::Png,   Format::PngInterlaced, Format::Jpg};
    PixelImage const before = Pattern(2, 2);
    for (Format format : formats) {
        Bytes const whole = Encode(format, Pattern(7, 5));
        std::size_t const step = whole.size() / 97 + 1;
        for (std::size_t size = 0; size < whole.size(); size += step) {
            Bytes const cut(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(size));
            PixelImage image = before;
            ASSERT_FALSE(Decode(format, cut, image)) << Name(format) << " cut to " << size << " of " << whole.size();
            ASSERT_EQ(image.Width(), 2u);
            ASSERT_EQ(static_cast<unsigned long>(image(1, 0)), static_cast<unsigned long>(before(1, 0)));
        }
        Bytes wrong = whole;
        wrong[0] ^= 0x40;
        PixelImage image = before;
        EXPECT_FALSE(Decode(format, wrong, image)) << Name(format) << " with a wrong magic number";
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
    PixelImage image = Pattern(2, 2);
    EXPECT_FALSE(Decode(Format::Png, png, image));

    // JPEG: a small progressive file that claims 30000 x 30000 pixels.
    Bytes jpeg = LibjpegFile(16, 16, false, true);
    for (std::size_t i = 0; i + 8 < jpeg.size(); ++i) {
        if (jpeg[i] == 0xFF && (jpeg[i + 1] == 0xC0 || jpeg[i + 1] == 0xC2)) {
            jpeg[i + 5] = 30000 >> 8;
            jpeg[i + 6] = 30000 & 0xFF;
            jpeg[i + 7] = 30000 >> 8;
            jpeg[i + 8] = 30000 & 0xFF;
            break;
        }
    }
    EXPECT_FALSE(Decode(Format::Jpg, jpeg, image));
    EXPECT_EQ(image.Width(), 2u);
}

}  // namespace
