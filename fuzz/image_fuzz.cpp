// One libFuzzer target per image decoder, reading through the wrappers
// from a memory stream; IMAGE_FUZZ_FORMAT_BMP (or _TGA, _PPM, _PNG, _JPG)
// picks the decoder. A reader may refuse any input; it may not crash, hang,
// leak, throw, touch the image when it refuses, or hand back an image whose
// pixel array does not match its size.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include <tessiv/imaging/image_io.h>
#include <tessiv/scene/stream_mem.h>

namespace {

bool Read(kolt::CStreamI &stream, kolt::PixelImage &image)
{
#if IMAGE_FUZZ_FORMAT_BMP
    return kolt::BMPImage(image, 24, false, false).Read(stream);
#elif IMAGE_FUZZ_FORMAT_TGA
    return kolt::TGAImage(image, 24).Read(stream);
#elif IMAGE_FUZZ_FORMAT_PPM
    return kolt::PPMImage(image).Read(stream);
#elif IMAGE_FUZZ_FORMAT_PNG
    return kolt::PNGImage(image, false).Read(stream);
#elif IMAGE_FUZZ_FORMAT_JPG
    return kolt::JPGImage(image, 75, 75).Read(stream);
#else
#error "IMAGE_FUZZ_FORMAT_<format> selects the decoder"
#endif
}

}  // namespace

// No exception may leave a wrapper: one escaping here is a finding too.
extern "C" int LLVMFuzzerTestOneInput(std::uint8_t const *data, std::size_t size)
{
    kolt::CStreamMem stream;
    stream.set_data(data, static_cast<unsigned int>(size));
    kolt::PixelImage image;
    if (!Read(stream, image)) {
        if (image.Width() != 0 || image.GetBufferEnd() != image.GetBuffer())
            std::abort();
        return 0;
    }
    std::uint64_t const pixels = std::uint64_t{image.Width()} * image.Height();
    if (pixels == 0 || static_cast<std::uint64_t>(image.GetBufferEnd() - image.GetBuffer()) != pixels)
        std::abort();
    return 0;
}
