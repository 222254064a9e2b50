// Test helper: while it lives, files the process writes cannot grow past a
// few kilobytes, so a large write fails part of the way through (as on a
// full disk, and unlike a read-only folder, also when the tests run as root).
#pragma once

#include <csignal>
#include <sys/resource.h>

class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes = 4096)
    {
        getrlimit(RLIMIT_FSIZE, &old_limit_);
        old_handler_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit small = old_limit_;
        small.rlim_cur = bytes;
        active_ = setrlimit(RLIMIT_FSIZE, &small) == 0;
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &old_limit_);
        std::signal(SIGXFSZ, old_handler_);
    }
    FileSizeLimit(FileSizeLimit const &) = delete;
    FileSizeLimit &operator=(FileSizeLimit const &) = delete;

    bool Active() const { return active_; }

private:
    rlimit old_limit_{};
    void (*old_handler_)(int) = nullptr;
    bool active_ = false;
};
