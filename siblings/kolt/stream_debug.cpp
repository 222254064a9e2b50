// kolt::CStreamDebug: diagnostics go to standard error. They belong in the
// utility library's trace log once a stream can reach it from here.
#include <tessiv/scene/stream_debug.h>

#include <cstdio>

namespace kolt {

void CStreamDebug::flush()
{
    std::fflush(stderr);
}

bool CStreamDebug::write_buffer(unsigned char const *data, unsigned int size)
{
    return size == 0 || std::fwrite(data, 1, size, stderr) == size;
}

}  // namespace kolt
