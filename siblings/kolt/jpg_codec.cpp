// JPEG decoder and encoder through libjpeg.
//
// libjpeg reports errors through error_exit, which here jumps back with
// longjmp. As for PNG: the functions under the setjmp hold no objects with
// destructors, and the source and destination managers catch what our
// reader or writer throws and hand it over before libjpeg jumps; it is
// thrown again once libjpeg has returned.
#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>
#include <jerror.h>

#include <algorithm>
#include <exception>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "image_codec.h"

namespace kolt::codec {

namespace {

// Pixels a file may describe per byte of its size when the size is known:
// even a flat image needs a bit or more for each 8 x 8 block, so more is a
// header that lies.
constexpr std::uint64_t kMaxPixelsPerByte = 1024;

// The chrominance table of the JPEG standard's example tables, in natural
// order; libjpeg scales it by the chroma quality.
constexpr unsigned int kChrominanceTable[64] = {
    17, 18, 24, 47, 99, 99, 99, 99, 18, 21, 26, 66, 99, 99, 99, 99,
    24, 26, 56, 99, 99, 99, 99, 99, 47, 66, 99, 99, 99, 99, 99, 99,
    99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99,
    99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99};

constexpr std::size_t kChunk = 64 * 1024;

struct JpegError {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX] = "";
};

void OnErrorExit(j_common_ptr cinfo)
{
    auto *error = reinterpret_cast<JpegError *>(cinfo->err);
    (*cinfo->err->format_message)(cinfo, error->message);
    std::longjmp(error->jump, 1);
}

void OnOutputMessage(j_common_ptr) {}

struct JpegSource {
    jpeg_source_mgr manager;
    ByteReader *reader = nullptr;
    std::exception_ptr error;
    unsigned char buffer[kChunk];
};

void InitSource(j_decompress_ptr) {}
void TermSource(j_decompress_ptr) {}

boolean FillInput(j_decompress_ptr cinfo)
{
    auto *source = reinterpret_cast<JpegSource *>(cinfo->src);
    std::size_t got = 0;
    try {
        // Without a known size, byte by byte: a larger request would make a
        // stream throw at its end.
        std::uint64_t const remaining = source->reader->Remaining();
        std::size_t const wanted =
            remaining == ByteReader::kUnknownSize ? 1 : static_cast<std::size_t>(std::min<std::uint64_t>(kChunk, remaining));
        if (wanted > 0)
            got = source->reader->ReadUpTo(source->buffer, wanted);
    } catch (...) {
        source->error = std::current_exception();
    }
    if (got == 0)
        ERREXIT(cinfo, JERR_INPUT_EOF);
    source->manager.next_input_byte = source->buffer;
    source->manager.bytes_in_buffer = got;
    return TRUE;
}

void SkipInput(j_decompress_ptr cinfo, long count)
{
    auto *source = reinterpret_cast<JpegSource *>(cinfo->src);
    while (count > 0) {
        if (source->manager.bytes_in_buffer == 0)
            FillInput(cinfo);
        std::size_t const step = std::min<std::size_t>(static_cast<std::size_t>(count), source->manager.bytes_in_buffer);
        source->manager.next_input_byte += step;
        source->manager.bytes_in_buffer -= step;
        count -= static_cast<long>(step);
    }
}

struct JpegDestination {
    jpeg_destination_mgr manager;
    ByteWriter *writer = nullptr;
    std::exception_ptr error;
    unsigned char buffer[kChunk];
};

void InitDestination(j_compress_ptr cinfo)
{
    auto *destination = reinterpret_cast<JpegDestination *>(cinfo->dest);
    destination->manager.next_output_byte = destination->buffer;
    destination->manager.free_in_buffer = kChunk;
}

// Hands the filled part of the buffer to the writer; false when it threw.
bool Drain(JpegDestination *destination, std::size_t count)
{
    try {
        destination->writer->Write(destination->buffer, count);
        return true;
    } catch (...) {
        destination->error = std::current_exception();
        return false;
    }
}

boolean EmptyOutput(j_compress_ptr cinfo)
{
    auto *destination = reinterpret_cast<JpegDestination *>(cinfo->dest);
    if (!Drain(destination, kChunk))
        ERREXIT(cinfo, JERR_FILE_WRITE);
    InitDestination(cinfo);
    return TRUE;
}

void TermDestination(j_compress_ptr cinfo)
{
    auto *destination = reinterpret_cast<JpegDestination *>(cinfo->dest);
    if (!Drain(destination, kChunk - destination->manager.free_in_buffer))
        ERREXIT(cinfo, JERR_FILE_WRITE);
}

// What the decoding loop fills.
struct JpegRows {
    ByteReader *reader = nullptr;
    std::optional<RowCollector> rows;
    std::vector<unsigned char> cmyk;
    bool adobe_inverted = false;

    void Start(j_decompress_ptr cinfo)
    {
        CheckDimensions(cinfo->image_width, cinfo->image_height, "JPEG");
        std::uint64_t const pixels = std::uint64_t{cinfo->image_width} * cinfo->image_height;
        std::uint64_t const remaining = reader->Remaining();
        if (remaining != ByteReader::kUnknownSize &&
            pixels > kMaxPixelsPerByte * (reader->Consumed() + remaining))
            throw DecodeError("reading JPEG: " + std::to_string(pixels) + " pixels cannot come from a " +
                              std::to_string(reader->Consumed() + remaining) + "-byte file");
        rows.emplace(cinfo->image_width, cinfo->image_height);
        if (cinfo->jpeg_color_space == JCS_CMYK || cinfo->jpeg_color_space == JCS_YCCK) {
            cinfo->out_color_space = JCS_CMYK;
            cmyk.resize(std::size_t{cinfo->image_width} * 4);
            adobe_inverted = cinfo->saw_Adobe_marker;
        } else {
            cinfo->out_color_space = JCS_EXT_BGRA;
        }
    }

