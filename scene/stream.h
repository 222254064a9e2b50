// The stream classes every record of the scene and image layers is saved to
// and loaded from: kolt::CStreamO (output), kolt::CStreamI (input),
// kolt::CStreamIO (both), the exception they throw, and the extraction of a
// kolt::String. The file, memory and diagnostic streams are in
// stream_file.h, stream_mem.h and stream_debug.h. Members defined here are
// inline; the conversions and transfers live in libkolt.so.
//
// Wire format. A stream is in binary mode or in text mode (its ascii flag)
// and the flag may change between any two values; both sides of a record
// must agree on the mode of every value.
//
// Binary mode, little-endian on every host, no padding or framing:
//   bool                        one byte, 0 or 1 (any other byte is refused)
//   char, unsigned char         one byte
//   int, long                   four bytes, two's complement
//   unsigned int, unsigned long four bytes
//   unsigned long long          eight bytes
//   float, double               IEEE 754 binary32 / binary64, every bit kept
//   char const *                a four-byte length, then that many bytes
// A long or unsigned long (eight bytes on this platform) that does not fit
// its four-byte field throws instead of being cut.
//
// Text mode: values are tokens and the writer adds no separators between
// them; records write their own (" ", "\n") as the readers expect them.
// A reader skips the delimiter characters before a token (default: space,
// tab, CR, LF; see set_delimitor) and stops at the first delimiter after it,
// leaving that delimiter unread.
//   bool                        "1" or "0"
//   int, long, unsigned ...     decimal, a '-' for negatives, no '+'; long
//                               and unsigned long keep the four-byte range
//   unsigned char               decimal 0 to 255
//   float, double               the shortest form that reads back bit for
//                               bit ("0.1", "1e+300", "-0", "inf", "nan");
//                               a NaN reads back as a NaN of the same sign
//                               (its payload is not carried); a decimal too
//                               large for the type, or non-zero but too
//                               small for it, is out of range
//   char                        the byte itself; the reader takes the next
//                               byte as it stands, delimiter or not, which
//                               is how records consume their separators
//   char const *                the characters as they stand (as textout)
//
// Errors: every failure sets the fail flag and throws kolt::IOException with
// a message naming the operation and the cause. A length or count read from
// a stream is checked against the bytes the stream can still supply before
// anything is allocated (bytes_left, ensure_available).
#pragma once

#include <cstdint>
#include <cstring>
#include <stdexcept>
#include <string>

#include <tessiv/scene/kstring.h>

namespace kolt {

// The one exception type of the streams; what() is the failure message.
class IOException : public std::runtime_error {
public:
    explicit IOException(std::string const &message) : std::runtime_error(message) {}
};

// Polymorphic output stream: turns values into bytes in the stream's mode
// and hands them to write_buffer, the sink that each concrete stream
// supplies. It owns no storage of its own.
class CStreamO {
public:
    CStreamO() : CStreamO(false, false) {}
    // ascii selects text mode; the second argument is kept in the further
    // flag and has no effect in this library.
    CStreamO(bool ascii, bool further);
    // The first 32-bit field belongs to the object and is not copied.
    CStreamO(CStreamO const &other)
        : m_ascii(other.m_ascii), m_fail(other.m_fail), m_further(other.m_further)
    {
        std::memcpy(m_values, other.m_values, sizeof m_values);
    }
    CStreamO &operator=(CStreamO const &other)
    {
        m_ascii = other.m_ascii;
        m_fail = other.m_fail;
        m_further = other.m_further;
        std::memcpy(m_values, other.m_values, sizeof m_values);
        return *this;
    }
    // Not virtual: streams are never deleted through a base pointer.
    ~CStreamO();

    bool ascii() const { return m_ascii; }
    void set_ascii(bool ascii) { m_ascii = ascii; }

    // The virtual members below are declared in the order of their slots in
    // the table that hosts compiled against; add new ones only at the end.

