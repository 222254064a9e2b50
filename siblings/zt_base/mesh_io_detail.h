// Internal to the mesh readers and writers of libzt_base.so (not a host
// interface): the buffered byte source over a kolt::CStreamI with offsets and
// line numbers for the error messages, number parsing, the parsed file
// contents and the step that turns them into a kolt::TMeshBase.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <charconv>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include <tessiv/scene/mesh_io.h>

namespace kolt::mesh_io {

// What a reader gathers before the mesh is touched. The optional arrays are
// empty or hold one entry per vertex (3, 2 and 4 values).
struct MeshData {
    std::vector<double> positions;
    std::vector<double> normals;
    std::vector<double> texture_coords;
    std::vector<float> colors;
    std::vector<int> triangles;
    int skipped_faces = 0;
};

// Replaces mesh with the data and builds the topology. Every triangle index
// must already be below the vertex count; faces with a repeated vertex are
// dropped from data.triangles and counted.
MeshLoadReport FillMesh(MeshData &data, TMeshBase &mesh);

// Reads a stream in blocks. Binary readers take exact byte counts, text
// readers take lines; every failure throws kolt::IOException as
// "reading <format>: <cause>".
class ByteSource {
public:
    ByteSource(CStreamI &in, char const *format);

    // Bytes still to come (buffered or in the stream), or
    // CStreamI::kUnknownSize when the stream cannot tell.
    std::uint64_t BytesLeft() const;
    // Offset of the next unread byte from where reading began.
    std::uint64_t Offset() const { return m_consumed + m_begin; }
    // Line number of the line NextLine returned last (1-based).
    std::uint64_t Line() const { return m_line; }

    // Buffers up to n bytes; returns how many are buffered (fewer only at the
    // end of the data). Data() points at them.
    std::size_t Peek(std::size_t n);
    char const *Data() const { return m_buffer.data() + m_begin; }
    void Skip(std::size_t n) { m_begin += n; }
    // Copies exactly n bytes or throws naming what.
    void Read(void *target, std::size_t n, char const *what);
    // The next line without its CR/LF; false at the end of the data.
    bool NextLine(std::string_view &line);

    [[noreturn]] void Fail(std::string const &cause) const;
    // Fail with " at line N" or " at byte offset N" appended.
    [[noreturn]] void FailAtLine(std::string const &cause) const;
    [[noreturn]] void FailAtOffset(std::string const &cause) const;

private:
    // Reads more from the stream so that at least n bytes are buffered when
    // the data has them.
    void Fill(std::size_t n);

    CStreamI &m_in;
    std::string m_format;
    std::vector<char> m_buffer;
    std::size_t m_begin = 0;
    std::size_t m_end = 0;
    std::uint64_t m_consumed = 0;
    std::uint64_t m_line = 0;
    bool m_at_end = false;
};

// Splits a line into whitespace-separated tokens, one at a time.
class Tokens {
public:
    explicit Tokens(std::string_view text) : m_text(text) {}
    // The next token, or an empty view at the end.
    std::string_view Next();

private:
    std::string_view m_text;
};

// A token from the file for an error message: in double quotes, cut to 32
// bytes, every byte outside printable ASCII written as \xNN, so a binary
// file read as text never puts raw bytes into a message.
std::string Quoted(std::string_view token);

// Parse a whole token as a number; false when it is not one (or, for
// integers, out of range). Non-finite reals parse; callers check.
bool ParseDouble(std::string_view token, double &value);
bool ParseInt(std::string_view token, long long &value);

// An unsigned integer of size bytes (1, 2, 4 or 8) stored in the given byte
// order, widened.
inline std::uint64_t LoadUnsigned(unsigned char const *bytes, int size, bool big_endian)
{
    // The common sizes are one load, turned round when the order differs
    // from the machine's.
    bool const swap = big_endian != (std::endian::native == std::endian::big);
    switch (size) {
    case 1:
        return bytes[0];
    case 2: {
        std::uint16_t value;
        std::memcpy(&value, bytes, 2);
        return swap ? __builtin_bswap16(value) : value;
    }
    case 4: {
        std::uint32_t value;
        std::memcpy(&value, bytes, 4);
        return swap ? __builtin_bswap32(value) : value;
    }
    case 8: {
        std::uint64_t value;
        std::memcpy(&value, bytes, 8);
        return swap ? __builtin_bswap64(value) : value;
    }
    default:
        break;
    }
    std::uint64_t value = 0;
    for (int i = 0; i < size; ++i) {
        int const shift = 8 * (big_endian ? size - 1 - i : i);
        value |= std::uint64_t{bytes[i]} << shift;
    }
    return value;
}

inline void StoreUnsigned(unsigned char *bytes, std::uint64_t value, int size, bool big_endian)
{
    for (int i = 0; i < size; ++i) {
        int const shift = 8 * (big_endian ? size - 1 - i : i);
        bytes[i] = static_cast<unsigned char>(value >> shift);
    }
}

inline float LoadFloat(unsigned char const *bytes, bool big_endian)
{
    auto const bits = static_cast<std::uint32_t>(LoadUnsigned(bytes, 4, big_endian));
    float value;
    std::memcpy(&value, &bits, 4);
    return value;
}

inline double LoadDouble(unsigned char const *bytes, bool big_endian)
{
    std::uint64_t const bits = LoadUnsigned(bytes, 8, big_endian);
    double value;
    std::memcpy(&value, &bits, 8);
    return value;
}

// Collects output and hands it to the stream in large writes.
class Sink {
public:
    explicit Sink(CStreamO &out) : m_out(out) { m_buffer.reserve(kFlushAt + 256); }
    ~Sink() = default;
    void Bytes(void const *data, std::size_t size)
    {
        auto const *p = static_cast<char const *>(data);
        m_buffer.insert(m_buffer.end(), p, p + size);
        if (m_buffer.size() >= kFlushAt)
            Flush();
    }
    void Text(std::string_view text) { Bytes(text.data(), text.size()); }
    void Number(float value)
    {
        char text[32];
        auto const result = std::to_chars(text, text + sizeof text, value);
        Bytes(text, static_cast<std::size_t>(result.ptr - text));
    }
    void Flush()
    {
        if (!m_buffer.empty())
            m_out.write(m_buffer.data(), static_cast<unsigned int>(m_buffer.size()));
        m_buffer.clear();
    }

private:
    static constexpr std::size_t kFlushAt = 1 << 16;
    CStreamO &m_out;
    std::vector<char> m_buffer;
};


// Finds or adds vertices by exact position (-0 and +0 are one position);
// indices follow first appearance.
class PositionWelder {
public:
    explicit PositionWelder(std::vector<double> &positions);
    int Index(double x, double y, double z);

private:
    void Rehash(std::size_t slot_count);

    std::vector<double> &m_positions;
    std::vector<int> m_slots;
};

}  // namespace kolt::mesh_io
