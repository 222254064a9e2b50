// kolt::CStreamFile: a file behind the stream, through POSIX calls. Reads go
// through the read buffer of CStreamI, writes through a 64 KiB buffer here.
#include <tessiv/scene/stream_file.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "stream_wire.h"

namespace kolt {

namespace {

constexpr unsigned int kWriteBufferSize = 64 * 1024;
constexpr unsigned int kAllModes = CStreamFile::modeWrite | CStreamFile::modeAppend |
                                   CStreamFile::modeRead;

// What the opaque handle points to.
struct FileHandle {
    int descriptor = -1;
    std::string path;
    bool readable = false;
    bool writable = false;
    // Regular files are read at an offset of their own (pread), so reading
    // back what this stream wrote does not move the write position.
    bool regular = false;
    bool wrote = false;
    std::uint64_t read_offset = 0;
    // The file's size as this stream knows it: at open, plus what it wrote.
    // Growth by other writers is seen by reading, not here.
    std::uint64_t file_size = 0;
    std::unique_ptr<unsigned char[]> write_buffer;
    unsigned int buffered = 0;
};

FileHandle *Handle(void *file)
{
    return static_cast<FileHandle *>(file);
}

std::string SystemReason(int error)
{
    return std::strerror(error);
}

// Writes all bytes to the file or returns the errno of the failure.
int WriteAll(FileHandle &handle, unsigned char const *data, std::size_t size)
{
    while (size > 0) {
        ssize_t written = ::write(handle.descriptor, data, size);
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        data += written;
        size -= static_cast<std::size_t>(written);
        handle.file_size += static_cast<std::uint64_t>(written);
    }
    return 0;
}

}  // namespace

CStreamFile::CStreamFile() = default;

CStreamFile::~CStreamFile()
{
    try {
        close();
    } catch (IOException const &error) {
        std::fprintf(stderr, "kolt::CStreamFile: %s\n", error.what());
    }
}

bool CStreamFile::open(char const *path, unsigned int mode)
{
    // A failure to close the previous file is a write error: it propagates.
    close();
    try {
        open_checked(path, mode);
        return true;
    } catch (IOException const &) {
        return false;
    }
}

void CStreamFile::open_checked(char const *path, unsigned int mode)
{
    close();
    std::string shown = path == nullptr ? "(null)" : path;
    if (path == nullptr)
        wire::Fail(*this, "opening file", "no path given");
    if (mode == 0 || (mode & ~kAllModes) != 0)
        wire::Fail(*this, "opening '" + shown + "'",
                   "mode " + std::to_string(mode) +
                       " is not a combination of 1 (write), 2 (append) and 4 (read)");

    bool readable = (mode & modeRead) != 0;
    bool writable = (mode & (modeWrite | modeAppend)) != 0;
    int flags = O_CLOEXEC;
    flags |= readable && writable ? O_RDWR : writable ? O_WRONLY : O_RDONLY;
    if (writable)
        flags |= O_CREAT;
    if (mode & modeAppend)
        flags |= O_APPEND;
    else if (mode & modeWrite)
        flags |= O_TRUNC;

    auto handle = std::make_unique<FileHandle>();
    int descriptor;
    do {
        descriptor = ::open(path, flags, 0666);
    } while (descriptor < 0 && errno == EINTR);
    std::string operation = "opening '" + shown + "' " +
        (writable ? (readable ? "for reading and writing" : "for writing") : "for reading");
    if (descriptor < 0)
        wire::Fail(*this, operation, SystemReason(errno));
    struct stat status {};
    if (::fstat(descriptor, &status) != 0 || S_ISDIR(status.st_mode)) {
        int error = S_ISDIR(status.st_mode) ? EISDIR : errno;
        ::close(descriptor);
        wire::Fail(*this, operation, SystemReason(error));
    }

    handle->descriptor = descriptor;
    handle->path = shown;
    handle->readable = readable;
    handle->writable = writable;
    handle->regular = S_ISREG(status.st_mode);
    handle->file_size = handle->regular ? static_cast<std::uint64_t>(status.st_size) : 0;
    if (writable)
        handle->write_buffer = std::make_unique<unsigned char[]>(kWriteBufferSize);
    initialize();
    m_file = handle.release();
    m_mode = mode;
}

void CStreamFile::close()
{
    FileHandle *handle = Handle(m_file);
    if (handle == nullptr)
        return;
    // Release the file whatever happens, then report the first failure.
    std::string failure;
    if (handle->buffered > 0) {
        if (int error = WriteAll(*handle, handle->write_buffer.get(), handle->buffered))
            failure = "writing " + std::to_string(handle->buffered) + " bytes: " + SystemReason(error);
        handle->buffered = 0;
    }
    if (failure.empty() && handle->wrote && handle->regular && ::fsync(handle->descriptor) != 0)
        failure = "syncing to disk: " + SystemReason(errno);
    if (::close(handle->descriptor) != 0 && failure.empty() && errno != EINTR)
        failure = SystemReason(errno);
    std::string path = handle->path;
    delete handle;
    m_file = nullptr;
    m_mode = 0;
    if (!failure.empty())
        wire::Fail(*this, "closing '" + path + "'", failure);
}

void CStreamFile::flush()
{
    FileHandle *handle = Handle(m_file);
    if (handle == nullptr || handle->buffered == 0)
        return;
    unsigned int pending = handle->buffered;
    handle->buffered = 0;
    if (int error = WriteAll(*handle, handle->write_buffer.get(), pending))
        wire::Fail(*this, "writing " + std::to_string(pending) + " bytes to '" + handle->path + "'",
                   SystemReason(error));
}

bool CStreamFile::write_buffer(unsigned char const *data, unsigned int size)
{
    FileHandle *handle = Handle(m_file);
    if (handle == nullptr)
        wire::Fail(*this, "writing to file stream", "no file is open");
    if (!handle->writable)
        wire::Fail(*this, "writing to '" + handle->path + "'", "the file is open for reading only");
    handle->wrote = true;
    if (size <= kWriteBufferSize - handle->buffered) {
        wire::CopyBytes(handle->write_buffer.get() + handle->buffered, data, size);
        handle->buffered += size;
        return true;
    }
    flush();
    if (size < kWriteBufferSize) {
        std::memcpy(handle->write_buffer.get(), data, size);
        handle->buffered = size;
        return true;
    }
    if (int error = WriteAll(*handle, data, size))
        wire::Fail(*this, "writing " + std::to_string(size) + " bytes to '" + handle->path + "'",
                   SystemReason(error));
    return true;
}

unsigned int CStreamFile::read_source(void *buffer, unsigned int size)
{
    FileHandle *handle = Handle(m_file);
    if (handle == nullptr)
        wire::Fail(*this, "reading from file stream", "no file is open");
    if (!handle->readable)
        wire::Fail(*this, "reading from '" + handle->path + "'", "the file is open for writing only");
    // What this stream wrote is readable once it is in the file.
    flush();
    auto *out = static_cast<unsigned char *>(buffer);
    unsigned int done = 0;
    while (done < size) {
        ssize_t got = handle->regular
            ? ::pread(handle->descriptor, out + done, size - done,
                      static_cast<off_t>(handle->read_offset))
            : ::read(handle->descriptor, out + done, size - done);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            wire::Fail(*this, "reading from '" + handle->path + "'", SystemReason(errno));
        }
        if (got == 0)
            break;
        done += static_cast<unsigned int>(got);
        handle->read_offset += static_cast<std::uint64_t>(got);
    }
    return done;
}

std::uint64_t CStreamFile::source_size_left() const
{
    FileHandle *handle = Handle(m_file);
    if (handle == nullptr)
        return 0;
    if (!handle->regular || !handle->readable)
        return kUnknownSize;
    std::uint64_t size = handle->file_size + handle->buffered;
    return size > handle->read_offset ? size - handle->read_offset : 0;
}

}  // namespace kolt