    // Pushes buffered bytes to the sink's destination (no-op here).
    virtual void flush();
    virtual bool fail() const { return m_fail; }
    // Writes the characters as they stand, in either mode; null writes nothing.
    virtual void textout(char const *text);
    // Writes exactly the given bytes, in either mode, with no framing.
    virtual bool write(void const *data, unsigned int size);
    virtual CStreamO &operator<<(unsigned long long value);
    virtual CStreamO &operator<<(bool value);
    // Null writes as the empty string.
    virtual CStreamO &operator<<(char const *text);
    virtual CStreamO &operator<<(float value);
    virtual CStreamO &operator<<(double value);
    virtual CStreamO &operator<<(unsigned long value);
    virtual CStreamO &operator<<(unsigned int value);
    virtual CStreamO &operator<<(long value);
    virtual CStreamO &operator<<(int value);
    virtual CStreamO &operator<<(char value);
    virtual CStreamO &operator<<(unsigned char value);
    // The sink: takes the bytes or throws; false means it refused them.
    virtual bool write_buffer(unsigned char const *data, unsigned int size) = 0;
    [[noreturn]] virtual void throw_exception(char const *message)
    {
        m_fail = true;
        throw IOException(message);
    }

protected:
    // The fields keep the layout the host's headers describe; the first and
    // the five values carry no meaning here and stay zero.
    std::uint32_t m_first = 0;
    bool m_ascii;
    bool m_fail = false;
    bool m_further;
    std::uint32_t m_values[5] = {};
};

// Polymorphic input stream: reads values in the stream's mode from a source
// that each concrete stream supplies (read_source), through a 4096-byte read
// buffer that this class owns.
class CStreamI {
public:
    // Returned by source_size_left when the source cannot tell (a pipe).
    static constexpr std::uint64_t kUnknownSize = UINT64_MAX;

    CStreamI() : CStreamI(false) {}
    explicit CStreamI(bool ascii);
    // A copy reads what the source would read next: the unread part of the
    // read buffer moves into the copy's own buffer.
    CStreamI(CStreamI const &other) { copy_input_state(other); }
    CStreamI &operator=(CStreamI const &other)
    {
        if (this != &other)
            copy_input_state(other);
        return *this;
    }
    ~CStreamI() = default;

    bool ascii() const { return m_ascii; }
    void set_ascii(bool ascii) { m_ascii = ascii; }

    // Longer sets are cut to their first 511 characters; null clears the set.
    void set_delimitor(char const *delimitors)
    {
        std::size_t n = 0;
        if (delimitors != nullptr)
            while (n < sizeof m_delimitor - 1 && delimitors[n] != '\0')
                ++n;
        if (n > 0)
            std::memcpy(m_delimitor, delimitors, n);
        m_delimitor[n] = '\0';
    }
    char const *get_delimitor() const { return m_delimitor; }

    // The virtual members below are declared in the order of their slots in
    // the table that hosts compiled against; add new ones only at the end.

    // True only when the read buffer is drained and the source is exhausted.
    virtual bool eof() const { return is_rbuffer_empty() && m_eof; }
    virtual bool fail() const { return m_fail; }
    // Skips delimiters and reads the next token in either mode, storing at
    // most size - 1 characters and a NUL; the rest of a longer token is
    // consumed and dropped. Returns true when the whole token fitted.
    // Throws at the end of the data when no token is left.
    virtual bool get_token(char *token, unsigned int size);
    // Fills exactly size bytes in either mode or throws; returns size.
    virtual int read(void *data, unsigned int size);
    virtual CStreamI &operator>>(bool &value);
    virtual CStreamI &operator>>(float &value);
    virtual CStreamI &operator>>(double &value);
    virtual CStreamI &operator>>(unsigned long &value);
    virtual CStreamI &operator>>(unsigned int &value);
    virtual CStreamI &operator>>(long &value);
    virtual CStreamI &operator>>(int &value);
    virtual CStreamI &operator>>(char &value);
    virtual CStreamI &operator>>(unsigned char &value);

protected:
    // The source: copies up to size bytes into buffer and returns how many;
    // fewer than size only when the source is exhausted. Throws on errors.
    virtual unsigned int read_source(void *buffer, unsigned int size) = 0;

public:
    virtual bool is_rbuffer_empty() const { return m_rptr == m_rend; }
    [[noreturn]] virtual void throw_exception(char const *message)
    {
        m_fail = true;
        throw IOException(message);
    }
    virtual void set_eof(bool eof) { m_eof = eof; }
    // Clears the flags and drops whatever the read buffer still held.
    virtual void initialize()
    {
        m_fail = false;
        m_eof = false;
        m_rbuffer[0] = '\0';
        m_rptr = m_rend = m_rbuffer;
    }
    // Bytes the source can still supply beyond the read buffer, or
    // kUnknownSize. Added after the host's slots.
    virtual std::uint64_t source_size_left() const { return kUnknownSize; }

