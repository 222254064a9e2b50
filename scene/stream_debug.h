// kolt::CStreamDebug: a text output stream for diagnostics. Its sink,
// write_buffer, lives in libkolt.so and writes to the trace log (cLog).
#pragma once

#include <tessiv/scene/stream.h>

namespace kolt {

// Writes everything as text to the trace log of the utility library, one
// trace line (level 1, title "CStreamDebug") per line of text; a line still
// open goes out at flush() or when the stream ends. Owns nothing.
class CStreamDebug : public CStreamO {
public:
    CStreamDebug() : CStreamO(false, false) { set_ascii(true); }
    CStreamDebug(CStreamDebug const &other) : CStreamO(other) {}
    ~CStreamDebug();

    void flush() override;
    bool write_buffer(unsigned char const *data, unsigned int size) override;
};

}  // namespace kolt
