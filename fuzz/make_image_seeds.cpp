// Writes the image decoders' seed corpora with our own encoders:
//   make_image_seeds <fuzz/seeds folder>
// Small images with and without alpha, odd widths and the encoders' options.
// Run by hand when the encoders change; the results are checked in.
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
    return 0;
}
