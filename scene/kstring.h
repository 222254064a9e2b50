// kolt::String: the character string of the base class library, as the
// records use it (names of nodes and textures). The members other than at()
// live in libkolt.so.
#pragma once

namespace kolt {

// A NUL-terminated char string that owns its buffer. The buffer pointer is
// the first member, and at() reaches into it without a bounds check; a
// default string holds an allocated empty buffer, so at(0) is its NUL.
class String {
public:
    String();
    explicit String(char const *text);
    String(String const &other);
    ~String();

    // A null pointer assigns the empty string.
    String &operator=(char const *text);
    String &operator=(String const &other);

    // Length in characters, without the terminator.
    int len() const;
    char *getbuf();
    char const *getbuf() const;

    char &at(int i) { return m_buffer[i]; }
    char const &at(int i) const { return m_buffer[i]; }

private:
    char *m_buffer;
    int m_length;
};

}  // namespace kolt
