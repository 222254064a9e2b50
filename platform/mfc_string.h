// CString: the framework's char string, as far as the system uses it: build,
// compare, concatenate, Format (printf rules) and GetLength. Backed by
// std::string; the character buffer is reachable as a C string at any time.
#pragma once

#include <cstdarg>
#include <cstdio>
#include <string>

class CString {
public:
    CString() = default;
    CString(char const *text) : text_(text ? text : "") {}
    CString(std::string text) : text_(std::move(text)) {}

    int GetLength() const { return static_cast<int>(text_.size()); }
    bool IsEmpty() const { return text_.empty(); }
    void Empty() { text_.clear(); }
    char GetAt(int i) const { return text_[static_cast<std::size_t>(i)]; }
    char const *GetString() const { return text_.c_str(); }
    operator char const *() const { return text_.c_str(); }
    std::string const &str() const { return text_; }

    CString &operator=(char const *text)
    {
        text_ = text ? text : "";
        return *this;
    }
    CString &operator+=(CString const &other)
    {
        text_ += other.text_;
        return *this;
    }
    CString &operator+=(char const *text)
    {
        text_ += text ? text : "";
        return *this;
    }
    CString &operator+=(char c)
    {
        text_ += c;
        return *this;
    }
    friend CString operator+(CString a, CString const &b) { return a += b; }
    friend CString operator+(CString a, char const *b) { return a += b; }
    friend CString operator+(char const *a, CString const &b) { return CString(a) += b; }

    friend bool operator==(CString const &a, CString const &b) { return a.text_ == b.text_; }
    friend bool operator==(CString const &a, char const *b) { return a.text_ == (b ? b : ""); }
    friend bool operator!=(CString const &a, CString const &b) { return !(a == b); }
    friend bool operator!=(CString const &a, char const *b) { return !(a == b); }
    friend bool operator<(CString const &a, CString const &b) { return a.text_ < b.text_; }
    int Compare(char const *other) const { return text_.compare(other ? other : ""); }

    // Replaces the contents with printf-formatted text.
    __attribute__((format(printf, 2, 3))) void Format(char const *format, ...)
    {
        va_list args;
        va_start(args, format);
        FormatV(format, args);
        va_end(args);
    }
    void FormatV(char const *format, va_list args)
    {
        va_list measure;
        va_copy(measure, args);
        int length = std::vsnprintf(nullptr, 0, format, measure);
        va_end(measure);
        if (length < 0) {
            text_.clear();
            return;
        }
        std::string result(static_cast<std::size_t>(length) + 1, '\0');
        std::vsnprintf(result.data(), result.size(), format, args);
        result.resize(static_cast<std::size_t>(length));
        text_ = std::move(result);
    }

private:
    std::string text_;
};
