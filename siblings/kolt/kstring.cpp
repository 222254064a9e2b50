// kolt::String: an owned NUL-terminated buffer and its length.
#include <tessiv/scene/kstring.h>

#include <climits>
#include <cstring>
#include <new>

namespace kolt {

namespace {

// A new buffer holding length characters of text and a NUL.
char *CopyOf(char const *text, std::size_t length)
{
    if (length > INT_MAX)
        throw std::bad_alloc();
    char *buffer = new char[length + 1];
    if (length > 0)
        std::memcpy(buffer, text, length);
    buffer[length] = '\0';
    return buffer;
}

}  // namespace

String::String() : m_buffer(CopyOf("", 0)), m_length(0) {}

String::String(char const *text) : String()
{
    *this = text;
}

String::String(String const &other)
    : m_buffer(CopyOf(other.m_buffer, static_cast<std::size_t>(other.m_length))),
      m_length(other.m_length)
{
}

String::~String()
{
    delete[] m_buffer;
}

String &String::operator=(char const *text)
{
    std::size_t length = text == nullptr ? 0 : std::strlen(text);
    char *buffer = CopyOf(text, length);
    delete[] m_buffer;
    m_buffer = buffer;
    m_length = static_cast<int>(length);
    return *this;
}

String &String::operator=(String const &other)
{
    if (this != &other) {
        char *buffer = CopyOf(other.m_buffer, static_cast<std::size_t>(other.m_length));
        delete[] m_buffer;
        m_buffer = buffer;
        m_length = other.m_length;
    }
    return *this;
}

int String::len() const
{
    return m_length;
}

char *String::getbuf()
{
    return m_buffer;
}

char const *String::getbuf() const
{
    return m_buffer;
}

}  // namespace kolt
