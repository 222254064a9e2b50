// kolt::CStreamMem: the byte array behind a memory stream.
#include <tessiv/scene/stream_mem.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <new>
#include <string>

#include "stream_wire.h"

namespace kolt {

CStreamMem::CStreamMem(unsigned int initial_size)
{
    m_data.reserve(initial_size);
}

void CStreamMem::clear()
{
    m_data.clear();
    m_position = 0;
    m_rptr = m_rend = m_rbuffer;
    m_eof = false;
}

void CStreamMem::set_data(void const *bytes, unsigned int size)
{
    auto const *first = static_cast<unsigned char const *>(bytes);
    unsigned char const *block = m_data.begin();
    bool const own_bytes = block != nullptr && first >= block && first < block + m_data.capacity();
    if (size > 0 && !own_bytes) {
        // The block is reused when it is large enough: no new storage to fault in.
        m_data.resetsize();
        m_data.resize(size);
        std::memcpy(m_data.begin(), first, size);
        rewind();
        return;
    }
    // Copied aside first: the bytes are this stream's own data.
    cvector<unsigned char> copy;
    copy.resize(size);
    if (size > 0)
        std::memcpy(copy.begin(), bytes, size);
    clear();
    m_data = copy;
}

void CStreamMem::rewind()
{
    m_position = 0;
    m_rptr = m_rend = m_rbuffer;
    m_eof = false;
}

bool CStreamMem::write_buffer(unsigned char const *data, unsigned int size)
{
    unsigned int old_size = m_data.size();
    if (size > m_data.capacity() - old_size) {
        std::uint64_t needed = std::uint64_t{old_size} + size;
        if (needed > UINT32_MAX)
            wire::Fail(*this, "writing to memory stream",
                       std::to_string(size) + " more bytes exceed the 4 GiB a memory stream holds");
        // Doubling keeps appends of small values at amortised constant cost.
        std::uint64_t grown = std::max<std::uint64_t>(needed, std::uint64_t{2} * m_data.capacity());
        try {
            m_data.reserve(static_cast<unsigned int>(std::min<std::uint64_t>(grown, UINT32_MAX)));
        } catch (std::bad_alloc const &) {
            wire::Fail(*this, "writing to memory stream",
                       "no memory to grow past " + std::to_string(old_size) + " bytes");
        }
    }
    m_data.resize(old_size + size);
    wire::CopyBytes(m_data.begin() + old_size, data, size);
    return true;
}

unsigned int CStreamMem::read_source(void *buffer, unsigned int size)
{
    unsigned int take = std::min(size, m_data.size() - m_position);
    if (take > 0)
        std::memcpy(buffer, m_data.begin() + m_position, take);
    m_position += take;
    return take;
}

}  // namespace kolt
