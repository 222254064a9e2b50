// kolt::CStreamDebug: a text output stream for diagnostics. Its sink,
// write_buffer, lives in libkolt.so.
#pragma once

#include <tessiv/scene/stream.h>

namespace kolt {

// Writes everything as text to the diagnostic output (standard error);
// owns nothing.
class CStreamDebug : public CStreamO {
public:
    CStreamDebug() : CStreamO(false, false) { set_ascii(true); }
    CStreamDebug(CStreamDebug const &other) : CStreamO(other) {}

    void flush() override;
    bool write_buffer(unsigned char const *data, unsigned int size) override;
};

}  // namespace kolt