    // The eight-byte counterpart of operator<<(unsigned long long).
    CStreamI &operator>>(unsigned long long &value);
    // Bytes still readable: the read buffer plus the source, or kUnknownSize.
    std::uint64_t bytes_left() const;
    // Throws (naming operation) unless count elements of element_size bytes
    // can still be read; a source of unknown size passes. Record readers
    // call it before they allocate for a count they have read.
    void ensure_available(std::uint64_t count, std::uint64_t element_size, char const *operation);
    // Reads exactly size bytes into a string; never allocates more than the
    // data that is really there plus a constant, whatever size says.
    std::string read_counted(std::uint64_t size, char const *operation);

protected:
    void copy_input_state(CStreamI const &other)
    {
        m_eof = other.m_eof;
        m_fail = other.m_fail;
        m_ascii = other.m_ascii;
        std::memcpy(m_delimitor, other.m_delimitor, sizeof m_delimitor);
        copy_read_ahead(other);
    }
    // Replaces the read buffer's contents with the other's unread bytes.
    void copy_read_ahead(CStreamI const &other)
    {
        std::size_t unread = static_cast<std::size_t>(other.m_rend - other.m_rptr);
        if (unread > 0)
            std::memcpy(m_rbuffer, other.m_rptr, unread);
        m_rptr = m_rbuffer;
        m_rend = m_rbuffer + unread;
    }

    bool m_eof = false;
    bool m_fail = false;
    bool m_ascii = false;
    char m_delimitor[512] = " \t\r\n";
    char m_rbuffer[4096] = {};
    char *m_rptr = m_rbuffer;
    char *m_rend = m_rbuffer;

private:
    // Refills the drained read buffer; returns the bytes now buffered.
    unsigned int refill();
    // Copies up to size bytes, from the read buffer first; returns how many
    // (fewer only at the end of the data).
    unsigned int read_some(void *data, unsigned int size);
    // As read_some, but throws (naming operation) unless all size bytes came.
    void read_slow(void *data, unsigned int size, char const *operation);
    // Reads the next token into text (at most capacity - 1 characters and
    // a NUL); returns its full length. Throws at the end of the data.
    std::size_t next_token(char *text, std::size_t capacity, char const *operation);
    template <class T>
    void read_binary(T &value, char const *operation);
    template <class T>
    void read_integer_text(T &value, long long low, unsigned long long high, char const *operation);
    // Text: decimal within [low, high]; binary: the wire type W.
    template <class W, class T>
    void read_integer(T &value, long long low, unsigned long long high, char const *operation);
    template <class T>
    void read_float_text(T &value, char const *operation);
};

// Both streams at once (input first); the file and memory streams build on
// it. A failure through either side sets both fail flags.
class CStreamIO : public CStreamI, public CStreamO {
public:
    CStreamIO() : CStreamI(false), CStreamO(false, true) {}
    CStreamIO(bool ascii, bool further) : CStreamI(ascii), CStreamO(ascii, further) {}

    void set_ascii(bool ascii)
    {
        CStreamI::set_ascii(ascii);
        CStreamO::set_ascii(ascii);
    }

    // Both flags must be set: they are only ever set together here.
    bool fail() const override { return CStreamI::fail() && CStreamO::fail(); }
    [[noreturn]] void throw_exception(char const *message) override
    {
        CStreamI::m_fail = true;
        CStreamO::m_fail = true;
        throw IOException(message);
    }
    void initialize() override
    {
        CStreamI::initialize();
        CStreamO::m_fail = false;
    }
};

// The string extraction of the name and texture records. Text mode: one
// token, cut to 1023 characters. Binary mode: an unsigned long length, then
// that many bytes; the string ends at the first NUL among them.
inline CStreamI &operator>>(CStreamI &stream, String &string)
{
    if (stream.ascii()) {
        char token[1024];
        stream.get_token(token, sizeof token);
        string = token;
        return stream;
    }
    unsigned long length = 0;
    stream >> length;
    std::string bytes = stream.read_counted(length, "reading string");
    string = bytes.c_str();
    return stream;
}

}  // namespace kolt
