// Arbitrary bytes into every reader of the input streams: each operator>>,
// read, get_token and the string extraction, in binary and in text mode,
// from a source of known size (the memory stream) and from one that cannot
// tell its size (as a pipe). A value that reads successfully must also
// write and read back unchanged.
//
// Input: byte 0 holds options (bit 0: source of unknown size, bit 1: start
// in text mode), byte 1 the length of the operation script that follows;
// the remaining bytes are the stream's data.
#include <tessiv/scene/stream.h>
#include <tessiv/scene/stream_mem.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <type_traits>

namespace {

// An input stream over the fuzz data that does not know its size, so the
// readers fall back to their chunked paths.
class UnsizedStream : public kolt::CStreamI {
public:
    UnsizedStream(std::uint8_t const *data, std::size_t size) : data_(data), size_(size) {}

protected:
    unsigned int read_source(void *buffer, unsigned int size) override
    {
        std::size_t take = std::min<std::size_t>(size, size_ - offset_);
        if (take > 0)
            std::memcpy(buffer, data_ + offset_, take);
        offset_ += take;
        return static_cast<unsigned int>(take);
    }

private:
    std::uint8_t const *data_;
    std::size_t size_;
    std::size_t offset_ = 0;
};

template <class T>
bool SameValue(T a, T b)
{
    if constexpr (std::is_floating_point_v<T>) {
        if (std::isnan(a) || std::isnan(b))
            return std::isnan(a) && std::isnan(b) && std::signbit(a) == std::signbit(b);
        return std::memcmp(&a, &b, sizeof a) == 0;
    } else {
        return a == b;
    }
}

// Writes value in the given mode and reads it back; any difference is a bug.
template <class T>
void CheckRoundTrip(T value, bool ascii)
{
    kolt::CStreamMem stream;
    stream.set_ascii(ascii);
    stream << value;
    T back{};
    stream >> back;
    if (!SameValue(value, back))
        std::abort();
}

template <class T>
void ReadValue(kolt::CStreamI &stream)
{
    T value{};
    stream >> value;
    CheckRoundTrip(value, stream.ascii());
}

void RunScript(kolt::CStreamI &stream, std::uint8_t const *script, std::size_t length)
{
    char token[64];
    unsigned char block[300];
    for (std::size_t i = 0; i < length; ++i) {
        std::uint8_t step = script[i];
        try {
            switch (step % 17) {
            case 0: stream.set_ascii(!stream.ascii()); break;
            case 1: ReadValue<bool>(stream); break;
            case 2: ReadValue<float>(stream); break;
            case 3: ReadValue<double>(stream); break;
            case 4: ReadValue<unsigned long>(stream); break;
            case 5: ReadValue<unsigned int>(stream); break;
            case 6: ReadValue<long>(stream); break;
            case 7: ReadValue<int>(stream); break;
            case 8: ReadValue<char>(stream); break;
            case 9: ReadValue<unsigned char>(stream); break;
            case 10: ReadValue<unsigned long long>(stream); break;
            case 11: stream.read(block, step % sizeof block); break;
            case 12: stream.get_token(token, step % sizeof token); break;
            case 13: {
                kolt::String string;
                stream >> string;
                if (static_cast<std::size_t>(string.len()) != std::strlen(string.getbuf()))
                    std::abort();
                break;
            }
            case 14: stream.set_delimitor(step & 1 ? ",;" : " \t\r\n"); break;
            case 15: stream.ensure_available(step, 40, "reading keys"); break;
            case 16: stream.initialize(); break;
            }
        } catch (kolt::IOException const &) {
            if (!stream.fail())
                std::abort();
            stream.initialize();
        }
        (void)stream.eof();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(std::uint8_t const *data, std::size_t size)
{
    if (size < 2)
        return 0;
    std::uint8_t options = data[0];
    std::size_t script_length = std::min<std::size_t>(data[1], size - 2);
    std::uint8_t const *script = data + 2;
    std::uint8_t const *payload = script + script_length;
    std::size_t payload_size = size - 2 - script_length;
    // Without a script, read strings until the data ends: the hostile-length path.
    static std::uint8_t const default_script[] = {13, 13, 13, 13};
    if (script_length == 0) {
        script = default_script;
        script_length = sizeof default_script;
    }

    if (options & 1) {
        UnsizedStream stream(payload, payload_size);
        stream.set_ascii((options & 2) != 0);
        RunScript(stream, script, script_length);
    } else {
        kolt::CStreamMem stream(0);
        stream.set_data(payload, static_cast<unsigned int>(payload_size));
        stream.set_ascii((options & 2) != 0);
        RunScript(stream, script, script_length);
    }
    return 0;
}