    JSAMPROW NextLine()
    {
        if (!cmyk.empty())
            return cmyk.data();
        return reinterpret_cast<JSAMPROW>(rows->NextRow());
    }

    // CMYK rows become RGB; Adobe files store the inks inverted.
    void Keep()
    {
        if (cmyk.empty())
            return;
        ColorI *out = rows->NextRow();
        unsigned char const *in = cmyk.data();
        for (unsigned int x = 0; x < rows->Width(); ++x, in += 4) {
            unsigned int c = in[0], m = in[1], y = in[2], k = in[3];
            if (!adobe_inverted) {
                c = 255 - c;
                m = 255 - m;
                y = 255 - y;
                k = 255 - k;
            }
            out[x] = ColorI(static_cast<unsigned char>(c * k / 255), static_cast<unsigned char>(m * k / 255),
                            static_cast<unsigned char>(y * k / 255), 255);
        }
    }
};

bool RunDecode(j_decompress_ptr cinfo, JpegError *error, JpegRows *state)
{
    if (setjmp(error->jump))
        return false;
    jpeg_read_header(cinfo, TRUE);
    state->Start(cinfo);
    jpeg_start_decompress(cinfo);
    while (cinfo->output_scanline < cinfo->output_height) {
        JSAMPROW line = state->NextLine();
        if (jpeg_read_scanlines(cinfo, &line, 1) != 1)
            ERREXIT(cinfo, JERR_INPUT_EOF);
        state->Keep();
    }
    jpeg_finish_decompress(cinfo);
    return true;
}

bool RunEncode(j_compress_ptr cinfo, JpegError *error, PixelImage const *image, int luma_quality,
               int chroma_quality)
{
    if (setjmp(error->jump))
        return false;
    cinfo->image_width = image->Width();
    cinfo->image_height = image->Height();
    cinfo->input_components = 4;
    cinfo->in_color_space = JCS_EXT_BGRA;
    jpeg_set_defaults(cinfo);
    jpeg_set_quality(cinfo, luma_quality, TRUE);
    jpeg_add_quant_table(cinfo, 1, kChrominanceTable, jpeg_quality_scaling(chroma_quality), TRUE);
    jpeg_start_compress(cinfo, TRUE);
    while (cinfo->next_scanline < cinfo->image_height) {
        auto line = const_cast<JSAMPROW>(reinterpret_cast<JSAMPLE const *>(&(*image)(0, cinfo->next_scanline)));
        jpeg_write_scanlines(cinfo, &line, 1);
    }
    jpeg_finish_compress(cinfo);
    return true;
}

// Owns a decompressor or compressor for the length of one call.
template <class Info>
class JpegHandle {
public:
    JpegHandle() = default;
    ~JpegHandle()
    {
        if (created)
            jpeg_destroy(reinterpret_cast<j_common_ptr>(&info));
    }
    JpegHandle(JpegHandle const &) = delete;
    JpegHandle &operator=(JpegHandle const &) = delete;

    Info info{};
    JpegError error;
    bool created = false;
};

void SetUpErrors(JpegError &error)
{
    jpeg_std_error(&error.manager);
    error.manager.error_exit = OnErrorExit;
    error.manager.output_message = OnOutputMessage;
}

}  // namespace

void DecodeJpg(ByteReader &reader, PixelImage &image)
{
    JpegHandle<jpeg_decompress_struct> handle;
    SetUpErrors(handle.error);
    handle.info.err = &handle.error.manager;
    auto source = std::make_unique<JpegSource>();
    source->reader = &reader;
    source->manager.init_source = InitSource;
    source->manager.fill_input_buffer = FillInput;
    source->manager.skip_input_data = SkipInput;
    source->manager.resync_to_restart = jpeg_resync_to_restart;
    source->manager.term_source = TermSource;
    source->manager.next_input_byte = nullptr;
    source->manager.bytes_in_buffer = 0;
    if (setjmp(handle.error.jump))
        throw DecodeError(std::string("reading JPEG: ") + handle.error.message);
    jpeg_create_decompress(&handle.info);
    handle.created = true;
    handle.info.src = &source->manager;
    JpegRows rows;
    rows.reader = &reader;
    bool const ok = RunDecode(&handle.info, &handle.error, &rows);
    if (source->error)
        std::rethrow_exception(source->error);
    if (!ok)
        throw DecodeError(std::string("reading JPEG: ") + handle.error.message);
    rows.rows->Commit(image, false);
}

bool EncodeJpg(PixelImage const &image, ByteWriter &writer, int luma_quality, int chroma_quality)
{
    if (!HasPixels(image) || image.Width() > 65500 || image.Height() > 65500)
        return false;
    JpegHandle<jpeg_compress_struct> handle;
    SetUpErrors(handle.error);
    handle.info.err = &handle.error.manager;
    auto destination = std::make_unique<JpegDestination>();
    destination->writer = &writer;
    destination->manager.init_destination = InitDestination;
    destination->manager.empty_output_buffer = EmptyOutput;
    destination->manager.term_destination = TermDestination;
    if (setjmp(handle.error.jump))
        return false;
    jpeg_create_compress(&handle.info);
    handle.created = true;
    handle.info.dest = &destination->manager;
    bool const ok = RunEncode(&handle.info, &handle.error, &image, std::clamp(luma_quality, 1, 100),
                              std::clamp(chroma_quality, 1, 100));
    if (destination->error)
        std::rethrow_exception(destination->error);
    return ok;
}

}  // namespace kolt::codec
