// PNG decoder and encoder through libpng.
//
// libpng reports errors by longjmp. The functions that call libpng under a
// setjmp hold no objects with destructors, the callbacks catch whatever our
// reader or writer throws and hand it over before they let libpng jump, and
// the exception is thrown again once libpng has returned: nothing unwinds
// through libpng and no longjmp skips a destructor.
#include <png.h>

#include <cstring>
#include <exception>
#include <optional>
#include <string>
#include <vector>

#include "image_codec.h"

namespace kolt::codec {

namespace {

// Pixels per byte of file up to which an image is taken to be really
// there (deflate packs at most about 1032 bytes into one).
constexpr std::uint64_t kMaxPixelsPerByte = 1024;

// Text of the last libpng error.
struct PngErrorText {
    char text[200] = "";
};

// What the read and write callbacks work with.
struct PngContext {
    ByteReader *reader = nullptr;
    ByteWriter *writer = nullptr;
    std::exception_ptr error;  // thrown by the reader or the writer
    PngErrorText message;
};

PngContext &ContextOf(png_structp png)
{
    return *static_cast<PngContext *>(png_get_error_ptr(png));
}

void OnError(png_structp png, png_const_charp message)
{
    PngContext &context = ContextOf(png);
    std::strncpy(context.message.text, message, sizeof context.message.text - 1);
    png_longjmp(png, 1);
}

void OnWarning(png_structp, png_const_charp) {}

void OnRead(png_structp png, png_bytep data, std::size_t length)
{
    PngContext &context = ContextOf(png);
    bool complete = false;
    try {
        complete = context.reader->ReadUpTo(data, length) == length;
    } catch (...) {
        context.error = std::current_exception();
    }
    // Outside the handler: png_error does not return.
    if (!complete)
        png_error(png, "data ends before the image does");
}

void OnWrite(png_structp png, png_bytep data, std::size_t length)
{
    PngContext &context = ContextOf(png);
    bool written = false;
    try {
        context.writer->Write(data, length);
        written = true;
    } catch (...) {
        context.error = std::current_exception();
    }
    if (!written)
        png_error(png, "writing failed");
}

void OnFlush(png_structp) {}

// The decoded sub-images of the passes, collected as libpng delivers them.
struct PngRows {
    PixelImage *image = nullptr;
    ByteReader *reader = nullptr;
    unsigned int width = 0;
    unsigned int height = 0;
    bool interlaced = false;
    std::vector<unsigned char> line;
    std::vector<ColorI> passes;  // interlaced: the pass rows one after another
    std::optional<RowCollector> rows;

    void Start(png_uint_32 w, png_uint_32 h, bool adam7)
    {
        CheckDimensions(w, h, "PNG");
        width = w;
        height = h;
        interlaced = adam7;
        line.resize(std::size_t{w} * 4);
        // Straight into the image only when the file is large enough to
        // hold it; an interlaced image is gathered pass by pass first.
        std::uint64_t const size = reader->Consumed() + reader->Remaining();
        bool const plausible = reader->Remaining() != ByteReader::kUnknownSize &&
                               std::uint64_t{w} * h <= kMaxPixelsPerByte * size;
        rows.emplace(*image, w, h, false, plausible && !adam7);
    }

    // Where libpng puts the next row it decodes.
    unsigned char *NextLine()
    {
        if (!interlaced)
            return reinterpret_cast<unsigned char *>(rows->NextRow());
        return line.data();
    }

    void Keep(int pass)
    {
        if (!interlaced)
            return;
        unsigned int const columns = PNG_PASS_COLS(width, pass);
        auto const *first = reinterpret_cast<ColorI const *>(line.data());
        passes.insert(passes.end(), first, first + columns);
    }

