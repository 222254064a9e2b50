// One libFuzzer target per image decoder; IMAGE_FUZZ_FORMAT (bmp, tga, ppm,
// png, jpg) picks the decoder. A decoder may refuse any input; it may not
// crash, hang, leak or hand back an image whose pixel array does not match
// its size.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <new>

#include <tessiv/siblings/kolt/image_codec.h>

namespace {

void Decode(kolt::codec::ByteReader &reader, kolt::PixelImage &image)
{
    using namespace kolt::codec;
#if IMAGE_FUZZ_FORMAT_BMP
    DecodeBmp(reader, image, false);
#elif IMAGE_FUZZ_FORMAT_TGA
    DecodeTga(reader, image);
#elif IMAGE_FUZZ_FORMAT_PPM
    DecodePpm(reader, image);
#elif IMAGE_FUZZ_FORMAT_PNG
    DecodePng(reader, image);
#elif IMAGE_FUZZ_FORMAT_JPG
    DecodeJpg(reader, image);
#else
#error "IMAGE_FUZZ_FORMAT_<format> selects the decoder"
#endif
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(std::uint8_t const *data, std::size_t size)
{
    kolt::codec::MemoryReader reader(data, size);
    kolt::PixelImage image;
    try {
        Decode(reader, image);
    } catch (kolt::codec::DecodeError const &) {
        return 0;
    }
    std::uint64_t const pixels = std::uint64_t{image.Width()} * image.Height();
    if (pixels == 0 || static_cast<std::uint64_t>(image.GetBufferEnd() - image.GetBuffer()) != pixels)
        std::abort();
    return 0;
}
