// Read and Write of the image-file wrappers: the kolt streams adapted to the
// codecs' byte source and sink. Decoding failures and failing streams alike
// become false: no exception leaves a wrapper.
#include <tessiv/imaging/image_io.h>

#include <algorithm>
#include <climits>
#include <exception>

#include <tessiv/scene/stream.h>

#include "image_codec.h"

namespace kolt {

namespace {

// Reads never ask a stream for more than it says it holds, so the end of
// the data is a short read rather than the stream's exception; a stream of
// unknown size throws at its end instead, which Read turns into false.
class StreamReader : public codec::ByteReader {
public:
    explicit StreamReader(CStreamI &stream) : stream_(stream) {}

    std::uint64_t Remaining() const override
    {
        std::uint64_t const left = stream_.bytes_left();
        return left == CStreamI::kUnknownSize ? kUnknownSize : left;
    }

protected:
    std::size_t ReadSome(void *destination, std::size_t count) override
    {
        std::uint64_t const left = Remaining();
        std::size_t const wanted = static_cast<std::size_t>(std::min<std::uint64_t>({count, left, UINT_MAX}));
        if (wanted > 0)
            stream_.read(destination, static_cast<unsigned int>(wanted));
        return wanted;
    }

private:
    CStreamI &stream_;
};

class StreamWriter : public codec::ByteWriter {
public:
    explicit StreamWriter(CStreamO &stream) : stream_(stream) {}

    void Write(void const *data, std::size_t count) override
    {
        auto const *bytes = static_cast<unsigned char const *>(data);
        while (count > 0) {
            auto const step = static_cast<unsigned int>(std::min<std::size_t>(count, UINT_MAX));
            if (!stream_.write(bytes, step))
                throw codec::DecodeError("writing image: the stream refused the bytes");
            bytes += step;
            count -= step;
        }
    }

private:
    CStreamO &stream_;
};

template <class Decode>
bool ReadImage(CStreamI &stream, PixelImage &image, Decode decode)
{
    StreamReader reader(stream);
    try {
        decode(reader, image);
        return true;
    } catch (std::exception const &) {
        // A malformed file, a failing stream (kolt::IOException) or memory.
        return false;
    }
}

template <class Encode>
bool WriteImage(CStreamO &stream, Encode encode)
{
    StreamWriter writer(stream);
    try {
        return encode(writer);
    } catch (std::exception const &) {
        // A malformed file, a failing stream (kolt::IOException) or memory.
        return false;
    }
}

}  // namespace

bool BMPImage::Read(CStreamI &stream)
{
    return ReadImage(stream, image, [this](codec::ByteReader &reader, PixelImage &target) {
        codec::DecodeBmp(reader, target, opaque_);
    });
}

bool BMPImage::Write(CStreamO &stream)
{
    return WriteImage(stream, [this](codec::ByteWriter &writer) {
        return codec::EncodeBmp(image, writer, bits_per_pixel_, top_down_);
    });
}

bool JPGImage::Read(CStreamI &stream)
{
    return ReadImage(stream, image, codec::DecodeJpg);
}

bool JPGImage::Write(CStreamO &stream)
{
    return WriteImage(stream, [this](codec::ByteWriter &writer) {
        return codec::EncodeJpg(image, writer, luma_quality_, chroma_quality_);
    });
}

bool PNGImage::Read(CStreamI &stream)
{
    return ReadImage(stream, image, codec::DecodePng);
}

bool PNGImage::Write(CStreamO &stream)
{
    return WriteImage(stream, [this](codec::ByteWriter &writer) {
        return codec::EncodePng(image, writer, interlaced_);
    });
}

bool PPMImage::Read(CStreamI &stream)
{
    return ReadImage(stream, image, codec::DecodePpm);
}

bool PPMImage::Write(CStreamO &stream)
{
    return WriteImage(stream, [this](codec::ByteWriter &writer) { return codec::EncodePpm(image, writer); });
}

bool TGAImage::Read(CStreamI &stream)
{
    return ReadImage(stream, image, codec::DecodeTga);
}

bool TGAImage::Write(CStreamO &stream)
{
    return WriteImage(stream, [this](codec::ByteWriter &writer) {
        return codec::EncodeTga(image, writer, bits_per_pixel_);
    });
}

}  // namespace kolt