    // Spreads the pass pixels over the image.
    void Finish()
    {
        if (!interlaced)
            return;
        for (unsigned int y = 0; y < height; ++y)
            rows->NextRow();
        ColorI const *in = passes.data();
        for (int pass = 0; pass < 7; ++pass) {
            unsigned int const columns = PNG_PASS_COLS(width, pass);
            unsigned int const count = PNG_PASS_ROWS(height, pass);
            if (columns == 0)
                continue;
            for (unsigned int r = 0; r < count; ++r) {
                ColorI *out = rows->Row(PNG_ROW_FROM_PASS_ROW(r, pass));
                for (unsigned int c = 0; c < columns; ++c)
                    out[PNG_COL_FROM_PASS_COL(c, pass)] = *in++;
            }
        }
    }
};

// Reads the whole image; false after a libpng error. No destructors here.
bool RunRead(png_structp png, png_infop info, PngRows *state)
{
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_set_user_limits(png, kMaxDimension, kMaxDimension);
    png_set_chunk_malloc_max(png, 8u << 20);
    // Every chunk but IHDR, PLTE, tRNS, IDAT and IEND is passed over in
    // small steps, unread: libpng would otherwise allocate a text, profile
    // or palette-suggestion chunk at its declared length (up to 2 GiB)
    // before finding that the data ends, and nothing of them is used here.
    png_set_keep_unknown_chunks(png, PNG_HANDLE_CHUNK_NEVER, nullptr, -1);
    png_read_info(png, info);
    png_uint_32 width = 0, height = 0;
    int bit_depth = 0, colour_type = 0, interlace = 0;
    png_get_IHDR(png, info, &width, &height, &bit_depth, &colour_type, &interlace, nullptr, nullptr);
    // Every colour type and depth becomes 8-bit B, G, R, A in memory.
    if (colour_type == PNG_COLOR_TYPE_PALETTE)
        png_set_palette_to_rgb(png);
    if (colour_type == PNG_COLOR_TYPE_GRAY && bit_depth < 8)
        png_set_expand_gray_1_2_4_to_8(png);
    if (png_get_valid(png, info, PNG_INFO_tRNS))
        png_set_tRNS_to_alpha(png);
    if (bit_depth == 16)
        png_set_scale_16(png);
    if (colour_type == PNG_COLOR_TYPE_GRAY || colour_type == PNG_COLOR_TYPE_GRAY_ALPHA)
        png_set_gray_to_rgb(png);
    png_set_add_alpha(png, 0xFF, PNG_FILLER_AFTER);
    png_set_bgr(png);
    png_read_update_info(png, info);
    if (png_get_rowbytes(png, info) != std::size_t{width} * 4)
        png_error(png, "unexpected row size after the transformations");
    bool const adam7 = interlace == PNG_INTERLACE_ADAM7;
    state->Start(width, height, adam7);
    for (int pass = 0; pass < (adam7 ? 7 : 1); ++pass) {
        unsigned int const rows = adam7 ? PNG_PASS_ROWS(height, pass) : height;
        if (adam7 && PNG_PASS_COLS(width, pass) == 0)
            continue;
        for (unsigned int row = 0; row < rows; ++row) {
            png_read_row(png, state->NextLine(), nullptr);
            state->Keep(pass);
        }
    }
    png_read_end(png, nullptr);
    return true;
}

bool RunWrite(png_structp png, png_infop info, PixelImage const *image, bool interlaced)
{
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_set_IHDR(png, info, image->Width(), image->Height(), 8, PNG_COLOR_TYPE_RGB_ALPHA,
                 interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    png_set_bgr(png);
    int const passes = interlaced ? png_set_interlace_handling(png) : 1;
    for (int pass = 0; pass < passes; ++pass)
        for (unsigned int y = 0; y < image->Height(); ++y)
            png_write_row(png, reinterpret_cast<png_const_bytep>(&(*image)(0, y)));
    png_write_end(png, nullptr);
    return true;
}

// Owns the libpng structures for the length of one call.
class PngHandle {
public:
    PngHandle(bool reading, PngContext &context) : reading_(reading)
    {
        png_ = reading ? png_create_read_struct(PNG_LIBPNG_VER_STRING, &context, OnError, OnWarning)
                       : png_create_write_struct(PNG_LIBPNG_VER_STRING, &context, OnError, OnWarning);
        if (png_ != nullptr)
            info_ = png_create_info_struct(png_);
        if (png_ == nullptr || info_ == nullptr) {
            Release();
            throw std::bad_alloc();
        }
    }
    ~PngHandle() { Release(); }
    PngHandle(PngHandle const &) = delete;
    PngHandle &operator=(PngHandle const &) = delete;

    png_structp png() const { return png_; }
    png_infop info() const { return info_; }

private:
    void Release()
    {
        if (png_ == nullptr)
            return;
        if (reading_)
            png_destroy_read_struct(&png_, info_ != nullptr ? &info_ : nullptr, nullptr);
        else
            png_destroy_write_struct(&png_, info_ != nullptr ? &info_ : nullptr);
    }

    bool reading_;
    png_structp png_ = nullptr;
    png_infop info_ = nullptr;
};

}  // namespace

void DecodePng(ByteReader &reader, PixelImage &image)
{
    unsigned char signature[8];
    reader.ReadExact(signature, sizeof signature, "reading PNG: signature");
    if (png_sig_cmp(signature, 0, sizeof signature) != 0)
        throw DecodeError("reading PNG: the file does not start with the PNG signature");
    PngContext context;
    context.reader = &reader;
    PngHandle handle(true, context);
    png_set_read_fn(handle.png(), &context, OnRead);
    png_set_sig_bytes(handle.png(), sizeof signature);
    PngRows rows;
    rows.image = &image;
    rows.reader = &reader;
    bool const ok = RunRead(handle.png(), handle.info(), &rows);
    if (context.error)
        std::rethrow_exception(context.error);
    if (!ok)
        throw DecodeError(std::string("reading PNG: ") + context.message.text);
    rows.Finish();
    rows.rows->Commit();
}

bool EncodePng(PixelImage const &image, ByteWriter &writer, bool interlaced)
{
    if (!HasPixels(image))
        return false;
    PngContext context;
    context.writer = &writer;
    PngHandle handle(false, context);
    png_set_write_fn(handle.png(), &context, OnWrite, OnFlush);
    bool const ok = RunWrite(handle.png(), handle.info(), &image, interlaced);
    if (context.error)
        std::rethrow_exception(context.error);
    return ok;
}

}  // namespace kolt::codec
