// The image codecs' common ground inside libkolt: the byte source and sink
// they read and write through (the file wrappers adapt the kolt streams to
// them), the decode error, the size limits and the row collector that lets
// a decoder grow its pixels only as far as the file's data really reaches.
// Not part of the installed interface.
#pragma once

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include <tessiv/imaging/pixel_image.h>

namespace kolt::codec {

// Widest and tallest image any decoder accepts.
inline constexpr unsigned int kMaxDimension = 32768;

// A malformed or truncated file; the wrappers turn it into a false result.
class DecodeError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Where a decoder's bytes come from. ReadUpTo returns fewer bytes than asked
// only when the data has ended.
class ByteReader {
public:
    virtual ~ByteReader() = default;

    std::size_t ReadUpTo(void *destination, std::size_t count)
    {
        std::size_t const got = ReadSome(destination, count);
        consumed_ += got;
        return got;
    }
    // Throws DecodeError naming `what` when the data ends first.
    void ReadExact(void *destination, std::size_t count, char const *what);
    std::uint8_t U8(char const *what);
    std::uint16_t U16LE(char const *what);
    std::uint32_t U32LE(char const *what);
    // Reads and drops count bytes.
    void Skip(std::uint64_t count, char const *what);
    // Bytes delivered so far.
    std::uint64_t Consumed() const { return consumed_; }
    // Bytes still to come, or kUnknownSize when the source cannot tell.
    virtual std::uint64_t Remaining() const { return kUnknownSize; }

    static constexpr std::uint64_t kUnknownSize = UINT64_MAX;

protected:
    virtual std::size_t ReadSome(void *destination, std::size_t count) = 0;

private:
    std::uint64_t consumed_ = 0;
};

// A reader over bytes in memory (tests, fuzzers, buffered decoders).
class MemoryReader : public ByteReader {
public:
    MemoryReader(void const *data, std::size_t size)
        : data_(static_cast<unsigned char const *>(data)), size_(size)
    {
    }

    std::uint64_t Remaining() const override { return size_ - position_; }

protected:
    std::size_t ReadSome(void *destination, std::size_t count) override;

private:
    unsigned char const *data_;
    std::size_t size_;
    std::size_t position_ = 0;
};

// Where an encoder's bytes go.
class ByteWriter {
public:
    virtual ~ByteWriter() = default;
    virtual void Write(void const *data, std::size_t count) = 0;

    void U8(std::uint8_t value) { Write(&value, 1); }
    void U16LE(std::uint16_t value);
    void U32LE(std::uint32_t value);
};

// A writer that appends to a byte vector.
class MemoryWriter : public ByteWriter {
public:
    void Write(void const *data, std::size_t count) override;
    std::vector<unsigned char> bytes;
};

// Throws DecodeError unless 1 <= width, height <= kMaxDimension.
void CheckDimensions(std::uint64_t width, std::uint64_t height, char const *format);

// Collects decoded rows in file order. Storage grows with the rows actually
// produced, so a header that claims a huge image costs memory only as far
// as its data goes; Commit copies the rows into the image in top-to-bottom
// order and is the only step that touches the image.
class RowCollector {
public:
    RowCollector(unsigned int width, unsigned int height);

    unsigned int Width() const { return width_; }
    unsigned int Height() const { return height_; }
    unsigned int RowsDone() const { return rows_done_; }

    // Storage for the next row in file order (uninitialised).
    ColorI *NextRow();
    // Row `row` (file order) of those already handed out.
    ColorI *Row(unsigned int row) { return pixels_.data() + std::size_t{row} * width_; }
    // Sets every alpha byte to 255.
    void MakeOpaque();
    // Sets every alpha byte to 255 when all of them are 0.
    void MakeOpaqueIfAllTransparent();
    // Copies the rows into the image; bottom_up: the first row is the bottom one.
    void Commit(PixelImage &image, bool bottom_up) const;

private:
    unsigned int width_;
    unsigned int height_;
    unsigned int rows_done_ = 0;
    std::vector<ColorI> pixels_;
};

// The cores behind the wrappers. Decoders throw DecodeError on a malformed
// file and leave the image untouched unless they succeed; they pass the
// reader's own exceptions through. Encoders return false for an image
// without pixels, writing nothing.
void DecodeBmp(ByteReader &reader, PixelImage &image, bool opaque);
bool EncodeBmp(PixelImage const &image, ByteWriter &writer, int bits_per_pixel, bool top_down);
void DecodeTga(ByteReader &reader, PixelImage &image);
bool EncodeTga(PixelImage const &image, ByteWriter &writer, int bits_per_pixel);
void DecodePpm(ByteReader &reader, PixelImage &image);
bool EncodePpm(PixelImage const &image, ByteWriter &writer);
void DecodePng(ByteReader &reader, PixelImage &image);
bool EncodePng(PixelImage const &image, ByteWriter &writer, bool interlaced);
void DecodeJpg(ByteReader &reader, PixelImage &image);
bool EncodeJpg(PixelImage const &image, ByteWriter &writer, int luma_quality, int chroma_quality);

// True when the image has pixels and its array holds width * height of them.
bool HasPixels(PixelImage const &image);

}  // namespace kolt::codec
