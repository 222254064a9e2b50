// kolt::Named: a name that scene records save, and the name record itself:
// the length as unsigned long, then that many bytes, no terminator, always
// in binary mode.
#pragma once

#include <string>

#include <tessiv/scene/kstring.h>
#include <tessiv/scene/stream.h>

namespace kolt {

// Holds one kolt::String and reads and writes it as a name record. Not
// polymorphic; copies copy the string.
class Named {
public:
    Named() = default;
    Named(char const *name) : name_(name) {}

    void SetName(char const *name) { name_ = name; }
    String GetName() const { return name_; }

    // Switches the stream to binary mode (it stays so) and writes the record.
    bool Save(CStreamO &stream) const
    {
        stream.set_ascii(false);
        stream << static_cast<unsigned long>(name_.len());
        stream.write(name_.getbuf(), static_cast<unsigned int>(name_.len()));
        return true;
    }

    // Switches the stream to binary mode (it stays so) and reads the record.
    // A length the stream cannot supply throws before anything is allocated
    // and leaves the name as it was; the name ends at its first NUL byte.
    bool Load(CStreamI &stream)
    {
        stream.set_ascii(false);
        unsigned long length = 0;
        stream >> length;
        stream.ensure_available(length, 1, "reading name record");
        std::string const bytes = stream.read_counted(length, "reading name record");
        name_ = bytes.c_str();
        return true;
    }

protected:
    String name_;
};

}  // namespace kolt
