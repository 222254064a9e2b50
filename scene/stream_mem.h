// kolt::CStreamMem: a stream over a byte array in memory, for records kept
// in memory and for tests. The members that are not defined here live in
// libkolt.so.
#pragma once

#include <cstdint>

#include <tessiv/core/cvector.h>
#include <tessiv/scene/stream.h>

namespace kolt {

// Reads back what was written to it, in order: writes append to the byte
// array it owns, reads take bytes from the front. The 32-bit value after the
// array is the offset of the next byte the read buffer will take.
class CStreamMem : public CStreamIO {
public:
    CStreamMem() : CStreamMem(4096) {}
    // Reserves initial_size bytes; the stream starts empty.
    explicit CStreamMem(unsigned int initial_size);
    CStreamMem(CStreamMem const &other) = default;
    // The unread read-ahead moves with the data, so the copy reads what the
    // source would read next.
    CStreamMem &operator=(CStreamMem const &other)
    {
        if (this == &other)
            return *this;
        clear();
        m_data = other.m_data;
        m_position = other.m_position;
        copy_read_ahead(other);
        return *this;
    }

    // Frees the data and drops the read-ahead; the flags stay as they are.
    void clear();
    // Everything written so far, read or not.
    cvector<unsigned char> const &get_data() const { return m_data; }
    // Replaces the data with a copy of the given bytes, to be read from
    // the start.
    void set_data(void const *bytes, unsigned int size);
    // Reads again from the first byte.
    void rewind();

    bool write_buffer(unsigned char const *data, unsigned int size) override;
    std::uint64_t source_size_left() const override { return m_data.size() - m_position; }

protected:
    unsigned int read_source(void *buffer, unsigned int size) override;

private:
    cvector<unsigned char> m_data;
    std::uint32_t m_position = 0;
};

}  // namespace kolt
