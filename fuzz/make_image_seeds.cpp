// Writes the image decoders' seed corpora with our own encoders:
//   make_image_seeds <fuzz/seeds folder>
// Small images with and without alpha, odd widths and the encoders' options.
// Run by hand when the encoders change; the results are checked in.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include <tessiv/siblings/kolt/image_codec.h>

namespace {

kolt::PixelImage Picture(unsigned int w, unsigned int h, bool alpha)
{
    kolt::PixelImage image;
    image.SetSize(w, h);
    for (unsigned int y = 0; y < h; ++y)
        for (unsigned int x = 0; x < w; ++x)
            image(x, y) = kolt::ColorI(static_cast<unsigned char>(40 * x), static_cast<unsigned char>(60 * y),
                                       static_cast<unsigned char>(x ^ y), alpha ? static_cast<unsigned char>(30 * x + y) : 255);
    return image;
}

void Save(std::filesystem::path const &folder, std::string const &name, kolt::codec::MemoryWriter const &writer)
{
    std::filesystem::create_directories(folder);
    std::ofstream file(folder / name, std::ios::binary);
    file.write(reinterpret_cast<char const *>(writer.bytes.data()), static_cast<std::streamsize>(writer.bytes.size()));
}

void SaveBytes(std::filesystem::path const &folder, std::string const &name, std::string const &bytes)
{
    kolt::codec::MemoryWriter writer;
    writer.Write(bytes.data(), bytes.size());
    Save(folder, name, writer);
}

std::string BigEndian32(std::uint32_t value)
{
    return {static_cast<char>(value >> 24), static_cast<char>(value >> 16), static_cast<char>(value >> 8),
            static_cast<char>(value)};
}

// What our encoders never write: the other any-map kinds, Targa colour maps,
// 16-bit colour and gray with alpha, and PNG chunks that claim far more
// bytes than the file has.
void SaveHandMadeSeeds(std::filesystem::path const &root)
{
    SaveBytes(root / "ppm", "3x2_p1.pbm", "P1\n# bits\n3 2\n010\n1 0 1\n");
    SaveBytes(root / "ppm", "9x2_p4.pbm", std::string("P4 9 2\n\x80\x7f\x01\x80", 11));
    SaveBytes(root / "ppm", "2x1_p2.pgm", "P2 2 1 100 0 100\n");
    SaveBytes(root / "ppm", "2x1_p5_16.pgm", std::string("P5 2 1 65535\n\xff\xff\x80\x00", 17));

    std::string const tga_head_mapped("\0\1\1\1\0\3\0\x18\0\0\0\0\2\0\2\0\x08\x20", 18);
    SaveBytes(root / "tga", "2x2_map24.tga", tga_head_mapped + std::string("\1\2\3\4\5\6\7\x08\x09\1\2\3\1", 13));
    std::string rle_mapped = tga_head_mapped;
    rle_mapped[2] = 9;
    rle_mapped[7] = 16;
    rle_mapped[17] = 0x21;
    SaveBytes(root / "tga", "2x2_map16_rle.tga", rle_mapped + std::string("\x1f\x80\xe0\x03\x00\xfc\x02\1\2\3\x80\1", 12));
    SaveBytes(root / "tga", "2x1_rgb16.tga",
              std::string("\0\0\2\0\0\0\0\0\0\0\0\0\2\0\1\0\x10\x21\x1f\x00\xff\xff", 22));
    SaveBytes(root / "tga", "2x1_gray_alpha_rle.tga",
              std::string("\0\0\x0b\0\0\0\0\0\0\0\0\0\2\0\1\0\x10\x28\x81\x09\xc8", 21));

    // A valid 1 x 1 file's signature and header, then a chunk of 1 GiB
    // that ends after 16 bytes.
    kolt::codec::MemoryWriter png;
    kolt::codec::EncodePng(Picture(1, 1, false), png, false);
    std::string const head(reinterpret_cast<char const *>(png.bytes.data()), 33);
    for (char const *type : {"tEXt", "zTXt", "iTXt", "iCCP", "sPLT"})
        SaveBytes(root / "png", std::string("hostile_") + type + ".png",
                  head + BigEndian32(1u << 30) + type + std::string("k\0xxxxxxxxxxxxxx", 16));
}

}  // namespace

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_image_seeds <seeds folder>\n");
        return 2;
    }
    std::filesystem::path const root = argv[1];
    using namespace kolt::codec;
    struct Size {
        unsigned int w, h;
        bool alpha;
    } const sizes[] = {{1, 1, false}, {3, 2, true}, {8, 5, false}};
    for (Size const size : sizes) {
        kolt::PixelImage const image = Picture(size.w, size.h, size.alpha);
        std::string const stem = std::to_string(size.w) + "x" + std::to_string(size.h);
        for (int bits : {24, 32}) {
            for (bool top_down : {false, true}) {
                MemoryWriter bmp;
                EncodeBmp(image, bmp, bits, top_down);
                Save(root / "bmp", stem + "_" + std::to_string(bits) + (top_down ? "_top" : "") + ".bmp", bmp);
            }
            MemoryWriter tga;
            EncodeTga(image, tga, bits);
            Save(root / "tga", stem + "_" + std::to_string(bits) + ".tga", tga);
        }
        MemoryWriter ppm;
        EncodePpm(image, ppm);
        Save(root / "ppm", stem + ".ppm", ppm);
        for (bool interlaced : {false, true}) {
            MemoryWriter png;
            EncodePng(image, png, interlaced);
            Save(root / "png", stem + (interlaced ? "_adam7" : "") + ".png", png);
        }
        for (int quality : {50, 90}) {
            MemoryWriter jpg;
            EncodeJpg(image, jpg, quality, quality - 20);
            Save(root / "jpg", stem + "_q" + std::to_string(quality) + ".jpg", jpg);
        }
    }
    // The text form, which our encoder does not write.
    MemoryWriter p3;
    std::string const text = "P3\n# seed\n2 2\n15\n15 0 0 0 15 0\n0 0 15 7 7 7\n";
    p3.Write(text.data(), text.size());
    Save(root / "ppm", "2x2_text.ppm", p3);
    SaveHandMadeSeeds(root);
    return 0;
}
