// kolt::CStreamFile: a stream over a file. Its members other than get_file()
// live in libkolt.so.
#pragma once

#include <cstdint>

#include <tessiv/scene/stream.h>

namespace kolt {

// Reads and writes one file through the 4096-byte read buffer and a 64 KiB
// write buffer; owns the open file, which close() and the destructor flush
// and release. Not copyable. The 32-bit value is the mode of open (0 when
// closed); the handle is an opaque object of this library, null when closed.
//
// Mode bits of open():
//   modeWrite  (1)  write; creates the file or truncates it
//   modeAppend (2)  write at the end; creates the file, keeps its contents
//   modeRead   (4)  read from the start; the file must exist
// Read combined with write or append reads from the start and sees what is
// written (a write-and-read-back scratch file); write with append appends.
class CStreamFile : public CStreamIO {
public:
    enum : unsigned int { modeWrite = 1, modeAppend = 2, modeRead = 4 };

    CStreamFile();
    CStreamFile(CStreamFile const &) = delete;
    CStreamFile &operator=(CStreamFile const &) = delete;
    // Closes the file; a failure here is reported on standard error, as a
    // destructor cannot throw (call close() to see it).
    ~CStreamFile();

    // Closes any open file first (a failure there throws, as close does).
    // Returns false, with the fail flags set, when the file cannot be
    // opened; open_checked says why.
    bool open(char const *path, unsigned int mode);
    // As open, but throws IOException naming the path and the system's
    // reason instead of returning false.
    void open_checked(char const *path, unsigned int mode);
    // Writes out the buffered bytes and, for a written regular file, waits
    // until they are on disk; throws if any of that fails. The file is
    // released either way. Does nothing when no file is open.
    void close();
    bool is_open() const { return m_file != nullptr; }

    void *get_file() { return m_file; }

    void flush() override;
    bool write_buffer(unsigned char const *data, unsigned int size) override;
    std::uint64_t source_size_left() const override;

protected:
    unsigned int read_source(void *buffer, unsigned int size) override;

private:
    std::uint32_t m_mode = 0;
    void *m_file = nullptr;
};

}  // namespace kolt
