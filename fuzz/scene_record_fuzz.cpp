// Loads arbitrary bytes as each scene record: the name and texture records
// and the three controllers' binary and text records (text with and without
// separators), from a memory stream and from a stream that cannot tell its
// size. The first byte chooses the record, the mode and the stream. After
// any outcome the object must still save, and a successful binary load
// must save back to a record that loads to the same keys.
#include <tessiv/scene/controller.h>
#include <tessiv/scene/named.h>
#include <tessiv/scene/stream_mem.h>
#include <tessiv/scene/texture.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

class PipeStream : public kolt::CStreamI {
public:
    PipeStream(std::uint8_t const *data, std::size_t size) : data_(data), size_(size) {}

protected:
    unsigned int read_source(void *buffer, unsigned int size) override
    {
        unsigned int const n = static_cast<unsigned int>(std::min<std::size_t>(size, size_ - position_));
        if (n > 0)
            std::memcpy(buffer, data_ + position_, n);
        position_ += n;
        return n;
    }

private:
    std::uint8_t const *data_;
    std::size_t size_;
    std::size_t position_ = 0;
};

template <class Controller>
void LoadController(kolt::CStreamI &stream, int mode)
{
    Controller controller;
    controller.GetKeys().resize(3);
    bool loaded = false;
    try {
        if (mode == 0) {
            controller.Load(stream);
        } else {
            stream.set_ascii(true);
            controller.LoadMuv(stream, mode == 1);
        }
        loaded = true;
    } catch (kolt::IOException const &) {
    }
    kolt::CStreamMem out;
    controller.Save(out);
    if (!loaded)
        return;
    Controller again;
    out.rewind();
    again.Load(out);
    if (again.GetKeyCount() != controller.GetKeyCount())
        std::abort();
    for (int i = 0; i < again.GetKeyCount(); ++i) {
        if (again.GetKey(i).frame != controller.GetKey(i).frame || again.GetKey(i).flag != controller.GetKey(i).flag)
            std::abort();
    }
}

void LoadRecord(kolt::CStreamI &stream, int record, int mode)
{
    switch (record) {
    case 0: {
        kolt::Named named("before");
        try {
            named.Load(stream);
        } catch (kolt::IOException const &) {
        }
        kolt::CStreamMem out;
        named.Save(out);
        break;
    }
    case 1: {
        kolt::Texture texture("before", kolt::Texture::TEXTURE_DIFFUSE);
        try {
            texture.Load(stream);
        } catch (kolt::IOException const &) {
        }
        kolt::CStreamMem out;
        texture.Save(out);
        break;
    }
    case 2: LoadController<kolt::PosController>(stream, mode); break;
    case 3: LoadController<kolt::SclController>(stream, mode); break;
    default: LoadController<kolt::RotController>(stream, mode); break;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(std::uint8_t const *data, std::size_t size)
{
    if (size < 1 || size > 1u << 20)
        return 0;
    std::uint8_t const selector = data[0];
    int const record = selector % 5;
    int const mode = (selector / 5) % 3;  // binary, text with separators, text without
    bool const pipe = (selector / 15) % 2 != 0;
    ++data;
    --size;
    if (pipe) {
        PipeStream stream(data, size);
        LoadRecord(stream, record, mode);
    } else {
        kolt::CStreamMem stream;
        stream.set_data(data, static_cast<unsigned int>(size));
        LoadRecord(stream, record, mode);
    }
    return 0;
}
