// Trace logging of the utility library: CLog and the process-wide logging
// object cLog that the rendering and view classes write their checkpoints
// to. Every line is kept in a bounded in-memory record that tests and tools
// read, and is also appended to a file when TESSIV_LOG names one.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdio>
#include <deque>
#include <mutex>
#include <string>
#include <vector>

// A trace sink: keeps the most recent lines (level, title, text, time) up to
// its capacity, counts what it had to drop, and owns the file it mirrors
// lines to. Safe to call from any thread.
class CLog {
public:
    struct Entry {
        int level = 0;
        std::string title;
        std::string text;
        std::chrono::system_clock::time_point time;
    };

    static constexpr std::size_t kDefaultCapacity = 4096;

    explicit CLog(std::size_t capacity = kDefaultCapacity);
    ~CLog();
    CLog(CLog const &) = delete;
    CLog &operator=(CLog const &) = delete;

    // Records one line; null title or text count as empty.
    void PutLog(int level, char const *title, char const *text);

    std::vector<Entry> Entries() const;
    std::size_t Count() const;
    // Lines evicted since the last Clear because the record was full.
    std::size_t Dropped() const;
    void Clear();
    std::size_t Capacity() const;
    // A capacity of 0 keeps nothing in memory (the file still receives lines).
    void SetCapacity(std::size_t capacity);

    // Appends every later line to path; null or empty closes the file.
    // Returns false when the file cannot be opened.
    bool SetFile(char const *path);

private:
    void trim();

    mutable std::mutex mutex_;
    std::deque<Entry> entries_;
    std::size_t capacity_;
    std::size_t dropped_ = 0;
    std::FILE *file_ = nullptr;
};

// The logging object of the module. Also receives the platform layer's
// display diagnostics (the EGL errors) as level-1 lines.
extern CLog cLog;
