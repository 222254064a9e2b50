// The byte source, tokenizer and number parsing shared by the mesh readers.
#include <tessiv/siblings/zt_base/mesh_io_detail.h>

#include <algorithm>
#include <charconv>
#include <cstring>

namespace kolt::mesh_io {

namespace {

constexpr std::size_t kBlock = 1 << 16;
// A text line longer than this is refused rather than buffered.
constexpr std::size_t kMaxLine = 1 << 20;

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\f' || c == '\v';
}

}  // namespace

ByteSource::ByteSource(CStreamI &in, char const *format) : m_in(in), m_format(format)
{
    m_buffer.resize(kBlock);
}

std::uint64_t ByteSource::BytesLeft() const
{
    std::uint64_t const stream_left = m_in.bytes_left();
    if (stream_left == CStreamI::kUnknownSize)
        return CStreamI::kUnknownSize;
    return stream_left + (m_end - m_begin);
}

void ByteSource::Fill(std::size_t n)
{
    if (m_end - m_begin >= n || m_at_end)
        return;
    // Move the unread bytes to the front, then grow the block if n needs it.
    if (m_begin > 0) {
        std::memmove(m_buffer.data(), m_buffer.data() + m_begin, m_end - m_begin);
        m_consumed += m_begin;
        m_end -= m_begin;
        m_begin = 0;
    }
    if (m_buffer.size() < n)
        m_buffer.resize(std::max(n, m_buffer.size() * 2));
    while (m_end < n && !m_at_end) {
        std::uint64_t const left = m_in.bytes_left();
        if (left == CStreamI::kUnknownSize) {
            // A source that cannot tell its size (a pipe) is read byte by
            // byte up to n; its end shows as the read that fails.
            try {
                m_in.read(m_buffer.data() + m_end, 1);
                ++m_end;
            } catch (IOException const &) {
                m_at_end = true;
            }
            continue;
        }
        std::size_t const room = m_buffer.size() - m_end;
        std::size_t const chunk = static_cast<std::size_t>(std::min<std::uint64_t>(room, left));
        if (chunk == 0) {
            m_at_end = true;
            break;
        }
        m_in.read(m_buffer.data() + m_end, static_cast<unsigned int>(chunk));
        m_end += chunk;
    }
}

std::size_t ByteSource::Peek(std::size_t n)
{
    Fill(n);
    return std::min(n, m_end - m_begin);
}

void ByteSource::Read(void *target, std::size_t n, char const *what)
{
    if (n == 0)
        return;
    // Large reads go through the block in pieces so the buffer stays small.
    auto *out = static_cast<char *>(target);
    while (n > 0) {
        std::size_t const piece = std::min(n, kBlock);
        std::size_t const got = Peek(piece);
        if (got < piece)
            FailAtOffset(std::string(what) + ": needs " + std::to_string(n) + " bytes, " +
                         std::to_string(got) + " left");
        std::memcpy(out, Data(), piece);
        Skip(piece);
        out += piece;
        n -= piece;
    }
}

bool ByteSource::NextLine(std::string_view &line)
{
    std::size_t scanned = 0;
    for (;;) {
        char const *start = m_buffer.data() + m_begin;
        std::size_t const available = m_end - m_begin;
        auto const *newline =
            static_cast<char const *>(std::memchr(start + scanned, '\n', available - scanned));
        if (newline != nullptr || m_at_end) {
            std::size_t length = newline != nullptr ? static_cast<std::size_t>(newline - start) : available;
            if (newline == nullptr && length == 0)
                return false;
            ++m_line;
            m_begin += length + (newline != nullptr ? 1 : 0);
            if (length > 0 && start[length - 1] == '\r')
                --length;
            line = std::string_view(start, length);
            return true;
        }
        if (available >= kMaxLine)
            Fail("line " + std::to_string(m_line + 1) + " is longer than " +
                 std::to_string(kMaxLine) + " bytes");
        scanned = available;
        Fill(available + kBlock);
        // Fill may have moved the bytes to the front of the block.
    }
}

void ByteSource::Fail(std::string const &cause) const
{
    throw IOException("reading " + m_format + ": " + cause);
}

void ByteSource::FailAtLine(std::string const &cause) const
{
    Fail(cause + " at line " + std::to_string(m_line));
}

void ByteSource::FailAtOffset(std::string const &cause) const
{
    Fail(cause + " at byte offset " + std::to_string(Offset()));
}

std::string_view Tokens::Next()
{
    std::size_t i = 0;
    while (i < m_text.size() && IsBlank(m_text[i]))
        ++i;
    std::size_t j = i;
    while (j < m_text.size() && !IsBlank(m_text[j]))
        ++j;
    std::string_view const token = m_text.substr(i, j - i);
    m_text.remove_prefix(j);
    return token;
}

namespace {

// The whole token, an optional '+' first, as a T.
template <class T>
bool ParseWhole(std::string_view token, T &value)
{
    char const *first = token.data();
    char const *last = first + token.size();
    if (first != last && *first == '+')
        ++first;
    auto const result = std::from_chars(first, last, value);
    return first != last && result.ec == std::errc() && result.ptr == last;
}

}  // namespace

bool ParseDouble(std::string_view token, double &value)
{
    return ParseWhole(token, value);
}

bool ParseInt(std::string_view token, long long &value)
{
    return ParseWhole(token, value);
}

std::string Quoted(std::string_view token)
{
    constexpr std::size_t kShown = 32;
    static char const kHex[] = "0123456789ABCDEF";
    std::string text = "\"";
    for (char const c : token.substr(0, kShown)) {
        auto const byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte < 0x7F) {
            text += c;
        } else {
            text += "\\x";
            text += kHex[byte >> 4];
            text += kHex[byte & 15];
        }
    }
    if (token.size() > kShown)
        text += "...";
    return text + "\"";
}

}  // namespace kolt::mesh_io
