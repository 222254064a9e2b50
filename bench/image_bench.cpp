// Image codecs, the bilinear scaler and GetBestColor on 4096 x 4096 (and
// 2048 x 2048) images. Each codec runs beside a baseline on the same bytes:
// stb_image / stb_image_write for BMP, TGA and PPM, libpng and libjpeg
// called directly (same settings, same memory buffers) for PNG and JPEG,
// and stb_image_resize's triangle filter for the scaler.
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include <jpeglib.h>
#include <png.h>
#include <stb_image.h>
#include <stb_image_resize.h>
#include <stb_image_write.h>

#include <benchmark/benchmark.h>

#include <tessiv/imaging/scale.h>
#include <tessiv/siblings/kolt/image_codec.h>

namespace {

using kolt::ColorI;
using kolt::PixelImage;
using Bytes = std::vector<unsigned char>;

constexpr unsigned int kSide = 4096;

// A photograph-like image: smooth gradients with a little noise, so the
// compressing formats have realistic work.
PixelImage const &Picture()
{
    static PixelImage const image = [] {
        PixelImage picture;
        picture.SetSize(kSide, kSide);
        std::uint32_t noise = 12345;
        for (unsigned int y = 0; y < kSide; ++y) {
            for (unsigned int x = 0; x < kSide; ++x) {
                noise = noise * 1664525u + 1013904223u;
                unsigned int const n = (noise >> 24) & 7;
                picture(x, y) = ColorI(static_cast<unsigned char>(x / 16 + n), static_cast<unsigned char>(y / 16 + n),
                                       static_cast<unsigned char>((x + y) / 32 + n), 255);
            }
        }
        return picture;
    }();
    return image;
}

// The same pixels packed as R, G, B for the baselines that take that.
Bytes const &PictureRgb()
{
    static Bytes const rgb = [] {
        Bytes packed(std::size_t{kSide} * kSide * 3);
        ColorI const *in = Picture().GetBuffer();
        for (std::size_t i = 0; i < std::size_t{kSide} * kSide; ++i) {
            packed[3 * i] = in[i][2];
            packed[3 * i + 1] = in[i][1];
            packed[3 * i + 2] = in[i][0];
        }
        return packed;
    }();
    return rgb;
}

enum class Format { Bmp, Tga, Ppm, Png, Jpg };

Bytes Encode(Format format, PixelImage const &image)
{
    kolt::codec::MemoryWriter writer;
    writer.bytes.reserve(std::size_t{image.Width()} * image.Height() * 3 + 1024);
    switch (format) {
    case Format::Bmp: kolt::codec::EncodeBmp(image, writer, 24, false); break;
    case Format::Tga: kolt::codec::EncodeTga(image, writer, 24); break;
    case Format::Ppm: kolt::codec::EncodePpm(image, writer); break;
    case Format::Png: kolt::codec::EncodePng(image, writer, false); break;
    case Format::Jpg: kolt::codec::EncodeJpg(image, writer, 90, 90); break;
    }
    return std::move(writer.bytes);
}

void Decode(Format format, Bytes const &bytes, PixelImage &image)
{
    kolt::codec::MemoryReader reader(bytes.data(), bytes.size());
    switch (format) {
    case Format::Bmp: kolt::codec::DecodeBmp(reader, image, false); break;
    case Format::Tga: kolt::codec::DecodeTga(reader, image); break;
    case Format::Ppm: kolt::codec::DecodePpm(reader, image); break;
    case Format::Png: kolt::codec::DecodePng(reader, image); break;
    case Format::Jpg: kolt::codec::DecodeJpg(reader, image); break;
    }
}

Bytes const &File(Format format)
{
    static Bytes files[5];
    Bytes &file = files[static_cast<int>(format)];
    if (file.empty())
        file = Encode(format, Picture());
    return file;
}

void DecodeOurs(benchmark::State &state, Format format)
{
    Bytes const &file = File(format);
    for (auto _ : state) {
        PixelImage image;
        Decode(format, file, image);
        benchmark::DoNotOptimize(image.GetBuffer());
    }
}

void DecodeStb(benchmark::State &state, Format format)
{
    Bytes const &file = File(format);
    for (auto _ : state) {
        int w = 0, h = 0, n = 0;
        stbi_uc *pixels = stbi_load_from_memory(file.data(), static_cast<int>(file.size()), &w, &h, &n, 4);
        if (pixels == nullptr)
            state.SkipWithError("stb_image refused the file");
        benchmark::DoNotOptimize(pixels);
        stbi_image_free(pixels);
    }
}

void EncodeOurs(benchmark::State &state, Format format)
{
    for (auto _ : state) {
        Bytes bytes = Encode(format, Picture());
        benchmark::DoNotOptimize(bytes.data());
    }
}

void AppendToBytes(void *context, void *data, int size)
{
    auto *bytes = static_cast<Bytes *>(context);
    auto const *first = static_cast<unsigned char const *>(data);
    bytes->insert(bytes->end(), first, first + size);
}

void EncodeStb(benchmark::State &state, Format format)
{
    Bytes const &rgb = PictureRgb();
    stbi_write_tga_with_rle = 0;  // ours writes raw pixels too
    for (auto _ : state) {
        Bytes bytes;
        bytes.reserve(std::size_t{kSide} * kSide * 3 + 1024);
        int const ok = format == Format::Bmp
                           ? stbi_write_bmp_to_func(AppendToBytes, &bytes, kSide, kSide, 3, rgb.data())
                           : stbi_write_tga_to_func(AppendToBytes, &bytes, kSide, kSide, 3, rgb.data());
        if (ok == 0)
            state.SkipWithError("stb_image_write failed");
        benchmark::DoNotOptimize(bytes.data());
    }
}

// libpng directly: the same transformations into B, G, R, A rows.
struct PngMemory {
    Bytes const *file;
    std::size_t position;
};

void PngReadMemory(png_structp png, png_bytep data, std::size_t length)
{
    auto *memory = static_cast<PngMemory *>(png_get_io_ptr(png));
    if (memory->position + length > memory->file->size())
        png_error(png, "short");
    std::memcpy(data, memory->file->data() + memory->position, length);
    memory->position += length;
}

void DecodePngDirect(benchmark::State &state)
{
    Bytes const &file = File(Format::Png);
    std::vector<unsigned char> pixels(std::size_t{kSide} * kSide * 4);
    for (auto _ : state) {
        png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
        png_infop info = png_create_info_struct(png);
        PngMemory memory{&file, 0};
        if (setjmp(png_jmpbuf(png))) {
            state.SkipWithError("libpng failed");
            break;
        }
        png_set_read_fn(png, &memory, PngReadMemory);
        png_read_info(png, info);
        png_set_add_alpha(png, 0xFF, PNG_FILLER_AFTER);
        png_set_bgr(png);
        png_read_update_info(png, info);
        for (unsigned int y = 0; y < kSide; ++y)
            png_read_row(png, pixels.data() + std::size_t{y} * kSide * 4, nullptr);
        png_read_end(png, nullptr);
        png_destroy_read_struct(&png, &info, nullptr);
        benchmark::DoNotOptimize(pixels.data());
    }
}

void PngWriteMemory(png_structp png, png_bytep data, std::size_t length)
{
    auto *bytes = static_cast<Bytes *>(png_get_io_ptr(png));
    bytes->insert(bytes->end(), data, data + length);
}

void PngFlush(png_structp) {}

void EncodePngDirect(benchmark::State &state)
{
    PixelImage const &picture = Picture();
    for (auto _ : state) {
        Bytes bytes;
        bytes.reserve(std::size_t{kSide} * kSide * 3 + 1024);
        png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
        png_infop info = png_create_info_struct(png);
        if (setjmp(png_jmpbuf(png))) {
            state.SkipWithError("libpng failed");
            break;
        }
        png_set_write_fn(png, &bytes, PngWriteMemory, PngFlush);
        png_set_IHDR(png, info, kSide, kSide, 8, PNG_COLOR_TYPE_RGB_ALPHA, PNG_INTERLACE_NONE,
                     PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
        png_write_info(png, info);
        png_set_bgr(png);
        for (unsigned int y = 0; y < kSide; ++y)
            png_write_row(png, reinterpret_cast<png_const_bytep>(&picture(0, y)));
        png_write_end(png, nullptr);
        png_destroy_write_struct(&png, &info);
        benchmark::DoNotOptimize(bytes.data());
    }
}

// libjpeg directly, from and to memory, into and from B, G, R, A rows.
void DecodeJpgDirect(benchmark::State &state)
{
    Bytes const &file = File(Format::Jpg);
    std::vector<unsigned char> pixels(std::size_t{kSide} * kSide * 4);
    for (auto _ : state) {
        jpeg_decompress_struct info;
        jpeg_error_mgr error;
        info.err = jpeg_std_error(&error);
        jpeg_create_decompress(&info);
        jpeg_mem_src(&info, file.data(), file.size());
        jpeg_read_header(&info, TRUE);
        info.out_color_space = JCS_EXT_BGRA;
        jpeg_start_decompress(&info);
        while (info.output_scanline < info.output_height) {
            JSAMPROW row = pixels.data() + std::size_t{info.output_scanline} * kSide * 4;
            jpeg_read_scanlines(&info, &row, 1);
        }
        jpeg_finish_decompress(&info);
        jpeg_destroy_decompress(&info);
        benchmark::DoNotOptimize(pixels.data());
    }
}

void EncodeJpgDirect(benchmark::State &state)
{
    PixelImage const &picture = Picture();
    for (auto _ : state) {
        jpeg_compress_struct info;
        jpeg_error_mgr error;
        info.err = jpeg_std_error(&error);
        jpeg_create_compress(&info);
        unsigned char *buffer = nullptr;
        unsigned long size = 0;
        jpeg_mem_dest(&info, &buffer, &size);
        info.image_width = kSide;
        info.image_height = kSide;
        info.input_components = 4;
        info.in_color_space = JCS_EXT_BGRA;
        jpeg_set_defaults(&info);
        jpeg_set_quality(&info, 90, TRUE);
        jpeg_start_compress(&info, TRUE);
        while (info.next_scanline < kSide) {
            auto row = const_cast<JSAMPROW>(reinterpret_cast<JSAMPLE const *>(&picture(0, info.next_scanline)));
            jpeg_write_scanlines(&info, &row, 1);
        }
        jpeg_finish_compress(&info);
        jpeg_destroy_compress(&info);
        benchmark::DoNotOptimize(buffer);
        std::free(buffer);
    }
}

void ScaleOurs(benchmark::State &state)
{
    PixelImage const &picture = Picture();
    PixelImage small;
    small.SetSize(1024, 1024);
    kolt::BiLinearScaleFunction bilinear;
    for (auto _ : state) {
        bilinear(small, picture, 0, 0, kSide, kSide);
        benchmark::DoNotOptimize(small.GetBuffer());
    }
}

void ScaleStb(benchmark::State &state)
{
    PixelImage const &picture = Picture();
    std::vector<unsigned char> small(std::size_t{1024} * 1024 * 4);
    for (auto _ : state) {
        stbir_resize_uint8_generic(reinterpret_cast<unsigned char const *>(picture.GetBuffer()), kSide, kSide, 0,
                                   small.data(), 1024, 1024, 0, 4, STBIR_ALPHA_CHANNEL_NONE, 0, STBIR_EDGE_CLAMP,
                                   STBIR_FILTER_TRIANGLE, STBIR_COLORSPACE_LINEAR, nullptr);
        benchmark::DoNotOptimize(small.data());
    }
}

// One sample per pixel of a 2048 x 2048 image at a fractional offset.
void BestColor(benchmark::State &state)
{
    PixelImage image;
    image.SetSize(2048, 2048);
    kolt::NormalScaleFunction nearest;
    nearest(image, Picture(), 0, 0, kSide, kSide);
    std::uint32_t checksum = 0;
    for (auto _ : state) {
        for (unsigned int y = 0; y < 2048; ++y)
            for (unsigned int x = 0; x < 2048; ++x)
                checksum += static_cast<std::uint32_t>(image.GetBestColor(x + 0.37, y + 0.61));
        benchmark::DoNotOptimize(checksum);
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * 2048 * 2048);
}

void Register()
{
    struct Codec {
        char const *name;
        Format format;
    } const stb_codecs[] = {{"bmp", Format::Bmp}, {"tga", Format::Tga}, {"ppm", Format::Ppm}};
    for (Codec const codec : stb_codecs) {
        std::string const name = codec.name;
        benchmark::RegisterBenchmark((name + "_decode/ours").c_str(), DecodeOurs, codec.format)->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark((name + "_decode/stb").c_str(), DecodeStb, codec.format)->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark((name + "_encode/ours").c_str(), EncodeOurs, codec.format)->Unit(benchmark::kMillisecond);
        if (codec.format != Format::Ppm)
            benchmark::RegisterBenchmark((name + "_encode/stb").c_str(), EncodeStb, codec.format)->Unit(benchmark::kMillisecond);
    }
    benchmark::RegisterBenchmark("png_decode/ours", DecodeOurs, Format::Png)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("png_decode/libpng", DecodePngDirect)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("png_encode/ours", EncodeOurs, Format::Png)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("png_encode/libpng", EncodePngDirect)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("jpg_decode/ours", DecodeOurs, Format::Jpg)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("jpg_decode/libjpeg", DecodeJpgDirect)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("jpg_encode/ours", EncodeOurs, Format::Jpg)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("jpg_encode/libjpeg", EncodeJpgDirect)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("scale_bilinear_4096_to_1024/ours", ScaleOurs)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("scale_bilinear_4096_to_1024/stb", ScaleStb)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("best_color_2048/ours", BestColor)->Unit(benchmark::kMillisecond);
}

int const registered = (Register(), 0);

}  // namespace
